#include "app/Avvio.h"
#include "app/Maker.h"
#include "app/OpenURL.h"
#include "app/Screens.h"
#include "common/ModalProbe.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

// A resident screen as the menu sees it: a top-level window registered under its class.
class DummyScreen : public QWidget
{
public:
    explicit DummyScreen(const QString &screenClass, bool refuseClose = false)
        : m_refuseClose(refuseClose)
    {
        setObjectName(screenClass);
        Screens::registerResident(this);
    }
    ~DummyScreen() override { Screens::unregisterResident(this); }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        if (m_refuseClose)
            event->ignore();
    }

private:
    bool m_refuseClose;
};

QAbstractButton *button(const QWidget *menu, const QString &name)
{
    return menu->findChild<QAbstractButton *>(name);
}

} // namespace

class TestAvvio : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { TMisc::setOpener({}); }

    void controls_data();
    void controls();
    void entries_data();
    void entries();
    void refusedCloseKeepsTheScreen();
    void smallControlsOpenTheirWindows_data();
    void smallControlsOpenTheirWindows();
    void archiviOpensTheArchivesWindow();
    void leavingTheMenuEndsTheProgram_data();
    void leavingTheMenuEndsTheProgram();
    void configuredSite_data();
    void configuredSite();
    void noPlaceholderAddress();
};

void TestAvvio::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");

    static const struct
    {
        const char *name;
        const char *className;
    } rows[] = {
        { "imgClienti", "QToolButton" },
        { "btnClienti", "QPushButton" },
        { "imgFornitori", "QToolButton" },
        { "btnFornitori", "QPushButton" },
        { "imgMagazzino", "QToolButton" },
        { "btnMagazzino", "QPushButton" },
        { "imgRiepilogo", "QToolButton" },
        { "btnRiepilogo", "QPushButton" },
        { "imgCarico", "QToolButton" },
        { "btnCarico", "QPushButton" },
        { "imgScarico", "QToolButton" },
        { "btnScarico", "QPushButton" },
        { "imgInfo", "QToolButton" },
        { "imgGuida", "QToolButton" },
        { "imgCrediti", "QToolButton" },
        { "icoSito", "QToolButton" },
        { "imgEsci", "QToolButton" },
        { "btnArchivi", "QPushButton" },
        { "icoIcona", "QLabel" },
        { "icoTitolo", "QLabel" },
        { "icoVersione", "QLabel" },
        { "icoSottotitolo", "QLabel" },
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name)
                                << QString::fromLatin1(row.className);
}

void TestAvvio::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);

    TfrmAvvio menu;
    QCOMPARE(menu.objectName(), QStringLiteral("TfrmAvvio"));
    QCOMPARE(menu.windowTitle(), QStringLiteral(" Merventa 2.0"));
    const QWidget *control = menu.findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), className);
    // Pictures used as buttons never take the focus.
    if (name.startsWith(QStringLiteral("img")) || name == QStringLiteral("icoSito"))
        QCOMPARE(control->focusPolicy(), Qt::NoFocus);
}

void TestAvvio::entries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("screenClass");

    QTest::newRow("customers") << QStringLiteral("Clienti") << QStringLiteral("TfrmAnagrafica");
    QTest::newRow("suppliers") << QStringLiteral("Fornitori") << QStringLiteral("TfrmFornitori");
    QTest::newRow("products") << QStringLiteral("Magazzino") << QStringLiteral("TfrmMagazzino");
    QTest::newRow("inventory") << QStringLiteral("Riepilogo")
                               << QStringLiteral("TfrmMenuRiepilogo");
    QTest::newRow("loads") << QStringLiteral("Carico") << QStringLiteral("TfrmMenuRiepilogoCarico");
    QTest::newRow("unloads") << QStringLiteral("Scarico")
                             << QStringLiteral("TfrmMenuRiepilogoScarico");
}

void TestAvvio::entries()
{
    QFETCH(QString, entry);
    QFETCH(QString, screenClass);

    TfrmAvvio menu;
    QAbstractButton *picture = button(&menu, QStringLiteral("img") + entry);
    QAbstractButton *push = button(&menu, QStringLiteral("btn") + entry);
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    // Without its screen the entry is there but cannot be used.
    QVERIFY(picture->isVisible() && push->isVisible());
    QVERIFY(!picture->isEnabled() && !push->isEnabled());

    {
        DummyScreen screen(screenClass);
        menu.hide();
        menu.show();
        QVERIFY(picture->isEnabled() && push->isEnabled());

        for (QAbstractButton *opener : { push, picture }) {
            QTest::mouseClick(opener, Qt::LeftButton);
            QVERIFY(screen.isVisible());
            QVERIFY(!menu.isVisible());
            screen.close();
            QVERIFY(!screen.isVisible());
            QVERIFY(menu.isVisible());
        }

        // Every other entry's screen is still missing.
        for (const char *other :
            { "Clienti", "Fornitori", "Magazzino", "Riepilogo", "Carico", "Scarico" }) {
            const QString name = QString::fromLatin1(other);
            if (name != entry)
                QVERIFY(!button(&menu, QStringLiteral("btn") + name)->isEnabled());
        }
    }
    menu.hide();
    menu.show();
    QVERIFY(!picture->isEnabled() && !push->isEnabled());
}

