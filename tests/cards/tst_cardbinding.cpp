#include "cards/CardBinding.h"
#include "storage/RecordLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// clang-format off
#define TEST_FIELDS(F) F(Testo, 20) F(Etichetta, 20) F(Memo, 50) F(Prov, 2) F(Scelta, 10) F(Flag, 2)
// clang-format on
enum Field { TEST_FIELDS(MERVENTA_FIELD_INDEX) };
constexpr FieldTable kTable(std::array { TEST_FIELDS(MERVENTA_FIELD_SPEC) });
constexpr RecordLayout kLayout(kTable);

enum class Kind { LineEdit, Label, PlainText, EditableCombo, Combo, CheckBox, CheckBoxKeep };

const CardBinding::CheckTexts kFlagTexts { u"Sì"_s, u"No"_s, CardBinding::OtherText::Unchecked };

// A card with one control of each kind, named after the fields.
struct Card
{
    explicit Card(CardBinding::OtherText other = CardBinding::OtherText::Unchecked)
    {
        window.setObjectName(u"TfrmProva"_s);
        auto add = [this](QWidget *w, const QString &name) {
            w->setParent(&window);
            w->setObjectName(name);
        };
        add(new QLineEdit, u"txtTesto"_s);
        add(new QLabel, u"lblEtichetta"_s);
        add(new QPlainTextEdit, u"memMemo"_s);
        auto *prov = new QComboBox;
        prov->setEditable(true);
        prov->addItems({ u"AG"_s, u"TO"_s, u"VV"_s });
        add(prov, u"txtProv"_s);
        auto *choice = new QComboBox;
        choice->addItems({ u"Uno"_s, u"Due"_s });
        add(choice, u"txtScelta"_s);
        add(new QCheckBox, u"chkFlag"_s);
        CardBinding::CheckTexts texts = kFlagTexts;
        texts.other = other;
        binding = std::make_unique<CardBinding>(
            &window, kLayout, CardBinding::Config { {}, { { u"Flag"_s, texts } } });
    }
    QWidget window;
    std::unique_ptr<CardBinding> binding;
};

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestCardBinding : public QObject
{
    Q_OBJECT
private slots:
    void showAndStoreBack_data();
    void showAndStoreBack();
    void everyFieldReachesItsControl();
    void problemsAreReportedAtConstruction_data();
    void problemsAreReportedAtConstruction();
    void onlyTheCardsOwnWindowCounts();
};

void TestCardBinding::showAndStoreBack_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("stored");
    // The text the control shows (for a check box "checked"/"unchecked").
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("storedBack");
    // A check box that was checked before the record came.
    QTest::addColumn<bool>("checkedBefore");

    const struct
    {
        const char *name;
        Kind kind;
        const char *stored, *shown, *back;
        bool before;
    } rows[] = {
        { "line edit", Kind::LineEdit, "abc", "abc", "abc", false },
        { "line edit trimmed", Kind::LineEdit, "  abc ", "abc", "abc", false },
        { "label", Kind::Label, "file.pdf", "file.pdf", "file.pdf", false },
        { "plain text", Kind::PlainText, "riga", "riga", "riga", false },
        { "editable combo, listed code", Kind::EditableCombo, "TO", "TO", "TO", false },
        { "editable combo, unlisted code", Kind::EditableCombo, "XX", "XX", "XX", false },
        { "editable combo, empty", Kind::EditableCombo, "", "", "", false },
        { "editable combo, lower case is not an item", Kind::EditableCombo, "to", "to", "to",
            false },
        { "combo, listed text", Kind::Combo, "Due", "Due", "Due", false },
        { "combo, unlisted text shows nothing", Kind::Combo, "Tre", "", "", false },
        { "check box, Sì", Kind::CheckBox, "Sì", "checked", "Sì", false },
        { "check box, No", Kind::CheckBox, "No", "unchecked", "No", true },
        { "check box, other text unchecks", Kind::CheckBox, "", "unchecked", "No", true },
        { "check box, True is no text of it", Kind::CheckBox, "True", "unchecked", "No", true },
        { "check box keeping, other text keeps checked", Kind::CheckBoxKeep, "", "checked", "Sì",
            true },
        { "check box keeping, other text keeps unchecked", Kind::CheckBoxKeep, "x", "unchecked",
            "No", false },
        { "check box keeping, No", Kind::CheckBoxKeep, "No", "unchecked", "No", true },
    };
    for (const auto &r : rows) {
        QTest::newRow(r.name) << r.kind << QString::fromUtf8(r.stored) << QString::fromUtf8(r.shown)
                              << QString::fromUtf8(r.back) << r.before;
    }
}

