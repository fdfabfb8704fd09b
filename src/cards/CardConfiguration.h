#pragma once
#include "app/Notice.h"
#include "cards/CardArchive.h"
#include "cards/CardBinding.h"
#include "cards/CardIds.h"
#include "report/CardContent.h"
#include "storage/ArchiveId.h"
#include "storage/Record.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class CardScreen;
class FieldEntry;
class QWidget;

// Everything in which the three record cards differ, apart from their form and their own
// buttons: one static table per card, handed to CardScreen. The base builds the card from
// it (binding, typing limits, field entry, hints) and runs the common buttons through it.
struct CardSpec
{
    // The card's row of the identity table: objectName, tags, archive and help page.
    CardId id = CardId::Product;
    const Archive &(*archive)() = nullptr;
    // The kind of message the card gives when its archive cannot be reached.
    Notice::Kind accessErrorKind = Notice::Kind::Error;
    // A record as Nuovo shows it.
    Record (*newRecord)() = nullptr;
    // The field that has the focus after Nuovo and Duplica (an objectName).
    QString firstField {};
    // The fields Duplica empties: what belongs to the record duplicated, not to the copy.
    QList<int> duplicaEmpties {};

    // Field entry: the Enter ring (the first field listed again at the end to wrap) and the
    // typing lists, each by objectName.
    QStringList enterRing {};
    QStringList amountFields {}; // digits and comma, formatted on leaving
    QStringList countFields {}; // digits, formatted on leaving
    QStringList digitFields {}; // digits, kept as typed
    QStringList upperCaseFields {};
    QStringList trimmedFields {};
    // Fields that take only what their keys let through: no paste, no drop.
    QStringList keysOnlyFields {};
    // Typing limits other than the capacity of the field (objectName, characters).
    QList<std::pair<QString, int>> typingLimits {};
    // The card's own hints; a hint given here for a common button replaces the common one.
    QList<std::pair<QString, QString>> hints {};
    // The background widgets whose mouse moves empty the info bar.
    QStringList background {};
    // Keys that put the focus in a control (objectName) from every control of the card,
    // before that control's own typing rules see them.
    QList<std::pair<Qt::Key, QString>> focusKeys {};

    CardBinding::Config binding {};

    // The common buttons this card does not have ("cmdDuplica", ...): any other common
    // button missing from the form is reported.
    QStringList withoutButtons {};

    // Salva's rule: the first failure, or nothing when the card may be written.
    std::optional<SaveFailure> (*saveCheck)(const Record &) = nullptr;
    // Stampa, Anteprima and PDF: the card as it prints, and the PDF's file name.
    CardContent (*printContent)(const Record &, const QString &date, const QString &time) = nullptr;
    QString pdfName {};

    // Trova, File, Esporta and Importa open screens of the folders above the cards.
    void (*find)(QWidget *parent, ArchiveId archive, CardId caller) = nullptr;
    void (*attach)(CardScreen *card) = nullptr;
    void (*exportArchive)(QWidget *parent, ArchiveId archive) = nullptr;
    void (*importArchive)(QWidget *parent, ArchiveId archive) = nullptr;
    // The scan box of a card whose records are found by a code read from a barcode: made
    // once the card is set up, with its keys in the card's field entry. Answers the
    // problems of the form it found (a control missing), one line each.
    QStringList (*scanBox)(CardScreen *card, FieldEntry *fieldEntry) = nullptr;
};
