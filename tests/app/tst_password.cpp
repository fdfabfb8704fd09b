#include "app/AccessPassword.h"
#include "app/CambiaPassword.h"
#include "app/Crypt.h"
#include "app/Password.h"
#include "app/Screens.h"
#include "common/MessageRecorder.h"
#include "common/TempProgramFolder.h"
#include "common/UserInput.h"
#include "shell/ResidentScreens.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// The main menu as the password screen sees it: a resident screen named TfrmAvvio.
class MenuStandIn : public QWidget
{
public:
    MenuStandIn()
    {
        setObjectName(QStringLiteral("TfrmAvvio"));
        Screens::registerResident(this);
    }
    ~MenuStandIn() override { Screens::unregisterResident(this); }
};

QByteArray passwordFileFor(const QString &storedPassword)
{
    return "; installazione\r\n[Accesso]\r\nValore=" + Crypt::scramble(storedPassword).toLatin1()
        + "\r\n";
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

template <typename T = QWidget> T *child(const QWidget *screen, const char *name)
{
    return screen->findChild<T *>(QString::fromLatin1(name));
}

QLineEdit *edit(const QWidget *screen, const char *name)
{
    return child<QLineEdit>(screen, name);
}

QAbstractButton *button(const QWidget *screen, const char *name)
{
    return child<QAbstractButton>(screen, name);
}

} // namespace

class TestPassword : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void pictureHintsAtTheInitialPassword_data();
    void pictureHintsAtTheInitialPassword();
    void hintEndsWithTheChange();
    void okFollowsTheEntry_data();
    void okFollowsTheEntry();
    void enterOnABlankEntryDoesNothing();
    void wrongPassword_data();
    void wrongPassword();
    void unreadableStoredPassword_data();
    void unreadableStoredPassword();
    void rightPasswordShowsTheMenu_data();
    void rightPasswordShowsTheMenu();
    void pastedTextWithLineBreaks();
    void esciEndsTheProgram();

    void changeScreenOpensEmpty();
    void changeOkFollowsTheThreeBoxes();
    void changeEnterGoesRoundAndNeverPressesOk();
    void changeWithAWrongOldPassword();
    void changeWithAConfirmationInAnotherCase();
    void changeRefusesWhatCannotBeStored_data();
    void changeRefusesWhatCannotBeStored();
    void changeFailsWhenTheFileCannotBeRead();
    void changeSucceedsAndOnlyTheNewPasswordEnters();
    void chiudiReturnsToAnEmptiedPasswordScreen();

private:
    // A password screen over a program folder holding PRIMA2026 as its password.
    bool openScreen();
    TfrmCambiaPassword *openChangeScreen();
    QByteArray fileContent() const
    {
        return m_folder->readAll(AccessPassword::kFileName.toString());
    }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<MessageRecorder> m_messages;
    std::unique_ptr<MenuStandIn> m_menu;
    std::unique_ptr<TfrmPassword> m_screen;
};

void TestPassword::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_messages = std::make_unique<MessageRecorder>();
    m_menu = std::make_unique<MenuStandIn>();
    QVERIFY(writeFile(AccessPassword::filePath(), passwordFileFor(QStringLiteral("PRIMA2026"))));
}

void TestPassword::cleanup()
{
    m_screen.reset();
    m_menu.reset();
    m_messages.reset();
    m_folder.reset();
}

bool TestPassword::openScreen()
{
    m_screen = std::make_unique<TfrmPassword>();
    // As the shell does: an accepted password shows the main menu.
    connect(m_screen.get(), &TfrmPassword::accepted, showMainMenu);
    m_screen->showEmpty();
    return QTest::qWaitForWindowActive(m_screen.get());
}

TfrmCambiaPassword *TestPassword::openChangeScreen()
{
    QTest::mouseClick(button(m_screen.get(), "btnCambiaPassword"), Qt::LeftButton);
    TfrmCambiaPassword *change = m_screen->changeScreen();
    // The dialog counts as active while its hidden parent still holds the focus window:
    // wait until it is the application's active window itself.
    if (!change || !QTest::qWaitFor([change] { return QApplication::activeWindow() == change; }))
        return nullptr;
    return change;
}

