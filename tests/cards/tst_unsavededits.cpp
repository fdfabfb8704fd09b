#include "app/Messages.h"
#include "cards/CardIds.h"
#include "catalogue/Magazzino.h"
#include "common/CardFixture.h"
#include "common/ModalProbe.h"
#include "common/UserInput.h"
#include "customers/Anagrafica.h"
#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "suppliers/Fornitori.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>

using namespace Qt::StringLiterals;
using Answer = Messages::Answer;

Q_DECLARE_METATYPE(CardId)
Q_DECLARE_METATYPE(Messages::Answer)

namespace {

// How the user leaves the record a card shows.
enum class Way { Arrow, Nuovo, Esci, List };

// What the user does before leaving: nothing, an edit, or an edit that Salva refuses (the
// field its rule needs emptied).
enum class Edit { None, Note, Refused };

// The card's fields the test types into: the field its save rule needs (and the second
// one, for the customer card) and the notes.
struct CardFields
{
    QString required;
    int requiredField;
    QString second; // empty when the rule needs one field
    int noteField;
};

CardFields fieldsOf(CardId card)
{
    switch (card) {
    case CardId::Product:
        return { u"txtCodice"_s, ProductRecord::Codice, QString(), ProductRecord::Note };
    case CardId::Customer:
        return { u"txtCognome"_s, CustomerRecord::Cognome, u"txtNome"_s, CustomerRecord::Note };
    case CardId::Supplier:
        break;
    }
    return { u"txtDitta"_s, SupplierRecord::Ditta, QString(), SupplierRecord::Note };
}

const QString kNote = u"Cliente puntuale"_s;

void typeInto(QLineEdit *edit, const QString &text)
{
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    typeText(edit, text);
}

int questionsAsked(const MessageRecorder &messages)
{
    return int(std::count_if(messages.shown.cbegin(), messages.shown.cend(),
        [](const MessageRecorder::Shown &m) { return m.text == CardScreen::unsavedEditsText(); }));
}

template <typename Card> void leaveCardCase(Way way, Edit edit, Answer answer)
{
    CardFixture<Card> f;
    QVERIFY(f.ready());
    const CardFields fields = fieldsOf(f.card.cardId());

    // Two records stored by the card itself, as Salva writes them.
    for (const QString &name : { u"Alfa"_s, u"Beta"_s }) {
        f.click(u"cmdNuovo"_s);
        typeInto(f.edit(fields.required), name);
        if (!fields.second.isEmpty())
            typeInto(f.edit(fields.second), u"Anna"_s);
        f.click(u"cmdSalva"_s);
    }
    const QList<Record> stored = f.records();
    QCOMPARE(stored.size(), 2);
    f.card.loadRecord(stored.at(0), 1);
    QCOMPARE(f.text(fields.required), u"Alfa"_s);
    const QByteArray before = f.bytes();
    f.messages.clear();

    if (edit != Edit::None)
        typeInto(f.edit(u"txtNote"_s), kNote);
    if (edit == Edit::Refused)
        typeInto(f.edit(fields.required), QString());
    QCOMPARE(f.card.hasUnsavedEdits(), edit != Edit::None);
    f.messages.answers = { answer };

    switch (way) {
    case Way::Arrow:
        f.click(u"cmdAvanti"_s);
        break;
    case Way::Nuovo:
        f.click(u"cmdNuovo"_s);
        break;
    case Way::Esci:
        f.click(u"cmdEsci"_s);
        break;
    case Way::List:
        // What every list and search does on a double-click.
        f.card.loadRecord(stored.at(1), 2);
        break;
    }

    QCOMPARE(questionsAsked(f.messages), edit == Edit::None ? 0 : 1);
    if (edit != Edit::None) {
        QCOMPARE(f.messages.shown.first().kind, Messages::Kind::Confirmation);
        QCOMPARE(f.messages.shown.first().text,
            u"Salvare le modifiche apportate alla scheda corrente?"_s);
    }
    const bool saved = edit == Edit::Note && answer == Answer::Yes;
    const bool stays = edit != Edit::None
        && (answer == Answer::Cancel || (edit == Edit::Refused && answer == Answer::Yes));

    if (saved) {
        Record edited = stored.at(0);
        edited.setValue(fields.noteField, kNote);
        QCOMPARE(f.bytes().size(), before.size());
        const QList<Record> now = f.records();
        QCOMPARE(now.size(), 2);
        QCOMPARE(now.at(0).encode(), edited.encode());
        QCOMPARE(now.at(1).encode(), stored.at(1).encode());
    } else {
        QCOMPARE(f.bytes(), before);
    }
    if (edit == Edit::Refused && answer == Answer::Yes) {
        // The save rule's own warning follows the question.
        QCOMPARE(f.messages.count(), 2);
        QCOMPARE(f.messages.lastKind(), Messages::Kind::Warning);
    }

    if (stays) {
        QVERIFY(f.card.isVisible());
        QCOMPARE(f.card.positionText(), u"1"_s);
        QCOMPARE(f.text(u"txtNote"_s), kNote);
        QVERIFY(f.card.hasUnsavedEdits());
        return;
    }
    switch (way) {
    case Way::Arrow:
    case Way::List:
        QCOMPARE(f.card.positionText(), u"2"_s);
        QCOMPARE(f.text(fields.required), u"Beta"_s);
        break;
    case Way::Nuovo:
        QCOMPARE(f.card.positionText(), QString());
        QCOMPARE(f.text(fields.required), QString());
        break;
    case Way::Esci:
        QVERIFY(!f.card.isVisible());
        // Shown again: a new card, and what it held when it was left is not asked about.
        f.card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.card));
        QCOMPARE(f.card.positionText(), QString());
        QCOMPARE(f.text(u"txtNote"_s), QString());
        break;
    }
    // Left: the card holds what it shows, so leaving again asks nothing.
    QVERIFY(!f.card.hasUnsavedEdits());
    QCOMPARE(questionsAsked(f.messages), edit == Edit::None ? 0 : 1);
}

} // namespace

