#include "app/FieldEntry.h"
#include "app/Widgets.h"
#include "catalogue/Magazzino.h"
#include "common/TempProgramFolder.h"
#include "common/UserInput.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

// A small screen configured like a card: a text field, an amount field, a number field,
// an upper-case field, a field of at most five characters, an image button, a push button,
// a label, a section and the info bar.
class Screen : public QDialog
{
public:
    Screen()
    {
        setObjectName(QStringLiteral("TfrmProva"));
        auto *layout = new QVBoxLayout(this);
        section = new QFrame(this);
        section->setObjectName(QStringLiteral("shpSezione01"));
        section->setMinimumSize(200, 40);
        auto *sectionLayout = new QVBoxLayout(section);
        label = new QLabel(QStringLiteral("Costo:"), section);
        label->setObjectName(QStringLiteral("lblCosto"));
        sectionLayout->addWidget(label);
        layout->addWidget(section);
        for (const char *name : { "txtNome", "txtCosto", "txtScorta", "txtSigla", "txtBreve" }) {
            auto *edit = new QLineEdit(this);
            edit->setObjectName(QLatin1StringView(name));
            layout->addWidget(edit);
        }
        // The limit as a form sets it; the field entry makes it a typing limit.
        edit("txtBreve")->setMaxLength(5);
        auto *mese = new QComboBox(this);
        mese->setObjectName(QStringLiteral("txtMese"));
        mese->addItems({ QStringLiteral("Gennaio"), QStringLiteral("Febbraio") });
        layout->addWidget(mese);
        cmdSalva = new QToolButton(this);
        cmdSalva->setObjectName(QStringLiteral("cmdSalva"));
        cmdSalva->setText(QStringLiteral("Salva"));
        Widgets::makeImageButton(cmdSalva, QStringLiteral("document-save.png"));
        layout->addWidget(cmdSalva);
        btnCalcola = new QPushButton(QStringLiteral("Calcola"), this);
        btnCalcola->setObjectName(QStringLiteral("btnCalcola"));
        btnCalcola->setDefault(true); // Enter must not press it all the same
        layout->addWidget(btnCalcola);
        panInfo = new QLabel(QStringLiteral("Pronto"), this);
        layout->addWidget(panInfo);
        Widgets::styleInfoBar(panInfo);

        entry = new FieldEntry(this);
        entry->setEnterOrder(
            { QStringLiteral("txtNome"), QStringLiteral("txtCosto"), QStringLiteral("txtScorta"),
                QStringLiteral("txtSigla"), QStringLiteral("btnCalcola") });
        entry->addAmountFields({ QStringLiteral("txtCosto") });
        entry->addNumberFields({ QStringLiteral("txtScorta") });
        entry->addUpperCaseFields({ QStringLiteral("txtSigla") });
        entry->setInfoBar(panInfo);
        entry->setHints({ { QStringLiteral("cmdSalva"), QStringLiteral("Salva la scheda.") },
            { QStringLiteral("btnCalcola"), QStringLiteral("Calcola il prezzo.") } });
        entry->addBackground({ QStringLiteral("shpSezione01") });
    }

    QLineEdit *edit(const char *name) { return findChild<QLineEdit *>(QLatin1StringView(name)); }

    QFrame *section;
    QLabel *label;
    QToolButton *cmdSalva;
    QPushButton *btnCalcola;
    QLabel *panInfo;
    FieldEntry *entry;
};

class TestFieldEntry : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void enterFollowsTheFixedOrder();
    void keyFilters_data();
    void keyFilters();
    void shortcutsAndTabAreDropped();
    void enteringAField_data();
    void enteringAField();
    void keypadDecimalKey_data();
    void keypadDecimalKey();
    void highlightShowsOnlyWhileFocused();
    void leavingRuleRunsWhenFieldIsLeft();
    void imageButtonKeepsFocusAndPendingRule();
    void upperCaseFieldChangesWhileTyping();
    void hintsFollowTheMouse();
    void typingLimit_data();
    void typingLimit();
    void productCardShowsProgramTextWhole_data();
    void productCardShowsProgramTextWhole();
    void misconfiguredName_data();
    void misconfiguredName();
    void misconfigurationEndsATestRun();

private:
    Screen *m_screen = nullptr;
    QStringList m_errors;
};