void TestPassword::controls_data()
{
    QTest::addColumn<bool>("changeScreen");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");

    static const struct
    {
        bool changeScreen;
        const char *name;
        const char *className;
        const char *text;
    } rows[] = {
        { false, "imgLogo", "QLabel", "" },
        { false, "lblRigo05", "QLabel", "Immetti la password e premi OK." },
        { false, "txtPassword", "QLineEdit", "" },
        { false, "cmdOK", "QToolButton", "OK" },
        { false, "cmdEsci", "QToolButton", "Esci" },
        { false, "btnCambiaPassword", "QPushButton", "Cambia password" },
        { true, "imgLogo", "QLabel", "" },
        { true, "lblRigo05", "QLabel", "Vecchia password:" },
        { true, "txtPasswordOld", "QLineEdit", "" },
        { true, "lblRigo06", "QLabel", "Nuova password:" },
        { true, "txtPasswordNew", "QLineEdit", "" },
        { true, "lblRigo07", "QLabel", "Conferma nuova password:" },
        { true, "txtConferma", "QLineEdit", "" },
        { true, "cmdOK", "QToolButton", "OK" },
        { true, "cmdEsci", "QToolButton", "Chiudi" },
    };
    for (const auto &row : rows) {
        QTest::newRow(qPrintable(QString::fromLatin1(row.changeScreen ? "change " : "password ")
            + QString::fromLatin1(row.name)))
            << row.changeScreen << QString::fromLatin1(row.name)
            << QString::fromLatin1(row.className) << QString::fromUtf8(row.text);
    }
}

void TestPassword::controls()
{
    QFETCH(bool, changeScreen);
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, text);

    TfrmPassword password;
    TfrmCambiaPassword change;
    QWidget *screen = changeScreen ? static_cast<QWidget *>(&change) : &password;
    QCOMPARE(screen->objectName(),
        changeScreen ? QStringLiteral("TfrmCambiaPassword") : QStringLiteral("TfrmPassword"));
    QCOMPARE(screen->windowTitle(),
        changeScreen ? QStringLiteral(" Cambia password")
                     : QStringLiteral(" Merventa 2.0 - Accesso"));
    // Fixed size, no window buttons.
    QCOMPARE(screen->minimumSize(), screen->maximumSize());
    QVERIFY(!(screen->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(screen->windowFlags() & Qt::WindowMinMaxButtonsHint));

    QWidget *control = screen->findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), className);
    if (auto *label = qobject_cast<QLabel *>(control); label && !text.isEmpty())
        QCOMPARE(label->text(), text);
    if (auto *push = qobject_cast<QAbstractButton *>(control))
        QCOMPARE(push->text(), text);
    if (name == QStringLiteral("cmdOK"))
        QVERIFY(!control->isEnabled());
    if (name.startsWith(QStringLiteral("cmd")))
        QCOMPARE(control->focusPolicy(), Qt::NoFocus);
    if (auto *box = qobject_cast<QLineEdit *>(control)) {
        QCOMPARE(box->echoMode(), QLineEdit::Password);
        QVERIFY(box->font().bold());
        QCOMPARE(box->font().pointSize(), 14);
        QVERIFY(box->text().isEmpty());
        // Its focus highlight, behind it.
        QVERIFY(screen->findChild<QWidget *>(QStringLiteral("eff") + name.mid(3)));
    }
}

// The picture never shows a password; it says where the initial one is written only while
// the stored password is still the initial one.
void TestPassword::pictureHintsAtTheInitialPassword_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no password file
    QTest::addColumn<bool>("hint");
    QTest::newRow("initial password") << passwordFileFor(QStringLiteral("SCAFFALE2026")) << true;
    QTest::newRow("changed password") << passwordFileFor(QStringLiteral("PRIMA2026")) << false;
    QTest::newRow("no password file") << QByteArray() << false;
    QTest::newRow("unreadable file") << QByteArray("[Accesso]\nValore=3F9XD3\n") << false;
}

