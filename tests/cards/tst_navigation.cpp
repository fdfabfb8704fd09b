#include "app/Messages.h"
#include "cards/CardIds.h"
#include "catalogue/Magazzino.h"
#include "common/CardFixture.h"
#include "common/MessageRecorder.h"
#include "customers/Anagrafica.h"
#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "suppliers/Fornitori.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QList>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = Messages::Kind;

namespace {

// The archive the card moves over: three records, an empty file, or no file at all.
enum class Stored { Three, Empty, Missing };
// What the card holds when the arrow is pressed: a new card with texts typed on it, a
// record shown as read, or a record shown at a position with texts typed over it. Typed
// texts are not saved: the arrow asks first, and No leaves them unsaved.
enum class Held { New, Loaded, Edited };

} // namespace

Q_DECLARE_METATYPE(CardId)
Q_DECLARE_METATYPE(Stored)
Q_DECLARE_METATYPE(Held)

namespace {

const QString kEmptyArchive = u"L'archivio non contiene nessuna scheda."_s;

// A control that shows a field of the stored records beyond the name and the notes, with
// the text record number (1-based) holds there.
struct Extra
{
    int field;
    QString control;
    QString (*text)(int number);
};

// What the test needs to know of a card: the file and record size of its archive, the
// control and field of its name, its notes and its own controls to check.
struct CardData
{
    QString fileName;
    qsizetype recordSize;
    QString nameControl;
    int nameField;
    int noteField;
    QList<Extra> extras;
};

CardData dataOf(CardId card)
{
    switch (card) {
    case CardId::Product:
        return { u"Magazzino.mrv"_s, 4874, u"txtCodice"_s, ProductRecord::Codice,
            ProductRecord::Note, {} };
    case CardId::Customer:
        return { u"Clienti.mrv"_s, 4043, u"txtCognome"_s, CustomerRecord::Cognome,
            CustomerRecord::Note,
            { { CustomerRecord::ProvRes, u"txtProvRes"_s, [](int) { return u"TO"_s; } },
                { CustomerRecord::File02, u"lblFile02"_s,
                    [](int number) { return u"doc%1.pdf"_s.arg(number); } } } };
    case CardId::Supplier:
        break;
    }
    // The second supplier is not to be recontacted, the others are.
    return { u"Fornitori.mrv"_s, 3643, u"txtDitta"_s, SupplierRecord::Ditta, SupplierRecord::Note,
        { { SupplierRecord::Ricontatta, u"chkRicontatta"_s,
            [](int number) { return number == 2 ? u"No"_s : u"Sì"_s; } } } };
}

const QString kOnCard = u"card"_s;
const QString kOnCardNote = u"on the card"_s;

QString nameOf(int number)
{
    return u"A%1"_s.arg(number);
}
QString noteOf(int number)
{
    return u"nota %1"_s.arg(number);
}

template <typename Card>
void navigateCase(Stored stored, Held held, int start, const QString &button, int shown,
    const QString &position, bool emptyMessage)
{
    CardFixture<Card> f;
    QVERIFY(f.ready());
    const CardData card = dataOf(f.card.cardId());

    QList<Record> records;
    if (stored == Stored::Three) {
        for (int number = 1; number <= 3; ++number) {
            Record r = f.record(
                { { card.nameField, nameOf(number) }, { card.noteField, noteOf(number) } });
            for (const Extra &extra : card.extras)
                r.setValue(extra.field, extra.text(number));
            records << r;
        }
    }
    if (stored != Stored::Missing)
        QVERIFY(f.writeRecords(records));
    const QString path = f.folder.filePath(card.fileName);
    QCOMPARE(QFile::exists(path), stored != Stored::Missing);
    const QByteArray before = f.bytes();
    QCOMPARE(before.size(), qsizetype(records.size()) * card.recordSize);

    if (held == Held::Loaded) {
        f.card.loadRecord(
            f.record({ { card.nameField, kOnCard }, { card.noteField, kOnCardNote } }), start);
        QCOMPARE(f.card.positionText(), QString::number(start));
        QVERIFY(!f.card.hasUnsavedEdits());
    } else {
        f.edit(card.nameControl)->setText(kOnCard);
        f.edit(u"txtNote"_s)->setText(kOnCardNote);
        if (held == Held::Edited)
            f.card.setPosition(start);
        QCOMPARE(f.card.positionText(), held == Held::Edited ? QString::number(start) : QString());
        QVERIFY(f.card.hasUnsavedEdits());
        f.messages.answers = { Messages::Answer::No };
    }
    QCOMPARE(f.messages.count(), 0);

    f.click(button);

    // Typed texts are asked about once, before anything else is shown.
    const bool asked = held != Held::Loaded;
    if (asked) {
        QVERIFY(!f.messages.shown.isEmpty());
        QCOMPARE(f.messages.shown.first().kind, Kind::Confirmation);
    }
    QCOMPARE(f.messages.takeFirst(CardScreen::unsavedEditsText()), asked);
    if (emptyMessage) {
        QCOMPARE(f.messages.count(), 1);
        QCOMPARE(f.messages.lastKind(), Kind::Information);
        QCOMPARE(f.messages.lastText(), kEmptyArchive);
    } else {
        QCOMPARE(f.messages.count(), 0);
    }

    QCOMPARE(f.text(u"lblPosizione"_s), position);
    QCOMPARE(f.card.positionText(), position);
    if (shown == 0) {
        // The card stays as it was, its typed texts still unsaved.
        QCOMPARE(f.text(card.nameControl), kOnCard);
        QCOMPARE(f.text(u"txtNote"_s), kOnCardNote);
        QCOMPARE(f.card.hasUnsavedEdits(), asked);
    } else {
        QCOMPARE(f.text(card.nameControl), nameOf(shown));
        QCOMPARE(f.text(u"txtNote"_s), noteOf(shown));
        for (const Extra &extra : card.extras) {
            // The field as the card would store it, and the control that shows it.
            QCOMPARE(f.card.binding().text(extra.field), extra.text(shown));
            if (auto *box = f.template find<QCheckBox>(extra.control))
                QCOMPARE(box->isChecked(), extra.text(shown) == u"Sì"_s);
            else
                QCOMPARE(f.text(extra.control), extra.text(shown));
        }
        QVERIFY(!f.card.hasUnsavedEdits());
    }

    // Navigation only reads: the archive keeps its bytes, and a missing one is created
    // empty.
    QVERIFY(QFile::exists(path));
    QCOMPARE(f.bytes(), before);
    QCOMPARE(f.bytes().size(), qsizetype(records.size()) * card.recordSize);
}

} // namespace