void TestFieldEntry::init()
{
    m_errors.clear();
    FieldEntry::setConfigurationErrorHandler(
        [this](const QString &message) { m_errors << message; });
    m_screen = new Screen;
    m_screen->show();
    m_screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_screen));
}

void TestFieldEntry::cleanup()
{
    delete m_screen;
    m_screen = nullptr;
    FieldEntry::setConfigurationErrorHandler({});
}

void TestFieldEntry::enterFollowsTheFixedOrder()
{
    bool pressed = false;
    connect(m_screen->btnCalcola, &QPushButton::clicked, this, [&] { pressed = true; });
    QLineEdit *nome = m_screen->edit("txtNome");
    nome->setFocus();
    QTest::keyClicks(nome, QStringLiteral("ab"));
    QTest::keyClick(nome, Qt::Key_Return);
    QCOMPARE(nome->text(), QStringLiteral("ab"));
    QCOMPARE(QApplication::focusWidget(), m_screen->edit("txtCosto"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), m_screen->edit("txtScorta"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // The last field hands the focus to the button, which still needs its own press.
    QCOMPARE(QApplication::focusWidget(), m_screen->btnCalcola);
    QVERIFY(!pressed);
    QVERIFY(m_screen->isVisible());
}

void TestFieldEntry::keyFilters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("amount takes digits and commas") << "txtCosto"
                                                    << "12,5"
                                                    << "12,5";
    QTest::newRow("amount drops minus, point, letters, blanks") << "txtCosto"
                                                                << "-1.a 2"
                                                                << "12";
    QTest::newRow("amount takes several commas") << "txtCosto"
                                                 << "1,2,3"
                                                 << "1,2,3";
    QTest::newRow("number drops the comma") << "txtScorta"
                                            << "3,5"
                                            << "35";
    QTest::newRow("number drops letters") << "txtScorta"
                                          << "abc"
                                          << "";
    QTest::newRow("text field takes everything") << "txtNome"
                                                 << "a-1.b"
                                                 << "a-1.b";
}

void TestFieldEntry::keyFilters()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QLineEdit *edit = m_screen->findChild<QLineEdit *>(field);
    edit->setFocus();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), expected);
    // Backspace and the arrows always pass.
    if (!expected.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Left);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text().size(), expected.size() - 1);
    }
}

void TestFieldEntry::enteringAField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("reach"); // "enter" from the field before it, "program", "click"
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("amount by Enter: typing replaces 0,00") << "txtCosto"
                                                           << "enter"
                                                           << "0,00"
                                                           << "45"
                                                           << "45";
    QTest::newRow("amount by the program's focus move") << "txtCosto"
                                                        << "program"
                                                        << "12,50"
                                                        << "3,5"
                                                        << "3,5";
    QTest::newRow("amount by a click: the cursor where clicked") << "txtCosto"
                                                                 << "click"
                                                                 << "0,00"
                                                                 << "4"
                                                                 << "40,00";
    QTest::newRow("number by Enter") << "txtScorta"
                                     << "enter"
                                     << "0"
                                     << "7"
                                     << "7";
    QTest::newRow("number by the program") << "txtScorta"
                                           << "program"
                                           << "15"
                                           << "20"
                                           << "20";
    QTest::newRow("text field by Enter keeps its text") << "txtSigla"
                                                        << "enter"
                                                        << "AB"
                                                        << "c"
                                                        << "ABC";
}

void TestFieldEntry::enteringAField()
{
    QFETCH(QString, field);
    QFETCH(QString, reach);
    QFETCH(QString, initial);
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    static const QStringList order { QStringLiteral("txtNome"), QStringLiteral("txtCosto"),
        QStringLiteral("txtScorta"), QStringLiteral("txtSigla") };
    QLineEdit *edit = m_screen->findChild<QLineEdit *>(field);
    edit->setText(initial);
    if (reach == QLatin1String("enter")) {
        QLineEdit *before = m_screen->findChild<QLineEdit *>(order.at(order.indexOf(field) - 1));
        before->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(before, Qt::Key_Return);
    } else if (reach == QLatin1String("program")) {
        edit->setFocus();
    } else {
        // A click before the first digit.
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(2, edit->height() / 2));
    }
    QCOMPARE(QApplication::focusWidget(), edit);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), expected);
}