void TestPassword::pictureHintsAtTheInitialPassword()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, hint);
    QVERIFY(QFile::remove(AccessPassword::filePath()));
    if (!content.isNull())
        QVERIFY(writeFile(AccessPassword::filePath(), content));
    TfrmPassword password;
    const auto *logo = child<QLabel>(&password, "imgLogo");
    QVERIFY(!logo->pixmap().isNull());
    const QString shown = logo->accessibleDescription();
    QVERIFY2(shown.contains(QStringLiteral("Password")), qPrintable(shown));
    QVERIFY2(!shown.contains(AccessPassword::kInitialPassword.toString(), Qt::CaseInsensitive),
        qPrintable(shown));
    QVERIFY2(!shown.contains(QStringLiteral("PRIMA2026"), Qt::CaseInsensitive), qPrintable(shown));
    QCOMPARE(shown.contains(QStringLiteral("Primo accesso: la password iniziale è riportata nelle "
                                           "note di installazione (file README).")),
        hint);

    TfrmCambiaPassword change;
    const QString changeShown = child<QLabel>(&change, "imgLogo")->accessibleDescription();
    QVERIFY(changeShown.contains(QStringLiteral("Cambia password")));
    QVERIFY(changeShown.contains(QStringLiteral(
        "Per cambiare la password immetti i dati nei campi sottostanti e premi OK.")));
}

// Once the initial password is changed the screen no longer hints at it.
void TestPassword::hintEndsWithTheChange()
{
    QVERIFY(writeFile(AccessPassword::filePath(), passwordFileFor(QStringLiteral("SCAFFALE2026"))));
    QVERIFY(openScreen());
    const auto *logo = child<QLabel>(m_screen.get(), "imgLogo");
    QVERIFY(logo->accessibleDescription().contains(QStringLiteral("README")));
    TfrmCambiaPassword *change = openChangeScreen();
    QVERIFY(change);
    typeText(edit(change, "txtPasswordOld"), QStringLiteral("scaffale2026"));
    typeText(edit(change, "txtPasswordNew"), QStringLiteral("Bottega-2027"));
    typeText(edit(change, "txtConferma"), QStringLiteral("Bottega-2027"));
    QTest::mouseClick(button(change, "cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!m_screen->changeScreen());
    QVERIFY(m_screen->isVisible());
    QVERIFY2(!logo->accessibleDescription().contains(QStringLiteral("README")),
        qPrintable(logo->accessibleDescription()));
}

void TestPassword::okFollowsTheEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("nothing") << QString() << false;
    QTest::newRow("blanks") << QStringLiteral("   ") << false;
    QTest::newRow("a letter") << QStringLiteral("a") << true;
    QTest::newRow("blanks around a letter") << QStringLiteral(" a ") << true;
    QTest::newRow("accented letter") << QStringLiteral("è") << true;
}

void TestPassword::okFollowsTheEntry()
{
    QFETCH(QString, typed);
    QFETCH(bool, enabled);

    QVERIFY(openScreen());
    QLineEdit *entry = edit(m_screen.get(), "txtPassword");
    QAbstractButton *ok = button(m_screen.get(), "cmdOK");
    QCOMPARE(QApplication::focusWidget(), entry);
    QVERIFY(m_screen->findChild<QWidget *>(QStringLiteral("effPassword"))->isVisible());

    typeText(entry, typed);
    QCOMPARE(ok->isEnabled(), enabled);
    // Deleting everything typed disables it again.
    for (qsizetype i = 0; i < typed.size(); ++i)
        QTest::keyClick(entry, Qt::Key_Backspace);
    QVERIFY(entry->text().isEmpty());
    QVERIFY(!ok->isEnabled());
    QCOMPARE(m_messages->count(), 0);
}

void TestPassword::enterOnABlankEntryDoesNothing()
{
    QVERIFY(openScreen());
    QLineEdit *entry = edit(m_screen.get(), "txtPassword");
    typeText(entry, QStringLiteral("  "));
    QTest::keyClick(entry, Qt::Key_Return);
    QTest::keyClick(entry, Qt::Key_Enter);
    QCOMPARE(entry->text(), QStringLiteral("  "));
    QCOMPARE(m_messages->count(), 0);
    QVERIFY(m_screen->isVisible());
    QVERIFY(!m_menu->isVisible());
}

void TestPassword::wrongPassword_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("withEnter");

    QTest::newRow("OK") << QStringLiteral("prima2025") << false;
    QTest::newRow("Enter") << QStringLiteral("prima2025") << true;
    QTest::newRow("blank inside") << QStringLiteral("prima 2026") << true;
    QTest::newRow("accented lower case") << QStringLiteral("prìma2026") << true;
}

