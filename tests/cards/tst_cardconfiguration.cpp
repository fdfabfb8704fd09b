#include "cards/CardScreen.h"
#include "common/MessageRecorder.h"
#include "common/TempProgramFolder.h"
#include "records/ProductRecord.h"
#include "storage/RecordFile.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

// The card configuration's wiring: every common button found by objectName runs its handler, the
// card's own buttons are wired from a one-line table, and a button the card should have
// but its form lacks is reported, never skipped in silence.
class TestCardConfiguration : public QObject
{
    Q_OBJECT
private slots:
    void commonButtonRunsTheConfiguration();
    void ownButtonWiredByName();
    void missingButtonsAreReported_data();
    void missingButtonsAreReported();
    void focusKeyReachesItsControl_data();
    void focusKeyReachesItsControl();
};

namespace {

std::optional<SaveFailure> refuseEverything(const Record &)
{
    return SaveFailure { { Notice::Kind::Warning, u"Manca il codice."_s }, u"txtUno"_s };
}

Record emptyProduct()
{
    return Record(ProductRecord::layout());
}

// A card over the product archive whose form holds no field: every field is unbound.
const CardSpec &testConfiguration()
{
    static const CardSpec config = [] {
        CardSpec s;
        s.id = CardId::Product;
        s.archive = &ProductRecord::archive;
        s.accessErrorKind = Notice::Kind::Warning;
        s.newRecord = &emptyProduct;
        s.firstField = u"txtUno"_s;
        for (int i = 0; i < ProductRecord::layout().fieldCount(); ++i)
            s.binding.unbound.append(ProductRecord::layout().fieldName(i));
        s.withoutButtons = { u"cmdAnteprima"_s };
        s.saveCheck = &refuseEverything;
        return s;
    }();
    return config;
}

// The same card with F3 to txtDue from everywhere, txtUno an amount field (its keys are
// filtered), and F4 to a control the form lacks.
const CardSpec &focusKeyConfiguration()
{
    static const CardSpec config = [] {
        CardSpec s = testConfiguration();
        s.amountFields = { u"txtUno"_s };
        s.focusKeys = { { Qt::Key_F3, u"txtDue"_s }, { Qt::Key_F4, u"txtTre"_s } };
        return s;
    }();
    return config;
}

// A form with the position, the info bar, a free edit box and the common buttons
// named, less those left out.
class TestCard : public CardScreen
{
public:
    explicit TestCard(const QStringList &leftOut, const char *ownButton = nullptr,
        const CardSpec &config = testConfiguration())
        : CardScreen(config)
    {
        setObjectName(u"TfrmProva"_s);
        (new QLabel(this))->setObjectName(u"lblPosizione"_s);
        (new QLabel(this))->setObjectName(u"panInfo"_s);
        (new QLineEdit(this))->setObjectName(u"txtUno"_s);
        (new QLineEdit(this))->setObjectName(u"txtDue"_s);
        for (const QString &name : commonButtons()) {
            if (!leftOut.contains(name) && name != u"cmdAnteprima")
                (new QToolButton(this))->setObjectName(name);
        }
        if (ownButton)
            (new QToolButton(this))->setObjectName(QString::fromLatin1(ownButton));
        setUpCard();
        wireButtons<TestCard>({ { "btnProva", &TestCard::btnProvaClick } });
    }
    void btnProvaClick() { ++ownClicks; }
    int ownClicks = 0;
};

void click(QWidget *card, const QString &name)
{
    QTest::mouseClick(card->findChild<QToolButton *>(name), Qt::LeftButton);
}

} // namespace