void TestFieldEntry::keypadDecimalKey_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys"); // each character one key; 'k' before one: on the keypad
    QTest::addColumn<QString>("expected");

    QTest::newRow("amount, keypad point (US layout) types the comma") << "txtCosto"
                                                                      << "k1k.k5"
                                                                      << "1,5";
    QTest::newRow("amount, keypad comma (Italian layout)") << "txtCosto"
                                                           << "k1k,k5"
                                                           << "1,5";
    QTest::newRow("amount, the keyboard's point is still dropped") << "txtCosto"
                                                                   << "1.5"
                                                                   << "15";
    QTest::newRow("number, keypad point dropped") << "txtScorta"
                                                  << "k1k.k5"
                                                  << "15";
    QTest::newRow("text field, keypad point is a point") << "txtNome"
                                                         << "k1k.k5"
                                                         << "1.5";
}

void TestFieldEntry::keypadDecimalKey()
{
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(QString, expected);

    QLineEdit *edit = m_screen->findChild<QLineEdit *>(field);
    edit->setFocus();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
        if (keys.at(i) == u'k') {
            modifiers = Qt::KeypadModifier;
            ++i;
        }
        QTest::keyClick(edit, keys.at(i).toLatin1(), modifiers);
    }
    QCOMPARE(edit->text(), expected);
}