void TestPassword::wrongPassword()
{
    QFETCH(QString, typed);
    QFETCH(bool, withEnter);

    QVERIFY(openScreen());
    QLineEdit *entry = edit(m_screen.get(), "txtPassword");
    typeText(entry, typed);
    if (withEnter)
        QTest::keyClick(entry, Qt::Key_Return);
    else
        QTest::mouseClick(button(m_screen.get(), "cmdOK"), Qt::LeftButton);

    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_messages->lastKind(), Messages::Kind::Plain);
    QCOMPARE(m_messages->lastText(), QStringLiteral("Attenzione: password errata."));
    QVERIFY(entry->text().isEmpty());
    QVERIFY(!button(m_screen.get(), "cmdOK")->isEnabled());
    QCOMPARE(QApplication::focusWidget(), entry);
    QVERIFY(m_screen->isVisible());
    QVERIFY(!m_menu->isVisible());
}

void TestPassword::unreadableStoredPassword_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("message");

    const QString readError = AccessPassword::kReadError.toString();
    const QString wrong = QStringLiteral("Attenzione: password errata.");
    QTest::newRow("missing file") << QByteArray() << false << wrong;
    QTest::newRow("empty file") << QByteArray("") << false << wrong;
    QTest::newRow("binary garbage") << QByteArray("\x00\x01\xFE\xFF\r\n\x1A", 7) << false << wrong;
    QTest::newRow("non-hex pair") << QByteArray("[Accesso]\nValore=3F9XD3\n") << false << readError;
    QTest::newRow("folder in place of the file") << QByteArray() << true << readError;
}

void TestPassword::unreadableStoredPassword()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, folder);
    QFETCH(QString, message);

    QVERIFY(QFile::remove(AccessPassword::filePath()));
    if (folder)
        QVERIFY(QDir(m_folder->path()).mkdir(AccessPassword::kFileName.toString()));
    else if (!content.isNull())
        QVERIFY(writeFile(AccessPassword::filePath(), content));

    QVERIFY(openScreen());
    QLineEdit *entry = edit(m_screen.get(), "txtPassword");
    typeText(entry, QStringLiteral("prima2026"));
    QTest::keyClick(entry, Qt::Key_Return);

    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_messages->lastKind(), Messages::Kind::Plain);
    QCOMPARE(m_messages->lastText(), message);
    // A read error leaves the screen as it was; a wrong password empties the entry.
    const bool readError = message == AccessPassword::kReadError.toString();
    QCOMPARE(entry->text(), readError ? QStringLiteral("prima2026") : QString());
    QVERIFY(m_screen->isVisible());
    QVERIFY(!m_menu->isVisible());
    if (folder)
        QVERIFY(QFileInfo(AccessPassword::filePath()).isDir());
}

void TestPassword::rightPasswordShowsTheMenu_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("withEnter");

    QTest::newRow("OK") << QStringLiteral("PRIMA2026") << false;
    QTest::newRow("Enter") << QStringLiteral("PRIMA2026") << true;
    QTest::newRow("lower case") << QStringLiteral("prima2026") << true;
    QTest::newRow("blanks around") << QStringLiteral("  Prima2026 ") << false;
}

void TestPassword::rightPasswordShowsTheMenu()
{
    QFETCH(QString, typed);
    QFETCH(bool, withEnter);

    QVERIFY(openScreen());
    QLineEdit *entry = edit(m_screen.get(), "txtPassword");
    typeText(entry, typed);
    if (withEnter)
        QTest::keyClick(entry, Qt::Key_Enter);
    else
        QTest::mouseClick(button(m_screen.get(), "cmdOK"), Qt::LeftButton);

    QCOMPARE(m_messages->count(), 0);
    QVERIFY(m_menu->isVisible());
    QVERIFY(!m_screen->isVisible());
    QVERIFY(entry->text().isEmpty());
    QCOMPARE(fileContent(), passwordFileFor(QStringLiteral("PRIMA2026")));
}

void TestPassword::pastedTextWithLineBreaks()
{
    QVERIFY(openScreen());
    QLineEdit *entry = edit(m_screen.get(), "txtPassword");

    // A pasted password that spans lines, then one of 10,000 characters: each is checked
    // like any other entry.
    QApplication::clipboard()->setText(QStringLiteral("prima\r\n2026\n"));
    QTest::keyClick(entry, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!entry->text().isEmpty());
    QTest::keyClick(entry, Qt::Key_Return);
    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_messages->lastText(), QStringLiteral("Attenzione: password errata."));
    QVERIFY(entry->text().isEmpty());

    QApplication::clipboard()->setText(QString(10000, u'x'));
    QTest::keyClick(entry, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(entry->text().size(), 10000);
    QTest::keyClick(entry, Qt::Key_Return);
    QCOMPARE(m_messages->count(), 2);
    QCOMPARE(m_messages->lastText(), QStringLiteral("Attenzione: password errata."));
    QVERIFY(m_screen->isVisible());
    QCOMPARE(fileContent(), passwordFileFor(QStringLiteral("PRIMA2026")));
}

