#pragma once
#include "app/Notice.h"
#include "cards/CardArchive.h"
#include "cards/CardBinding.h"

#include <QWidget>

#include <memory>
#include <optional>

class QLabel;

// The base of the record cards (product, customer, supplier): one record of the card's
// archive at a time, held in the controls as a working copy. It owns the position protocol
// (lblPosizione: the 1-based position of the record shown, empty for a new card), the
// kind of message the card gives when its archive cannot be reached, the binding of the
// fields to the controls, and the record display that lists and searches use to reopen a
// record on the card named in the resident registry, without knowing the card's class.
class CardScreen : public QWidget
{
    Q_OBJECT
public:
    CardScreen(const Archive &archive, Notice::Kind accessErrorKind, QWidget *parent = nullptr);
    ~CardScreen() override;

    // The resident card registered under objectName, or nullptr.
    static CardScreen *resident(const QString &objectName);

    // Every control from its field (trimmed, hidden labels included) and lblPosizione
    // from position (1-based); nothing else changes. Cards with more to show override it.
    virtual void loadRecord(const Record &record, qint64 position);

    const CardBinding &binding() const { return *m_binding; }
    const CardArchive &cardArchive() const { return m_archive; }
    Notice::Kind accessErrorKind() const { return m_accessErrorKind; }
    QString positionText() const;
    // 0 empties the position (a new card).
    void setPosition(qint64 position);

public slots:
    // The four arrows of every card.
    void cmdPrimoClick() { navigate(CardNavigation::Move::First); }
    void cmdIndietroClick() { navigate(CardNavigation::Move::Previous); }
    void cmdAvantiClick() { navigate(CardNavigation::Move::Next); }
    void cmdUltimoClick() { navigate(CardNavigation::Move::Last); }

protected:
    // Called by the card once its form is set up: binds the fields and takes lblPosizione.
    void bindCard(QLabel *position, const CardBinding::Config &config = {});

    // The record the controls hold.
    Record recordFromControls() const { return m_binding->record(); }
    // The arrows: read and display a record, or say why not.
    void navigate(CardNavigation::Move move);
    // Writes the card as it stands (append or rewrite); true when written.
    bool saveCard();
    // Duplica: on success the fields listed are emptied, with the position; true then.
    bool duplicateCard(const QList<int> &emptiedFields);
    // Shows the outcome of an archive operation; false when it was an access error.
    bool apply(const CardOutcome &outcome);
    void showAccessError();

private:
    CardArchive m_archive;
    Notice::Kind m_accessErrorKind;
    std::unique_ptr<CardBinding> m_binding;
    QLabel *m_position = nullptr;
    // The record as the card read it from the archive (or last saved it), for Salva to tell
    // whether another copy of the program changed it since; unset on a new card.
    std::optional<Record> m_asRead;
};