void TestCardBinding::showAndStoreBack()
{
    QFETCH(Kind, kind);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, storedBack);
    QFETCH(bool, checkedBefore);

    const bool keep = kind == Kind::CheckBoxKeep;
    Card card(keep ? CardBinding::OtherText::Keep : CardBinding::OtherText::Unchecked);
    QVERIFY2(card.binding->problems().isEmpty(), qPrintable(card.binding->problems().join(u';')));
    const int field = kind == Kind::LineEdit ? Testo
        : kind == Kind::Label                ? Etichetta
        : kind == Kind::PlainText            ? Memo
        : kind == Kind::EditableCombo        ? Prov
        : kind == Kind::Combo                ? Scelta
                                             : Flag;
    auto *check = card.window.findChild<QCheckBox *>(u"chkFlag"_s);
    check->setChecked(checkedBefore);
    // The combo boxes start on another item, so that the record must move them.
    card.window.findChild<QComboBox *>(u"txtProv"_s)->setCurrentIndex(0);
    card.window.findChild<QComboBox *>(u"txtScelta"_s)->setCurrentIndex(0);

    Record record(kLayout);
    record.setValue(field, stored);
    card.binding->load(record);

    QWidget *control = card.binding->control(field);
    QVERIFY(control);
    if (field == Flag)
        QCOMPARE(check->isChecked() ? u"checked"_s : u"unchecked"_s, shown);
    else
        QCOMPARE(CardBinding::controlText(control), shown);

    Record back(kLayout);
    card.binding->store(back);
    QCOMPARE(back.value(field), storedBack);
    QCOMPARE(card.binding->record().value(field), storedBack);
}

void TestCardBinding::everyFieldReachesItsControl()
{
    Card card;
    Record record(kLayout);
    for (int i = 0; i < kLayout.fieldCount(); ++i)
        record.setValue(i,
            i == Flag         ? u"Sì"_s
                : i == Scelta ? u"Uno"_s
                              : u"v"_s + QString::number(i));
    card.binding->load(record);
    const Record back = card.binding->record();
    for (int i = 0; i < kLayout.fieldCount(); ++i)
        QCOMPARE(back.value(i), record.value(i));
    QCOMPARE(card.binding->control(u"Prov"), card.window.findChild<QWidget *>(u"txtProv"_s));
}

void TestCardBinding::problemsAreReportedAtConstruction_data()
{
    QTest::addColumn<QString>("removed"); // a control taken off the card
    QTest::addColumn<QStringList>("unbound");
    QTest::addColumn<QStringList>("checks"); // fields given check texts
    QTest::addColumn<QString>("problem");

    QTest::newRow("field without control")
        << u"txtTesto"_s << QStringList {} << QStringList { u"Flag"_s }
        << u"Testo has no control"_s;
    QTest::newRow("declared unbound")
        << u"txtTesto"_s << QStringList { u"Testo"_s } << QStringList { u"Flag"_s } << QString();
    QTest::newRow("unbound name that is no field")
        << QString() << QStringList { u"Testi"_s } << QStringList { u"Flag"_s }
        << u"Testi is not a field of the record"_s;
    QTest::newRow("check texts for no field")
        << QString() << QStringList {} << QStringList { u"Flag"_s, u"Flags"_s }
        << u"Flags is not a field of the record"_s;
    QTest::newRow("check box without texts") << QString() << QStringList {} << QStringList {}
                                             << u"Flag is a check box without its two texts"_s;
    QTest::newRow("check texts on an edit box")
        << QString() << QStringList {} << QStringList { u"Flag"_s, u"Testo"_s }
        << u"Testo has check texts but is no check box"_s;
    QTest::newRow("unbound field that has a control")
        << QString() << QStringList { u"Memo"_s } << QStringList { u"Flag"_s }
        << u"Memo is unbound but has the control memMemo"_s;
}

void TestCardBinding::problemsAreReportedAtConstruction()
{
    QFETCH(QString, removed);
    QFETCH(QStringList, unbound);
    QFETCH(QStringList, checks);
    QFETCH(QString, problem);

    Card card;
    if (!removed.isEmpty())
        delete card.window.findChild<QWidget *>(removed);
    CardBinding::Config config;
    config.unbound = unbound;
    for (const QString &name : checks)
        config.checks.insert(name, kFlagTexts);
    if (!problem.isEmpty())
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(u"CardBinding of TfrmProva"_s));
    const CardBinding binding(&card.window, kLayout, config);
    if (problem.isEmpty())
        QCOMPARE(binding.problems(), QStringList());
    else
        QCOMPARE(binding.problems(), QStringList { problem });
}

void TestCardBinding::onlyTheCardsOwnWindowCounts()
{
    Card card;
    // A dialog over the card names its own field alike; the card's control is still bound.
    QWidget dialog(&card.window, Qt::Dialog);
    auto *other = new QLineEdit(&dialog);
    other->setObjectName(u"txtTesto"_s);
    const CardBinding binding(&card.window, kLayout, { {}, { { u"Flag"_s, kFlagTexts } } });
    QCOMPARE(binding.control(Testo), card.window.findChild<QLineEdit *>(u"txtTesto"_s));
    QVERIFY(binding.control(Testo) != other);
}

QTEST_MAIN(TestCardBinding)
#include "tst_cardbinding.moc"