// The four arrows of the three cards: which record each shows, the position, the messages,
// over a full, an empty and a missing archive, from a new card, a record as read and an
// edited one; and the archive's bytes unchanged.
class TestNavigation : public QObject
{
    Q_OBJECT
private slots:
    void arrows_data();
    void arrows();
};

void TestNavigation::arrows_data()
{
    QTest::addColumn<CardId>("card");
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<Held>("held");
    QTest::addColumn<int>("start"); // the position the card holds (0 for a new card)
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("shown"); // the record shown afterwards (0: the card stays)
    QTest::addColumn<QString>("position"); // lblPosizione afterwards
    QTest::addColumn<bool>("emptyMessage");

    using enum Stored;
    using enum Held;
    static const struct
    {
        const char *name;
        Stored stored;
        Held held;
        int start;
        const char *button;
        int shown;
        const char *position;
        bool emptyMessage;
    } cases[] = {
        { "first, from a record", Three, Loaded, 2, "cmdPrimo", 1, "1", false },
        { "first, from an edited record", Three, Edited, 2, "cmdPrimo", 1, "1", false },
        { "first, from a new card", Three, New, 0, "cmdPrimo", 1, "1", false },
        { "last, from a record", Three, Loaded, 1, "cmdUltimo", 3, "3", false },
        { "last, from an edited record", Three, Edited, 1, "cmdUltimo", 3, "3", false },
        { "last, from a new card", Three, New, 0, "cmdUltimo", 3, "3", false },
        // From a new card every arrow but the last starts at the first record.
        { "next, from a new card", Three, New, 0, "cmdAvanti", 1, "1", false },
        { "previous, from a new card", Three, New, 0, "cmdIndietro", 1, "1", false },
        { "next, from a record", Three, Loaded, 1, "cmdAvanti", 2, "2", false },
        { "next, from an edited record", Three, Edited, 1, "cmdAvanti", 2, "2", false },
        { "previous, from a record", Three, Loaded, 3, "cmdIndietro", 2, "2", false },
        { "previous, from an edited record", Three, Edited, 3, "cmdIndietro", 2, "2", false },
        // At either end the arrow does nothing and says nothing.
        { "previous at the first", Three, Loaded, 1, "cmdIndietro", 0, "1", false },
        { "previous at the first, edited", Three, Edited, 1, "cmdIndietro", 0, "1", false },
        { "next at the last", Three, Loaded, 3, "cmdAvanti", 0, "3", false },
        { "next at the last, edited", Three, Edited, 3, "cmdAvanti", 0, "3", false },
        { "first, empty archive, new card", Empty, New, 0, "cmdPrimo", 0, "", true },
        { "first, empty archive, edited record", Empty, Edited, 2, "cmdPrimo", 0, "2", true },
        { "last, empty archive", Empty, Loaded, 4, "cmdUltimo", 0, "4", true },
        { "last, empty archive, edited record", Empty, Edited, 4, "cmdUltimo", 0, "4", true },
        { "previous, empty archive, new card", Empty, New, 0, "cmdIndietro", 0, "", true },
        // At position 1 there is nothing before: the archive is not read.
        { "previous at 1, empty archive", Empty, Loaded, 1, "cmdIndietro", 0, "1", false },
        { "previous at 1, empty archive, edited", Empty, Edited, 1, "cmdIndietro", 0, "1", false },
        // Only the next arrow empties the position before its message.
        { "next, empty archive", Empty, Loaded, 2, "cmdAvanti", 0, "", true },
        { "next, empty archive, edited record", Empty, Edited, 2, "cmdAvanti", 0, "", true },
        { "first, no archive", Missing, Edited, 4, "cmdPrimo", 0, "4", true },
        { "last, no archive", Missing, Edited, 4, "cmdUltimo", 0, "4", true },
        { "previous, no archive", Missing, Edited, 4, "cmdIndietro", 0, "4", true },
        { "next, no archive", Missing, Edited, 4, "cmdAvanti", 0, "", true },
    };
    const std::pair<CardId, const char *> cards[] = { { CardId::Product, "product" },
        { CardId::Customer, "customer" }, { CardId::Supplier, "supplier" } };
    for (const auto &[card, cardName] : cards) {
        for (const auto &c : cases) {
            QTest::addRow("%s, %s", cardName, c.name)
                << card << c.stored << c.held << c.start << QString::fromLatin1(c.button) << c.shown
                << QString::fromLatin1(c.position) << c.emptyMessage;
        }
    }
}

void TestNavigation::arrows()
{
    QFETCH(CardId, card);
    QFETCH(Stored, stored);
    QFETCH(Held, held);
    QFETCH(int, start);
    QFETCH(QString, button);
    QFETCH(int, shown);
    QFETCH(QString, position);
    QFETCH(bool, emptyMessage);
    switch (card) {
    case CardId::Product:
        navigateCase<TfrmMagazzino>(stored, held, start, button, shown, position, emptyMessage);
        break;
    case CardId::Customer:
        navigateCase<TfrmAnagrafica>(stored, held, start, button, shown, position, emptyMessage);
        break;
    case CardId::Supplier:
        navigateCase<TfrmFornitori>(stored, held, start, button, shown, position, emptyMessage);
        break;
    }
}

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