void TestPassword::esciEndsTheProgram()
{
    QVERIFY(openScreen());
    QTimer::singleShot(0, m_screen.get(),
        [this] { QTest::mouseClick(button(m_screen.get(), "cmdEsci"), Qt::LeftButton); });
    // Should Esci not end the program, this ends the event loop with another code.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!m_screen->isVisible());
    QVERIFY(!m_menu->isVisible());
}

void TestPassword::changeScreenOpensEmpty()
{
    QVERIFY(openScreen());
    typeText(edit(m_screen.get(), "txtPassword"), QStringLiteral("abc"));
    for (int round = 0; round < 2; ++round) {
        TfrmCambiaPassword *change = openChangeScreen();
        QVERIFY(change);
        QVERIFY(!m_screen->isVisible());
        for (const char *name : { "txtPasswordOld", "txtPasswordNew", "txtConferma" })
            QVERIFY2(edit(change, name)->text().isEmpty(), name);
        QVERIFY(!button(change, "cmdOK")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), edit(change, "txtPasswordOld"));
        typeText(edit(change, "txtPasswordOld"), QStringLiteral("x"));
        typeText(edit(change, "txtPasswordNew"), QStringLiteral("y"));
        QTest::mouseClick(button(change, "cmdEsci"), Qt::LeftButton);
        QTRY_VERIFY(!m_screen->changeScreen());
    }
    QCOMPARE(m_messages->count(), 0);
}

void TestPassword::changeOkFollowsTheThreeBoxes()
{
    QVERIFY(openScreen());
    TfrmCambiaPassword *change = openChangeScreen();
    QVERIFY(change);
    QAbstractButton *ok = button(change, "cmdOK");
    QLineEdit *oldBox = edit(change, "txtPasswordOld");
    QLineEdit *newBox = edit(change, "txtPasswordNew");
    QLineEdit *confirmBox = edit(change, "txtConferma");

    typeText(oldBox, QStringLiteral("a"));
    QVERIFY(!ok->isEnabled());
    typeText(newBox, QStringLiteral("b"));
    QVERIFY(!ok->isEnabled());
    typeText(confirmBox, QStringLiteral("  "));
    QVERIFY(!ok->isEnabled());
    typeText(confirmBox, QStringLiteral("c"));
    QVERIFY(ok->isEnabled());
    QTest::keyClick(oldBox, Qt::Key_Backspace);
    QVERIFY(!ok->isEnabled());
    // No rule on length or content: one character each is enough.
    typeText(oldBox, QStringLiteral("z"));
    QVERIFY(ok->isEnabled());
    QCOMPARE(m_messages->count(), 0);
}

void TestPassword::changeEnterGoesRoundAndNeverPressesOk()
{
    QVERIFY(openScreen());
    TfrmCambiaPassword *change = openChangeScreen();
    QVERIFY(change);
    typeText(edit(change, "txtPasswordOld"), QStringLiteral("prima2026"));
    typeText(edit(change, "txtPasswordNew"), QStringLiteral("nuova"));
    typeText(edit(change, "txtConferma"), QStringLiteral("nuova"));
    QVERIFY(button(change, "cmdOK")->isEnabled());

    edit(change, "txtPasswordOld")->setFocus();
    for (const char *next : { "txtPasswordNew", "txtConferma", "txtPasswordOld", "txtPasswordNew",
             "txtConferma", "txtPasswordOld" }) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), edit(change, next));
        QVERIFY(change->findChild<QWidget *>(QStringLiteral("eff") + QString::fromLatin1(next + 3))
                    ->isVisible());
    }
    QCOMPARE(m_messages->count(), 0);
    QCOMPARE(edit(change, "txtConferma")->text(), QStringLiteral("nuova"));
    QVERIFY(change->isVisible());
    QCOMPARE(fileContent(), passwordFileFor(QStringLiteral("PRIMA2026")));
}

