#pragma once
#include "app/Notice.h"
#include "cards/CardArchive.h"
#include "cards/CardBinding.h"
#include "cards/CardSpec.h"

#include <QAbstractButton>
#include <QLatin1StringView>
#include <QStringList>
#include <QWidget>

#include <initializer_list>
#include <memory>
#include <utility>

class FieldEntry;
class QLabel;

// The base of the record cards (product, customer, supplier): one record of the card's
// archive at a time, held in the controls as a working copy. A card is its form plus its
// CardSpec: once the form is set up, setUpCard() binds the fields to the controls, gives the
// edit boxes their typing limits from the layout, builds the field entry (Enter ring,
// typing rules, the common hints and the card's own) and wires every common button it finds
// by objectName to its handler below; a common button the spec does not leave out and the
// form lacks is a problem reported at once (problems(), and a critical message in the log).
// The base owns the position protocol (lblPosizione: the 1-based position of the record
// shown, empty for a new card), the kind of message the card gives when its archive cannot
// be reached, the first show (a new card) and the record display that lists and searches
// use to reopen a record on the card named in the resident registry.
class CardScreen : public QWidget
{
    Q_OBJECT
public:
    CardScreen(const CardSpec &spec, QWidget *parent = nullptr);
    ~CardScreen() override;

    // The resident card registered under objectName, or nullptr.
    static CardScreen *resident(const QString &objectName);
    static CardScreen *resident(CardId card);

    // Every control from its field (trimmed, hidden labels included) and lblPosizione
    // from position (1-based), once the card may leave the record it shows.
    virtual void loadRecord(const Record &record, qint64 position);

    const CardSpec &spec() const { return m_spec; }
    CardId cardId() const { return m_spec.id; }
    const CardBinding &binding() const { return *m_binding; }
    const CardArchive &cardArchive() const { return m_archive; }
    Notice::Kind accessErrorKind() const { return m_spec.accessErrorKind; }
    // Every problem of the card's set-up (the binding's and the buttons'), one line each;
    // empty for a sound card.
    QStringList problems() const;
    QString positionText() const;
    // 0 empties the position (a new card).
    void setPosition(qint64 position);

    // The buttons every card may have, wired by objectName.
    static const QStringList &commonButtons();

public slots:
    void cmdPrimoClick() { navigate(CardNavigation::Move::First); }
    void cmdIndietroClick() { navigate(CardNavigation::Move::Previous); }
    void cmdAvantiClick() { navigate(CardNavigation::Move::Next); }
    void cmdUltimoClick() { navigate(CardNavigation::Move::Last); }
    // A new record, the position emptied, the focus on the first field.
    virtual void cmdNuovoClick();
    // The card becomes a new one with the same texts, less the fields the spec names.
    virtual void cmdDuplicaClick();
    // The save rule, then the write (append or rewrite).
    virtual void cmdSalvaClick();
    virtual void cmdTrovaClick();
    virtual void cmdFileClick();
    virtual void cmdStampaClick();
    virtual void cmdAnteprimaClick();
    virtual void cmdPDFClick();
    virtual void cmdEsportaClick();
    virtual void cmdGuidaClick();
    virtual void cmdEsciClick();

protected:
    // Called by the card once its form is set up.
    void setUpCard();
    // The card's own buttons, each wired by objectName to a handler of the card; a name
    // the form lacks is reported as a problem.
    template <typename Card>
    void wireButtons(std::initializer_list<std::pair<const char *, void (Card::*)()>> buttons)
    {
        for (const auto &[name, handler] : buttons) {
            if (QAbstractButton *b = button(QLatin1StringView(name)))
                connect(b, &QAbstractButton::clicked, static_cast<Card *>(this), handler);
        }
    }
    FieldEntry *fieldEntry() const { return m_fieldEntry; }

    // The first show of the card (not the restore of a minimised one): a new card.
    virtual void FormShow();
    // Asked before the card leaves the record it shows (Nuovo, a record loaded, closing);
    // false keeps the card as it is.
    virtual bool leaveCard() { return true; }

    // The record the controls hold.
    Record recordFromControls() const { return m_binding->record(); }
    // Runs the spec's save rule on the card: on a failure shows its notice, moves the
    // focus and answers false.
    bool passesSaveCheck();
    // The arrows: read and display a record, or say why not.
    void navigate(CardNavigation::Move move);
    // Writes the card as it stands (append or rewrite); true when written.
    bool saveCard();
    // Duplica: on success the fields listed are emptied, with the position; true then.
    bool duplicateCard(const QList<int> &emptiedFields);
    // Shows the outcome of an archive operation; false when it was an access error.
    bool apply(const CardOutcome &outcome);
    void showAccessError();
    void focusFirstField();

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QAbstractButton *button(QLatin1StringView name);
    void setTypingLimits();
    void setUpFieldEntry();

    const CardSpec &m_spec;
    CardArchive m_archive;
    std::unique_ptr<CardBinding> m_binding;
    QLabel *m_position = nullptr;
    FieldEntry *m_fieldEntry = nullptr;
    QStringList m_problems;
};