void TestFieldEntry::shortcutsAndTabAreDropped()
{
    QLineEdit *costo = m_screen->edit("txtCosto");
    costo->setFocus();
    QTest::keyClicks(costo, QStringLiteral("5"));
    QTest::keyClick(costo, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), costo);
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    QTest::keyClick(costo, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(costo->text(), QStringLiteral("5"));
    // A text field keeps the usual keys.
    QLineEdit *nome = m_screen->edit("txtNome");
    nome->setFocus();
    QTest::keyClick(nome, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(nome->text(), QStringLiteral("abc"));
}

void TestFieldEntry::highlightShowsOnlyWhileFocused()
{
    QLineEdit *nome = m_screen->edit("txtNome");
    QWidget *eff = m_screen->findChild<QWidget *>(QStringLiteral("effNome"));
    QVERIFY(eff);
    QCOMPARE(m_screen->entry->highlightFor(nome), eff);
    m_screen->edit("txtSigla")->setFocus();
    QVERIFY(!eff->isVisible());
    nome->setFocus();
    QVERIFY(eff->isVisible());
    QCOMPARE(eff->geometry(), nome->geometry().adjusted(-4, -4, 4, 4));
    m_screen->edit("txtCosto")->setFocus();
    QVERIFY(!eff->isVisible());
    QVERIFY(m_screen->findChild<QWidget *>(QStringLiteral("effCosto"))->isVisible());
    // A drop-down box the user picks from has its highlight too.
    auto *mese = m_screen->findChild<QComboBox *>(QStringLiteral("txtMese"));
    mese->setFocus();
    QWidget *effMese = m_screen->findChild<QWidget *>(QStringLiteral("effMese"));
    QVERIFY(effMese);
    QVERIFY(effMese->isVisible());
    QVERIFY(!m_screen->findChild<QWidget *>(QStringLiteral("effCosto"))->isVisible());
}

void TestFieldEntry::leavingRuleRunsWhenFieldIsLeft()
{
    QLineEdit *costo = m_screen->edit("txtCosto");
    QLineEdit *scorta = m_screen->edit("txtScorta");
    costo->setFocus();
    QTest::keyClicks(costo, QStringLiteral("3,14159"));
    scorta->setFocus();
    QCOMPARE(costo->text(), QStringLiteral("3,1416"));
    // Text that arrives by pasting with the mouse is not filtered; leaving cleans it.
    scorta->setText(QStringLiteral("12abc"));
    costo->setFocus();
    QCOMPARE(scorta->text(), QStringLiteral("0"));
    costo->setText(QStringLiteral("dieci"));
    scorta->setFocus();
    QCOMPARE(costo->text(), QStringLiteral("0,00"));
}

void TestFieldEntry::imageButtonKeepsFocusAndPendingRule()
{
    QString seenByButton;
    connect(m_screen->cmdSalva, &QToolButton::clicked, this,
        [&] { seenByButton = m_screen->edit("txtCosto")->text(); });
    QString seenByPush;
    connect(m_screen->btnCalcola, &QPushButton::clicked, this,
        [&] { seenByPush = m_screen->edit("txtCosto")->text(); });

    QLineEdit *costo = m_screen->edit("txtCosto");
    costo->setFocus();
    QTest::keyClicks(costo, QStringLiteral("3,14159"));
    QTest::mouseClick(m_screen->cmdSalva, Qt::LeftButton);
    QCOMPARE(seenByButton, QStringLiteral("3,14159"));
    QCOMPARE(QApplication::focusWidget(), costo);
    QCOMPARE(costo->text(), QStringLiteral("3,14159"));

    // A push button takes the focus on press, so the leaving rule runs before its action.
    QTest::mouseClick(m_screen->btnCalcola, Qt::LeftButton);
    QCOMPARE(seenByPush, QStringLiteral("3,1416"));
}

void TestFieldEntry::upperCaseFieldChangesWhileTyping()
{
    QLineEdit *sigla = m_screen->edit("txtSigla");
    sigla->setFocus();
    QTest::keyClicks(sigla, QStringLiteral("mi "));
    QCOMPARE(sigla->text(), QStringLiteral("MI"));
    QTest::keyClicks(sigla, QStringLiteral("x"));
    QCOMPARE(sigla->text(), QStringLiteral("MIX"));
}

void TestFieldEntry::hintsFollowTheMouse()
{
    QLabel *info = m_screen->panInfo;
    QCOMPARE(info->text(), QStringLiteral("Pronto"));
    QTest::mouseMove(m_screen->cmdSalva, m_screen->cmdSalva->rect().center());
    QTRY_COMPARE(info->text(), QStringLiteral("Salva la scheda."));
    // Over a field or a label the last hint stays.
    QTest::mouseMove(m_screen->edit("txtNome"), QPoint(5, 5));
    QTest::mouseMove(m_screen->label, QPoint(2, 2));
    QCOMPARE(info->text(), QStringLiteral("Salva la scheda."));
    // Over a section of the background the bar empties.
    const QPoint free(m_screen->section->width() - 3, m_screen->section->height() - 3);
    QTest::mouseMove(m_screen->section, free);
    QTRY_COMPARE(info->text(), QString());
    QTest::mouseMove(m_screen->btnCalcola, m_screen->btnCalcola->rect().center());
    QTRY_COMPARE(info->text(), QStringLiteral("Calcola il prezzo."));
}

void TestFieldEntry::typingLimit_data()
{
    QTest::addColumn<QString>("programText"); // set with setText before the user acts
    QTest::addColumn<int>("cursor"); // -1: at the end; -2: the whole text selected
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("backspaces");
    QTest::addColumn<QString>("expected");
    QTest::newRow("typing stops at the limit")
        << QString() << -1 << "abcdefg" << QString() << 0 << "abcde";
    QTest::newRow("a paste is cut to the room left")
        << "ab" << 1 << QString() << "XYZW" << 0 << "aXYZb";
    QTest::newRow("typing over a selection")
        << "abc" << -2 << "wxyz12" << QString() << 0 << "wxyz1";
    QTest::newRow("the program's text shows whole")
        << "abcdefghij" << -1 << QString() << QString() << 0 << "abcdefghij";
    QTest::newRow("nothing typed into a longer text of the program") << "abcdefghij" << 3 << "x"
                                                                     << "YZ" << 0 << "abcdefghij";
    QTest::newRow("a longer text of the program can be shortened")
        << "abcdefghij" << -1 << QString() << QString() << 2 << "abcdefgh";
    QTest::newRow("room made by deleting can be typed into")
        << "abcdefghij" << -1 << "xyz" << QString() << 6 << "abcdx";
}

void TestFieldEntry::typingLimit()
{
    QFETCH(QString, programText);
    QFETCH(int, cursor);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(int, backspaces);
    QFETCH(QString, expected);

    QLineEdit *edit = m_screen->edit("txtBreve");
    QCOMPARE(FieldEntry::typingLimit(edit), 5);
    edit->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), edit);
    edit->setText(programText);
    QCOMPARE(edit->text(), programText);
    if (cursor == -2)
        edit->selectAll();
    else if (cursor >= 0)
        edit->setCursorPosition(cursor);
    for (int i = 0; i < backspaces; ++i)
        QTest::keyClick(edit, Qt::Key_Backspace);
    typeText(edit, typed);
    if (!pasted.isEmpty()) {
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(edit->text(), expected);
}