void TestPassword::changeWithAWrongOldPassword()
{
    QVERIFY(openScreen());
    TfrmCambiaPassword *change = openChangeScreen();
    QVERIFY(change);
    typeText(edit(change, "txtPasswordOld"), QStringLiteral("prima2025"));
    typeText(edit(change, "txtPasswordNew"), QStringLiteral("nuova"));
    typeText(edit(change, "txtConferma"), QStringLiteral("nuova"));
    QTest::mouseClick(button(change, "cmdOK"), Qt::LeftButton);

    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_messages->lastKind(), Messages::Kind::Plain);
    QCOMPARE(m_messages->lastText(), QStringLiteral("Attenzione: vecchia password errata."));
    QVERIFY(edit(change, "txtPasswordOld")->text().isEmpty());
    QCOMPARE(edit(change, "txtPasswordNew")->text(), QStringLiteral("nuova"));
    QCOMPARE(QApplication::focusWidget(), edit(change, "txtPasswordOld"));
    QVERIFY(!button(change, "cmdOK")->isEnabled());
    QVERIFY(change->isVisible());
    QCOMPARE(fileContent(), passwordFileFor(QStringLiteral("PRIMA2026")));
}

void TestPassword::changeWithAConfirmationInAnotherCase()
{
    QVERIFY(openScreen());
    TfrmCambiaPassword *change = openChangeScreen();
    QVERIFY(change);
    typeText(edit(change, "txtPasswordOld"), QStringLiteral("prima2026"));
    typeText(edit(change, "txtPasswordNew"), QStringLiteral("nuova2027"));
    typeText(edit(change, "txtConferma"), QStringLiteral("NUOVA2027"));
    QTest::mouseClick(button(change, "cmdOK"), Qt::LeftButton);

    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_messages->lastKind(), Messages::Kind::Plain);
    QCOMPARE(m_messages->lastText(),
        QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. "
                       "E' necessario reinserire entrambi i valori."));
    QCOMPARE(edit(change, "txtPasswordOld")->text(), QStringLiteral("prima2026"));
    QVERIFY(edit(change, "txtPasswordNew")->text().isEmpty());
    QVERIFY(edit(change, "txtConferma")->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), edit(change, "txtPasswordNew"));
    QVERIFY(change->isVisible());
    QCOMPARE(fileContent(), passwordFileFor(QStringLiteral("PRIMA2026")));
}

void TestPassword::changeRefusesWhatCannotBeStored_data()
{
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("message");

    QTest::newRow("256 characters") << QString(256, u'k') << AccessPassword::kTooLong.toString();
    QTest::newRow("10,000 characters")
        << QString(10000, u'k') << AccessPassword::kTooLong.toString();
    QTest::newRow("emoji") << QStringLiteral("casa\U0001F3E0casa")
                           << AccessPassword::kNotAllowed.toString();
    QTest::newRow("Greek letter") << QStringLiteral("omega\u03C9")
                                  << AccessPassword::kNotAllowed.toString();
    QTest::newRow("euro sign") << QStringLiteral("costo€")
                               << AccessPassword::kNotAllowed.toString();
}

void TestPassword::changeRefusesWhatCannotBeStored()
{
    QFETCH(QString, newPassword);
    QFETCH(QString, message);

    QVERIFY(openScreen());
    TfrmCambiaPassword *change = openChangeScreen();
    QVERIFY(change);
    typeText(edit(change, "txtPasswordOld"), QStringLiteral("prima2026"));
    for (const char *name : { "txtPasswordNew", "txtConferma" }) {
        // Long texts are pasted, short ones typed.
        if (newPassword.size() > 100) {
            QApplication::clipboard()->setText(newPassword);
            QTest::keyClick(edit(change, name), Qt::Key_V, Qt::ControlModifier);
        } else {
            typeText(edit(change, name), newPassword);
        }
        QCOMPARE(edit(change, name)->text(), newPassword);
    }
    QTest::mouseClick(button(change, "cmdOK"), Qt::LeftButton);

    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_messages->lastKind(), Messages::Kind::Plain);
    QCOMPARE(m_messages->lastText(), message);
    QVERIFY(message.startsWith(QStringLiteral("Attenzione: ")));
    // Nothing written, every box kept for correction.
    QCOMPARE(fileContent(), passwordFileFor(QStringLiteral("PRIMA2026")));
    QCOMPARE(edit(change, "txtPasswordOld")->text(), QStringLiteral("prima2026"));
    QCOMPARE(edit(change, "txtPasswordNew")->text(), newPassword);
    QCOMPARE(edit(change, "txtConferma")->text(), newPassword);
    QVERIFY(change->isVisible());
    QVERIFY(!m_screen->isVisible());
}