void TestAvvio::refusedCloseKeepsTheScreen()
{
    TfrmAvvio menu;
    DummyScreen screen(QStringLiteral("TfrmMagazzino"), true);
    menu.show();
    QTest::mouseClick(button(&menu, QStringLiteral("btnMagazzino")), Qt::LeftButton);
    screen.close();
    QVERIFY(screen.isVisible());
    QVERIFY(!menu.isVisible());
}

void TestAvvio::smallControlsOpenTheirWindows_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");

    QTest::newRow("information") << QStringLiteral("imgInfo") << QStringLiteral("TfrmInfo")
                                 << QStringLiteral(" Informazioni su Merventa 2.0");
    QTest::newRow("help") << QStringLiteral("imgGuida") << QStringLiteral("TfrmGuida")
                          << QStringLiteral("Uno sguardo a Merventa 2.0.");
    QTest::newRow("credits") << QStringLiteral("imgCrediti") << QStringLiteral("TfrmSplash")
                             << QStringLiteral(" Merventa 2.0 - versione 2.0 - ") + Maker::name();
}

void TestAvvio::smallControlsOpenTheirWindows()
{
    QFETCH(QString, control);
    QFETCH(QString, window);
    QFETCH(QString, caption);

    TfrmAvvio menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QString opened;
    QString shownCaption;
    QWidget *parent = nullptr;
    onNextModal([&](QWidget *w) {
        opened = w->objectName();
        parent = w->parentWidget();
        // The help window's caption is fixed; its topic title tells which text it shows.
        const auto *title = w->findChild<QLabel *>(QStringLiteral("lblTitolo"));
        shownCaption = title ? title->text() : w->windowTitle();
    });
    QTest::mouseClick(button(&menu, control), Qt::LeftButton);
    QCOMPARE(opened, window);
    QCOMPARE(shownCaption, caption);
    QCOMPARE(parent, &menu);
    QVERIFY(menu.isVisible());
}

void TestAvvio::archiviOpensTheArchivesWindow()
{
    TfrmAvvio menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    auto *archivi = qobject_cast<QPushButton *>(button(&menu, QStringLiteral("btnArchivi")));
    QVERIFY(archivi);
    QCOMPARE(archivi->text(), QStringLiteral("Archivi"));
    QVERIFY(!archivi->toolTip().isEmpty());
    QVERIFY(!archivi->icon().isNull());
    QVERIFY(archivi->isEnabled());
    // The window lives in a library the program registers; the menu opens it by name.
    QList<QWidget *> parents;
    Screens::registerModal(
        QStringLiteral("TfrmArchivi"), [&parents](QWidget *parent) { parents.append(parent); });
    QTest::mouseClick(archivi, Qt::LeftButton);
    QCOMPARE(parents, QList<QWidget *> { &menu });
    QVERIFY(menu.isVisible());
    Screens::registerModal(QStringLiteral("TfrmArchivi"), {});
}

void TestAvvio::leavingTheMenuEndsTheProgram_data()
{
    QTest::addColumn<bool>("throughEsci");
    QTest::newRow("window close box") << false;
    QTest::newRow("imgEsci") << true;
}

void TestAvvio::leavingTheMenuEndsTheProgram()
{
    QFETCH(bool, throughEsci);

    TfrmAvvio menu;
    menu.show();
    QTimer::singleShot(0, &menu, [&menu, throughEsci] {
        if (throughEsci)
            QTest::mouseClick(button(&menu, QStringLiteral("imgEsci")), Qt::LeftButton);
        else
            menu.close();
    });
    // Should the menu not end the program, this ends the event loop with another code.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!menu.isVisible());
}

void TestAvvio::configuredSite_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("configured");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("blanks") << QStringLiteral("  ") << false;
    QTest::newRow("placeholder") << QStringLiteral("https://www.example.com/merventa") << false;
    QTest::newRow("placeholder, no scheme") << QStringLiteral("example.org") << false;
    QTest::newRow("placeholder, upper case") << QStringLiteral("http://WWW.EXAMPLE.NET") << false;
    QTest::newRow("maker's site") << QStringLiteral("https://www.dravello.it/merventa") << true;
    QTest::newRow("look-alike") << QStringLiteral("https://myexample.com") << true;
}

void TestAvvio::configuredSite()
{
    QFETCH(QString, address);
    QTEST(Maker::isConfiguredSite(address), "configured");
}

// The footer shows the maker's site only when one is configured, never a placeholder.
void TestAvvio::noPlaceholderAddress()
{
    TfrmAvvio menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    const auto *site = menu.findChild<QToolButton *>(QStringLiteral("icoSito"));
    QVERIFY(site);
    QCOMPARE(site->isVisible(), Maker::hasWebSite());
    QCOMPARE(Maker::hasWebSite(), Maker::isConfiguredSite(Maker::webSite()));
    if (site->isVisible())
        QVERIFY(site->text().startsWith(Maker::webSiteText()));
    // This build carries the placeholder: nothing shows it on the menu.
    if (Maker::webSite().contains(QStringLiteral("example.")))
        QVERIFY(!site->isVisible());
}

QTEST_MAIN(TestAvvio)
#include "tst_avvio.moc"