// Leaving a card whose texts differ from those shown asks whether to save them first, on
// the three cards and every way of leaving; the archive's bytes say what was stored.
class TestUnsavedEdits : public QObject
{
    Q_OBJECT
private slots:
    void leavingAsks_data();
    void leavingAsks();
    void questionBoxAnswers_data();
    void questionBoxAnswers();
    void movementIsNotAnEdit();
};

void TestUnsavedEdits::leavingAsks_data()
{
    QTest::addColumn<CardId>("card");
    QTest::addColumn<Way>("way");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<Answer>("answer");
    const std::pair<CardId, const char *> cards[] = { { CardId::Product, "product" },
        { CardId::Customer, "customer" }, { CardId::Supplier, "supplier" } };
    const std::pair<Way, const char *> ways[] = { { Way::Arrow, "arrow" }, { Way::Nuovo, "Nuovo" },
        { Way::Esci, "Esci" }, { Way::List, "from a list" } };
    const std::tuple<Edit, Answer, const char *> answers[] = {
        { Edit::None, Answer::Ok, "no edit: nothing asked" },
        { Edit::Note, Answer::Yes, "Sì: saved, left" },
        { Edit::Note, Answer::No, "No: not saved, left" },
        { Edit::Note, Answer::Cancel, "Annulla: stays" },
        { Edit::Refused, Answer::Yes, "Sì, Salva refuses: stays" },
        { Edit::Refused, Answer::No, "No, Salva would refuse: left" },
    };
    for (const auto &[card, cardName] : cards) {
        for (const auto &[way, wayName] : ways) {
            for (const auto &[edit, answer, answerName] : answers)
                QTest::addRow("%s, %s, %s", cardName, wayName, answerName)
                    << card << way << edit << answer;
        }
    }
}

void TestUnsavedEdits::leavingAsks()
{
    QFETCH(CardId, card);
    QFETCH(Way, way);
    QFETCH(Edit, edit);
    QFETCH(Answer, answer);
    switch (card) {
    case CardId::Product:
        leaveCardCase<TfrmMagazzino>(way, edit, answer);
        break;
    case CardId::Customer:
        leaveCardCase<TfrmAnagrafica>(way, edit, answer);
        break;
    case CardId::Supplier:
        leaveCardCase<TfrmFornitori>(way, edit, answer);
        break;
    }
}

// The box itself: Sì, No and Annulla, with Esc as Annulla (never as No, which would drop
// the edits).
void TestUnsavedEdits::questionBoxAnswers_data()
{
    QTest::addColumn<int>("press"); // a QMessageBox::StandardButton, or 0 for Esc
    QTest::addColumn<Answer>("answer");
    QTest::newRow("Sì") << int(QMessageBox::Yes) << Answer::Yes;
    QTest::newRow("No") << int(QMessageBox::No) << Answer::No;
    QTest::newRow("Annulla") << int(QMessageBox::Cancel) << Answer::Cancel;
    QTest::newRow("Esc") << 0 << Answer::Cancel;
}

void TestUnsavedEdits::questionBoxAnswers()
{
    QFETCH(int, press);
    QFETCH(Answer, answer);
    QStringList buttons;
    onNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        for (QAbstractButton *b : box->buttons())
            buttons << QString::number(int(box->standardButton(b)));
        if (press == 0)
            QTest::keyClick(box, Qt::Key_Escape);
        else if (QAbstractButton *b = box->button(QMessageBox::StandardButton(press)))
            b->click();
    });
    QCOMPARE(Messages::confirmOrCancel(nullptr, CardScreen::unsavedEditsText()), answer);
    buttons.sort();
    QStringList expected { QString::number(int(QMessageBox::Yes)),
        QString::number(int(QMessageBox::No)), QString::number(int(QMessageBox::Cancel)) };
    expected.sort();
    QCOMPARE(buttons, expected);
}

// A movement stores the stock and its value with it: they are not unsaved edits, while
// an edit made before the movement still is.
void TestUnsavedEdits::movementIsNotAnEdit()
{
    CardFixture<TfrmMagazzino> f;
    QVERIFY(f.ready());
    typeInto(f.edit(u"txtCodice"_s), u"VIT-010"_s);
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.card.positionText(), u"1"_s);
    QVERIFY(!f.card.hasUnsavedEdits());

    for (const bool editedFirst : { false, true }) {
        if (editedFirst)
            typeInto(f.edit(u"txtNote"_s), kNote);
        onNextModal([](QWidget *modal) {
            auto *quantity = modal->findChild<QLineEdit *>(u"txtAggiunta"_s);
            auto *apply = modal->findChild<QAbstractButton *>(u"btnAggiorna"_s);
            if (!quantity || !apply)
                return;
            quantity->setText(u"4"_s);
            apply->click();
        });
        f.click(u"btnAggiungi"_s);
        QCOMPARE(f.text(u"txtGiacenza"_s), editedFirst ? u"8"_s : u"4"_s);
        QCOMPARE(f.records().at(0).value(ProductRecord::Giacenza), f.text(u"txtGiacenza"_s));
        QCOMPARE(f.card.hasUnsavedEdits(), editedFirst);
    }
}

QTEST_MAIN(TestUnsavedEdits)
#include "tst_unsavededits.moc"
