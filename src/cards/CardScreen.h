#pragma once
#include "app/Notice.h"
#include "cards/CardArchive.h"
#include "cards/CardBinding.h"
#include "cards/CardConfiguration.h"

#include <QAbstractButton>
#include <QLatin1StringView>
#include <QStringList>
#include <QWidget>

#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

class FieldEntry;
class QLabel;

// The base of the record cards (product, customer, supplier): one record of the card's
// archive at a time, held in the controls as a working copy. A card is its form plus its
// CardSpec: once the form is set up, setUpCard() binds the fields to the controls, gives the
// edit boxes their typing limits from the layout, builds the field entry (Enter ring,
// typing rules, the common hints and the card's own) and wires every common button it finds
// by objectName to its handler below; a common button the card's configuration does not leave out
// and the form lacks is a problem reported at once (problems(), and a critical message in the log).
// The base owns the position protocol (lblPosizione: the 1-based position of the record
// shown, empty for a new card), the kind of message the card gives when its archive cannot
// be reached, the first show (a new card) and the record display that lists and searches
// use to reopen a record on the card named in the resident registry. It also keeps the
// card's texts as they were last shown (loaded, new, saved): leaving a card whose texts
// differ from them asks whether to save first.
class CardScreen : public QWidget
{
    Q_OBJECT
public:
    CardScreen(const CardSpec &config, QWidget *parent = nullptr);
    ~CardScreen() override;

    // The resident card registered under objectName, or nullptr.
    static CardScreen *resident(const QString &objectName);
    static CardScreen *resident(CardId card);

    // Every control from its field (trimmed, hidden labels included) and lblPosizione
    // from position (1-based), once the card may leave the record it shows.
    virtual void loadRecord(const Record &record, qint64 position);

    // The question asked before a card with unsaved edits is left.
    static QString unsavedEditsText();
    // True when the texts of the card differ from those last shown (as they would be
    // stored: blanks at the ends and what a field cannot hold do not count).
    bool hasUnsavedEdits() const;

    const CardSpec &config() const { return m_config; }
    CardId cardId() const { return m_config.id; }
    const CardBinding &binding() const { return *m_binding; }
    const CardArchive &cardArchive() const { return m_archive; }
    Notice::Kind accessErrorKind() const { return m_config.accessErrorKind; }
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
    // The card becomes a new one with the same texts, less the fields the card's configuration
    // names.
    virtual void cmdDuplicaClick();
    // The save rule, then the write (append or rewrite).
    virtual void cmdSalvaClick();
    virtual void cmdTrovaClick();
    virtual void cmdFileClick();
    virtual void cmdStampaClick();
    virtual void cmdAnteprimaClick();
    virtual void cmdPDFClick();
    virtual void cmdEsportaClick();
    virtual void cmdImportaClick();
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
    // Asked before the card leaves the record it shows (an arrow, Nuovo, a record loaded,
    // closing); false keeps the card as it is. A shown card with unsaved edits asks
    // unsavedEditsText(): Sì runs Salva and leaves only when it saved, No leaves (the
    // edits are dropped), Annulla stays.
    virtual bool leaveCard();
    // The fields listed count as shown with the texts they have now (a change the card
    // already stored by other means, such as the stock a movement wrote).
    void takeAsShown(const QList<int> &fields);

    // The record the controls hold.
    Record recordFromControls() const { return m_binding->record(); }
    // The card's record was rewritten in the archive by this program (a movement changed its
    // stock): Salva compares the archive with this from now on.
    void storedMeanwhile(const Record &stored) { m_asRead = stored; }
    // Runs the configuration's save rule on the card: on a failure shows its notice, moves the
    // focus and answers false.
    bool passesSaveCheck();
    // The arrows: read and display a record, or say why not.
    void navigate(CardNavigation::Move move);
    // Writes the card as it stands (append or rewrite). When another copy of the program
    // changed the record since the card read it, asks first: No writes nothing and shows the
    // stored record. True when the card now matches the archive (written, or the stored
    // record shown).
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
    void setUpFocusKeys();
    // Shows the record at position (0: a new card) and takes its texts as shown.
    void display(const Record &record, qint64 position);
    void takeAllAsShown();

    const CardSpec &m_config;
    CardArchive m_archive;
    std::unique_ptr<CardBinding> m_binding;
    QLabel *m_position = nullptr;
    // The record as the card read it from the archive (or last saved it), for Salva to tell
    // whether another copy of the program changed it since; unset on a new card.
    std::optional<Record> m_asRead;
    FieldEntry *m_fieldEntry = nullptr;
    QStringList m_problems;
    // The card's record as it was last shown, encoded as it would be stored.
    QByteArray m_shown;
};