void TestPassword::changeFailsWhenTheFileCannotBeRead()
{
    QVERIFY(openScreen());
    TfrmCambiaPassword *change = openChangeScreen();
    QVERIFY(change);
    QVERIFY(QFile::remove(AccessPassword::filePath()));
    QVERIFY(QDir(m_folder->path()).mkdir(AccessPassword::kFileName.toString()));

    typeText(edit(change, "txtPasswordOld"), QStringLiteral("prima2026"));
    typeText(edit(change, "txtPasswordNew"), QStringLiteral("nuova"));
    typeText(edit(change, "txtConferma"), QStringLiteral("nuova"));
    QTest::mouseClick(button(change, "cmdOK"), Qt::LeftButton);

    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_messages->lastKind(), Messages::Kind::Plain);
    QCOMPARE(m_messages->lastText(),
        QStringLiteral("Attenzione: si è verificato un errore durante la procedura di "
                       "modifica della password. Si consiglia di reinstallare il software."));
    QVERIFY(change->isVisible());
    QVERIFY(QFileInfo(AccessPassword::filePath()).isDir());
    QCOMPARE(edit(change, "txtPasswordNew")->text(), QStringLiteral("nuova"));
}

void TestPassword::changeSucceedsAndOnlyTheNewPasswordEnters()
{
    QVERIFY(openScreen());
    TfrmCambiaPassword *change = openChangeScreen();
    QVERIFY(change);
    typeText(edit(change, "txtPasswordOld"), QStringLiteral(" Prima2026"));
    typeText(edit(change, "txtPasswordNew"), QStringLiteral("Scaffale 9"));
    typeText(edit(change, "txtConferma"), QStringLiteral("Scaffale 9 "));
    QTest::mouseClick(button(change, "cmdOK"), Qt::LeftButton);

    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_messages->lastKind(), Messages::Kind::Plain);
    QCOMPARE(
        m_messages->lastText(), QStringLiteral("Modifica della password completata con successo."));
    QTRY_VERIFY(!m_screen->changeScreen());
    QVERIFY(m_screen->isVisible());
    QLineEdit *entry = edit(m_screen.get(), "txtPassword");
    QVERIFY(entry->text().isEmpty());
    QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
    QCOMPARE(QApplication::focusWidget(), entry);
    QCOMPARE(fileContent(), passwordFileFor(QStringLiteral("SCAFFALE 9")));

    typeText(entry, QStringLiteral("prima2026"));
    QTest::keyClick(entry, Qt::Key_Return);
    QCOMPARE(m_messages->lastText(), QStringLiteral("Attenzione: password errata."));
    QVERIFY(!m_menu->isVisible());

    typeText(entry, QStringLiteral("scaffale 9"));
    QTest::keyClick(entry, Qt::Key_Return);
    QCOMPARE(m_messages->count(), 2);
    QVERIFY(m_menu->isVisible());
    QVERIFY(!m_screen->isVisible());
}

void TestPassword::chiudiReturnsToAnEmptiedPasswordScreen()
{
    QVERIFY(openScreen());
    QLineEdit *entry = edit(m_screen.get(), "txtPassword");
    typeText(entry, QStringLiteral("prima"));
    TfrmCambiaPassword *change = openChangeScreen();
    QVERIFY(change);
    typeText(edit(change, "txtPasswordOld"), QStringLiteral("prima2026"));
    QTest::mouseClick(button(change, "cmdEsci"), Qt::LeftButton);

    QTRY_VERIFY(!m_screen->changeScreen());
    QVERIFY(m_screen->isVisible());
    QVERIFY(entry->text().isEmpty());
    QVERIFY(!button(m_screen.get(), "cmdOK")->isEnabled());
    QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
    QCOMPARE(QApplication::focusWidget(), entry);
    QCOMPARE(m_messages->count(), 0);
    QCOMPARE(fileContent(), passwordFileFor(QStringLiteral("PRIMA2026")));
}

QTEST_MAIN(TestPassword)
#include "tst_password.moc"