void TestFieldEntry::productCardShowsProgramTextWhole_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("button"); // pressed after typing; empty: Enter leaves the field
    QTest::addColumn<QString>("shownField");
    QTest::addColumn<QString>("shown");
    // 1131701 x 107742797: eighteen characters in a field of fifteen.
    QTest::newRow("a computed value") << "txtCosto"
                                      << "1131701"
                                      << "107742797"
                                      << "btnValore"
                                      << "txtValore"
                                      << "121932631107697,00";
    QTest::newRow("a cost left with the four-decimal rule") << "txtCosto"
                                                            << "12345678901234"
                                                            << "0" << QString() << "txtCosto"
                                                            << "12345678901234,00";
}

void TestFieldEntry::productCardShowsProgramTextWhole()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, stock);
    QFETCH(QString, button);
    QFETCH(QString, shownField);
    QFETCH(QString, shown);

    TempProgramFolder folder;
    TfrmMagazzino card;
    card.show();
    card.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&card));
    card.findChild<QLineEdit *>(QStringLiteral("txtGiacenza"))->setText(stock);
    auto *edit = card.findChild<QLineEdit *>(field);
    edit->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), edit);
    edit->clear();
    typeText(edit, typed);
    QCOMPARE(edit->text(), typed);
    if (button.isEmpty())
        QTest::keyClick(edit, Qt::Key_Return);
    else
        QTest::mouseClick(card.findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(card.findChild<QLineEdit *>(shownField)->text(), shown);
    QVERIFY(m_errors.isEmpty());
}

void TestFieldEntry::misconfiguredName_data()
{
    QTest::addColumn<int>("call");
    QTest::addColumn<QString>("name");
    const QString missing = QStringLiteral("txtNessuno");
    QTest::newRow("enter order") << 0 << missing;
    QTest::newRow("enter target") << 1 << QStringLiteral("btnNessuno");
    QTest::newRow("amount field") << 2 << missing;
    QTest::newRow("number field") << 3 << missing;
    QTest::newRow("upper-case field") << 4 << missing;
    QTest::newRow("leaving rule") << 5 << missing;
    QTest::newRow("key hook") << 6 << missing;
    QTest::newRow("hint") << 7 << QStringLiteral("cmdNessuno");
    QTest::newRow("background") << 8 << QStringLiteral("shpNessuno");
    QTest::newRow("typing limit") << 9 << missing;
}

void TestFieldEntry::misconfiguredName()
{
    QFETCH(int, call);
    QFETCH(QString, name);
    // The fixture itself is configured right.
    QCOMPARE(m_errors, QStringList());

    FieldEntry *entry = m_screen->entry;
    const QString nome = QStringLiteral("txtNome");
    switch (call) {
    case 0:
        entry->setEnterOrder({ nome, name });
        break;
    case 1:
        entry->setEnterTarget(nome, name);
        break;
    case 2:
        entry->addAmountFields({ name });
        break;
    case 3:
        entry->addNumberFields({ name });
        break;
    case 4:
        entry->addUpperCaseFields({ name });
        break;
    case 5:
        entry->setLeavingRule(name, [](QLineEdit *) {});
        break;
    case 6:
        entry->setKeyHook(name, [](QKeyEvent *) { return false; });
        break;
    case 7:
        entry->setHints({ { name, QStringLiteral("Suggerimento.") } });
        break;
    case 8:
        entry->addBackground({ name });
        break;
    case 9:
        entry->setTypingLimit(name, 3);
        break;
    }
    QCOMPARE(m_errors,
        QStringList {
            QStringLiteral("FieldEntry: TfrmProva has no control named \"%1\"").arg(name) });
}

// Without a handler of its own a misconfigured field entry ends the program in the test
// environment (critical messages are fatal there), so the test of that screen fails.
void TestFieldEntry::misconfigurationEndsATestRun()
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_FATAL_CRITICALS"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--misconfigured") });
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QVERIFY(child.readAllStandardError().contains(
        "FieldEntry: TfrmProva has no control named \"btnNessuno\""));
}

// With --misconfigured the program only builds the small screen with an Enter target that
// does not exist, and must not get past it.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], "--misconfigured") == 0) {
        Screen screen;
        screen.entry->setEnterTarget(QStringLiteral("txtNome"), QStringLiteral("btnNessuno"));
        return 0;
    }
    TestFieldEntry test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_fieldentry.moc"
