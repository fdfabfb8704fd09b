#include "app/Avvio.h"
#include "app/Password.h"
#include "app/Screens.h"
#include "common/TempProgramFolder.h"
#include "shell/ResidentScreens.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>

// The start of a run: the resident screens created at once, the password screen shown
// first, and the main menu only after it (or where a test begins).
class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void hiddenScreensWaitForTheirFirstShowing();
    void passwordScreenComesFirst();
    void anAcceptedPasswordShowsTheMenu();
    void testsCanBeginAtTheMainMenu();

private:
    TempProgramFolder m_folder;
};

void TestStartup::initTestCase()
{
    createResidentScreens();
    QVERIFY(Screens::resident<TfrmPassword>());
    QVERIFY(Screens::resident<TfrmAvvio>());
    // Created, not shown: nothing is visible before the start.
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget *window : windows)
        QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
}

void TestStartup::hiddenScreensWaitForTheirFirstShowing()
{
    // The event loop's first turn polishes nothing that is hidden: a card gets its fonts,
    // style sheets and scroll areas when it is first shown (or asked its size).
    QCoreApplication::processEvents();
    QWidget *card = Screens::resident(QStringLiteral("TfrmMagazzino"));
    QVERIFY(card);
    QVERIFY(!card->testAttribute(Qt::WA_WState_Polished));
    QVERIFY(!card->findChild<QScrollArea *>(QStringLiteral("scrpanContainer")));
    card->ensurePolished();
    QVERIFY(card->findChild<QScrollArea *>(QStringLiteral("scrpanContainer")));
}

void TestStartup::passwordScreenComesFirst()
{
    showPasswordScreen();
    auto *password = Screens::resident<TfrmPassword>();
    auto *menu = Screens::resident<TfrmAvvio>();
    QVERIFY(QTest::qWaitForWindowActive(password));
    QVERIFY(!menu->isVisible());
    QCOMPARE(QApplication::focusWidget(),
        password->findChild<QLineEdit *>(QStringLiteral("txtPassword")));
    // Centred on its screen.
    const QPoint centre = password->screen()->availableGeometry().center();
    QVERIFY(qAbs(password->frameGeometry().center().x() - centre.x()) <= 2);
    QVERIFY(qAbs(password->frameGeometry().center().y() - centre.y()) <= 2);
}

void TestStartup::anAcceptedPasswordShowsTheMenu()
{
    auto *password = Screens::resident<TfrmPassword>();
    auto *menu = Screens::resident<TfrmAvvio>();
    QVERIFY(password->isVisible());
    QVERIFY(!menu->isVisible());
    emit password->accepted();
    QVERIFY(menu->isVisible());
    QVERIFY(!password->isVisible());
}

void TestStartup::testsCanBeginAtTheMainMenu()
{
    showMainMenu();
    QVERIFY(Screens::resident<TfrmAvvio>()->isVisible());
    QVERIFY(!Screens::resident<TfrmPassword>()->isVisible());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