void TestCardConfiguration::commonButtonRunsTheConfiguration()
{
    TempProgramFolder folder;
    MessageRecorder messages;
    TestCard card({}, "btnProva");
    QCOMPARE(card.problems(), QStringList());
    card.show();
    card.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&card));
    card.findChild<QLineEdit *>(u"txtDue"_s)->setFocus();
    // Salva runs the configuration's save rule: its notice, and the focus on the control it names.
    click(&card, u"cmdSalva"_s);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QCOMPARE(messages.lastText(), u"Manca il codice."_s);
    QCOMPARE(card.focusWidget(), card.findChild<QLineEdit *>(u"txtUno"_s));
    // An arrow reads the archive: the card's own kind of access error when it is missing.
    QVERIFY(QDir(folder.path()).mkdir(ProductRecord::archive().fileName));
    click(&card, u"cmdPrimo"_s);
    QCOMPARE(messages.count(), 2);
    QCOMPARE(messages.lastText(), accessErrorText());
}

void TestCardConfiguration::ownButtonWiredByName()
{
    TempProgramFolder folder;
    TestCard card({}, "btnProva");
    QCOMPARE(card.problems(), QStringList());
    click(&card, u"btnProva"_s);
    click(&card, u"btnProva"_s);
    QCOMPARE(card.ownClicks, 2);
}

void TestCardConfiguration::missingButtonsAreReported_data()
{
    QTest::addColumn<QStringList>("leftOut");
    QTest::addColumn<bool>("withOwnButton");
    QTest::addColumn<QStringList>("problems");
    QTest::newRow("a common button")
        << QStringList { u"cmdStampa"_s } << true << QStringList { u"cmdStampa has no button"_s };
    QTest::newRow("two common buttons")
        << QStringList { u"cmdPrimo"_s, u"cmdEsci"_s } << true
        << QStringList { u"cmdPrimo has no button"_s, u"cmdEsci has no button"_s };
    QTest::newRow("the card's own button")
        << QStringList() << false << QStringList { u"btnProva has no button"_s };
}

void TestCardConfiguration::missingButtonsAreReported()
{
    QFETCH(QStringList, leftOut);
    QFETCH(bool, withOwnButton);
    QFETCH(QStringList, problems);
    TempProgramFolder folder;
    TestCard card(leftOut, withOwnButton ? "btnProva" : nullptr);
    QCOMPARE(card.problems(), problems);
    // A button the card's configuration leaves out is no problem: cmdAnteprima is on no form here.
    QVERIFY(!card.problems().join(u' ').contains(u"cmdAnteprima"_s));
}

void TestCardConfiguration::focusKeyReachesItsControl_data()
{
    QTest::addColumn<QString>("from");
    QTest::newRow("an amount field") << u"txtUno"_s;
    QTest::newRow("a button") << u"cmdSalva"_s;
    QTest::newRow("the control itself") << u"txtDue"_s;
}

void TestCardConfiguration::focusKeyReachesItsControl()
{
    QFETCH(QString, from);
    TempProgramFolder folder;
    MessageRecorder messages;
    TestCard card({}, "btnProva", focusKeyConfiguration());
    QCOMPARE(card.problems(), QStringList { u"txtTre has no control for its focus key"_s });
    card.show();
    card.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&card));
    auto *target = card.findChild<QLineEdit *>(u"txtDue"_s);
    target->setText(u"12"_s);
    auto *source = card.findChild<QWidget *>(from);
    source->setFocus();
    QVERIFY(source->hasFocus());
    QTest::keyClick(source, Qt::Key_F3);
    QVERIFY(target->hasFocus());
    // The text is selected, so the next code typed replaces it; F3 typed nothing.
    QCOMPARE(target->text(), u"12"_s);
    QCOMPARE(target->selectedText(), u"12"_s);
    // With a modifier the key is not the focus key.
    card.findChild<QWidget *>(u"txtUno"_s)->setFocus();
    QTest::keyClick(card.findChild<QWidget *>(u"txtUno"_s), Qt::Key_F3, Qt::ShiftModifier);
    QVERIFY(!target->hasFocus());
    QCOMPARE(messages.count(), 0);
}

QTEST_MAIN(TestCardConfiguration)
#include "tst_cardconfiguration.moc"
