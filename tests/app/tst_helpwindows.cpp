#include "app/Guida.h"
#include "app/HelpTexts.h"
#include "app/Info.h"
#include "app/LinkLabel.h"
#include "app/OpenURL.h"
#include "app/Splash.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/TempProgramFolder.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

std::unique_ptr<QDialog> makeWindow(const QString &kind)
{
    if (kind == QStringLiteral("TfrmGuida"))
        return std::make_unique<TfrmGuida>();
    if (kind == QStringLiteral("TfrmInfo"))
        return std::make_unique<TfrmInfo>();
    return std::make_unique<TfrmSplash>();
}

int visibleWindows()
{
    int count = 0;
    for (const QWidget *w : QApplication::topLevelWidgets())
        count += w->isVisible() ? 1 : 0;
    return count;
}

} // namespace

class TestHelpWindows : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { TMisc::setOpener({}); }

    void controls_data();
    void controls();
    void windowFrames_data();
    void windowFrames();

    void helpShowsTheScreenText_data();
    void helpShowsTheScreenText();
    void helpOpensAgainAtTheTop();
    void pdfLinkOpensTheGuideQuietly();

    void linkColours_data();
    void linkColours();
    void linksOpenTheirAddress_data();
    void linksOpenTheirAddress();
    void windowsNameTheMakerAndTheLicences();
};

void TestHelpWindows::controls_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");

    static const struct
    {
        const char *window;
        const char *name;
        const char *className;
    } rows[] = {
        { "TfrmGuida", "imgLogo", "QLabel" },
        { "TfrmGuida", "lblTitolo", "QLabel" },
        { "TfrmGuida", "txtGuida", "QPlainTextEdit" },
        { "TfrmGuida", "imgPDF", "QLabel" },
        { "TfrmGuida", "lnkWeb", "LinkLabel" },
        { "TfrmGuida", "btnChiudi", "QPushButton" },
        { "TfrmInfo", "imgLogo", "QLabel" },
        { "TfrmInfo", "imgInformazioni01", "QLabel" },
        { "TfrmInfo", "imgInformazioni02", "QLabel" },
        { "TfrmInfo", "imgEmail", "QLabel" },
        { "TfrmInfo", "lnkWeb", "LinkLabel" },
        { "TfrmInfo", "btnChiudi", "QPushButton" },
        { "TfrmSplash", "imgLogo", "QLabel" },
        { "TfrmSplash", "imgWeb", "QLabel" },
        { "TfrmSplash", "lnkWeb", "LinkLabel" },
        { "TfrmSplash", "btnChiudi", "QPushButton" },
    };
    for (const auto &row : rows) {
        QTest::addRow("%s %s", row.window, row.name)
            << QString::fromLatin1(row.window) << QString::fromLatin1(row.name)
            << QString::fromLatin1(row.className);
    }
}

void TestHelpWindows::controls()
{
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QString, className);

    const auto dialog = makeWindow(window);
    QCOMPARE(dialog->objectName(), window);
    const QWidget *control = dialog->findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), className);
}

void TestHelpWindows::windowFrames_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("closeText");

    QTest::newRow("help") << QStringLiteral("TfrmGuida")
                          << QStringLiteral(" Guida all'utilizzo del software")
                          << QStringLiteral("Chiudi");
    QTest::newRow("information") << QStringLiteral("TfrmInfo")
                                 << QStringLiteral(" Informazioni su Merventa 2.0")
                                 << QStringLiteral("Chiudi");
    QTest::newRow("credits") << QStringLiteral("TfrmSplash")
                             << QStringLiteral(" Merventa 2.0 - versione 2.0 - ") + Maker::name()
                             << QStringLiteral("Chiudi");
}

void TestHelpWindows::windowFrames()
{
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QString, closeText);

    const auto dialog = makeWindow(window);
    QCOMPARE(dialog->windowTitle(), caption);
    // Fixed size and no close box: the window closes only with its button.
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QVERIFY(dialog->windowFlags().testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    if (window == QStringLiteral("TfrmGuida"))
        QCOMPARE(dialog->size(), QSize(670, 572));

    auto *close = dialog->findChild<QPushButton *>(QStringLiteral("btnChiudi"));
    QCOMPARE(close->text(), closeText);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
}

void TestHelpWindows::helpShowsTheScreenText_data()
{
    QTest::addColumn<QString>("screenClass");
    for (const QString &screenClass : helpDocumentOrder())
        QTest::newRow(qPrintable(screenClass)) << screenClass;
    QTest::newRow("TfrmRiepilogoScarico") << QStringLiteral("TfrmRiepilogoScarico");
}

void TestHelpWindows::helpShowsTheScreenText()
{
    QFETCH(QString, screenClass);

    QWidget caller;
    QString title;
    QString text;
    bool modal = false;
    onNextModal([&](QWidget *w) {
        modal = w->objectName() == QStringLiteral("TfrmGuida") && w->isModal();
        title = w->findChild<QLabel *>(QStringLiteral("lblTitolo"))->text();
        text = w->findChild<QPlainTextEdit *>(QStringLiteral("txtGuida"))->toPlainText();
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("btnChiudi")), Qt::LeftButton);
    });
    showHelpFor(&caller, screenClass);

    const HelpTopic topic = helpTopic(screenClass);
    QVERIFY(modal);
    QCOMPARE(title, topic.title);
    // One empty line between paragraphs.
    QCOMPARE(text, topic.paragraphs.join(QStringLiteral("\n\n")));
    // The window is destroyed when it closes.
    QVERIFY(caller.findChildren<TfrmGuida *>().isEmpty());
}

void TestHelpWindows::helpOpensAgainAtTheTop()
{
    QWidget caller;
    int scrolledTo = -1;
    onNextModal([&](QWidget *w) {
        QScrollBar *bar
            = w->findChild<QPlainTextEdit *>(QStringLiteral("txtGuida"))->verticalScrollBar();
        bar->setValue(bar->maximum());
        scrolledTo = bar->value();
    });
    showHelpFor(&caller, QStringLiteral("TfrmAvvio"));
    QVERIFY2(scrolledTo > 0, "the main menu's text is longer than the window");

    int openedAt = -1;
    onNextModal([&](QWidget *w) {
        openedAt = w->findChild<QPlainTextEdit *>(QStringLiteral("txtGuida"))
                       ->verticalScrollBar()
                       ->value();
    });
    showHelpFor(&caller, QStringLiteral("TfrmAvvio"));
    QCOMPARE(openedAt, 0);
}

void TestHelpWindows::pdfLinkOpensTheGuideQuietly()
{
    TempProgramFolder folder;
    MessageRecorder messages;
    QList<QUrl> opened;
    TMisc::setOpener([&opened](const QUrl &url) { opened.append(url); });

    int windowsBefore = -1;
    int windowsAfter = -1;
    onNextModal([&](QWidget *w) {
        windowsBefore = visibleWindows();
        QTest::mouseClick(w->findChild<QWidget *>(QStringLiteral("lnkWeb")), Qt::LeftButton);
        QTest::mouseClick(w->findChild<QWidget *>(QStringLiteral("imgPDF")), Qt::LeftButton);
        windowsAfter = visibleWindows();
    });
    TfrmGuida::ShowHelp(nullptr, QStringLiteral("Titolo."), { QStringLiteral("Testo.") });

    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Guida.pdf"))));
    const QUrl guide = QUrl::fromLocalFile(folder.path() + QStringLiteral("/Guida.pdf"));
    QCOMPARE(opened, QList<QUrl>({ guide, guide }));
    // A missing document is the desktop's business: no message, no window of ours.
    QCOMPARE(messages.count(), 0);
    QCOMPARE(windowsAfter, windowsBefore);
}

void TestHelpWindows::linkColours_data()
{
    QTest::addColumn<bool>("onPicture");
    QTest::addColumn<bool>("releaseInside");
    QTest::addColumn<int>("clicks");

    QTest::newRow("link, released on it") << false << true << 1;
    QTest::newRow("link, released outside") << false << false << 0;
    QTest::newRow("picture, released on it") << true << true << 1;
    QTest::newRow("picture, released outside") << true << false << 0;
}

void TestHelpWindows::linkColours()
{
    QFETCH(bool, onPicture);
    QFETCH(bool, releaseInside);
    QFETCH(int, clicks);

    QWidget host;
    host.resize(420, 200);
    auto *picture = new QLabel(&host);
    picture->setGeometry(10, 10, 32, 32);
    picture->setPixmap(QPixmap(QStringLiteral(":/icons/internet-mail.png")));
    auto *link = new LinkLabel(&host);
    link->setText(QStringLiteral("Visualizza guida in formato PDF"));
    link->setGeometry(50, 10, 340, 32);
    link->addPicture(picture);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QSignalSpy clicked(link, &LinkLabel::clicked);

    QCOMPARE(link->colour(), QColor(0x00, 0x00, 0x8B));
    QVERIFY(link->font().underline());
    QWidget *target = onPicture ? static_cast<QWidget *>(picture) : link;
    QTest::mousePress(target, Qt::LeftButton, {}, target->rect().center());
    QCOMPARE(link->colour(), QColor(0xFF, 0xA5, 0x00));
    const QPoint release
        = releaseInside ? target->rect().center() : target->mapFrom(&host, QPoint(400, 180));
    QTest::mouseRelease(target, Qt::LeftButton, {}, release);
    QCOMPARE(link->colour(), QColor(0x00, 0x00, 0x8B));
    QCOMPARE(clicked.count(), clicks);

    // A link that cannot be used does not look like one.
    link->setEnabled(false);
    QVERIFY(link->palette().color(QPalette::Disabled, QPalette::WindowText)
        != QColor(0x00, 0x00, 0x8B));
}

void TestHelpWindows::linksOpenTheirAddress_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("address");

    QTest::newRow("information: e-mail to the maker")
        << QStringLiteral("TfrmInfo") << QStringLiteral("imgEmail")
        << QStringLiteral("mailto:") + Maker::email()
            + QStringLiteral("?subject=Software Merventa 2.0&body=Salve, desidererei avere "
                             "le seguenti informazioni sul software in oggetto:");
    QTest::newRow("credits: the maker's site")
        << QStringLiteral("TfrmSplash") << QStringLiteral("imgWeb") << Maker::webSite();
}

void TestHelpWindows::linksOpenTheirAddress()
{
    QFETCH(QString, window);
    QFETCH(QString, picture);
    QFETCH(QString, address);

    QList<QUrl> opened;
    TMisc::setOpener([&opened](const QUrl &url) { opened.append(url); });
    const auto dialog = makeWindow(window);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto *link = dialog->findChild<LinkLabel *>(QStringLiteral("lnkWeb"));
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QWidget *>(picture), Qt::LeftButton);

    QCOMPARE(opened.size(), 2);
    for (const QUrl &url : std::as_const(opened))
        QCOMPARE(url.toString(), address);
    QCOMPARE(link->colour(), LinkLabel::linkColour());
}

void TestHelpWindows::windowsNameTheMakerAndTheLicences()
{
    TfrmSplash credits;
    const auto *text = credits.findChild<QLabel *>(QStringLiteral("lblCrediti"));
    QVERIFY(text);
    const QStringList parts { Maker::name(), QStringLiteral("Qt %1").arg(QLatin1String(qVersion())),
        QStringLiteral("GNU LGPL versione 3"), QStringLiteral("Tango"),
        QStringLiteral("pubblico dominio"), QStringLiteral("licenze") };
    for (const QString &part : parts)
        QVERIFY2(text->text().contains(part), qPrintable(part));
    const auto *site = credits.findChild<QLabel *>(QStringLiteral("lnkWeb"));
    QVERIFY(site);
    QCOMPARE(site->text(), Maker::webSiteText());

    TfrmInfo info;
    const auto *mail = info.findChild<QLabel *>(QStringLiteral("lnkWeb"));
    QVERIFY(mail);
    QCOMPARE(mail->text(), Maker::email());
    const auto *about = info.findChild<QLabel *>(QStringLiteral("imgInformazioni02"));
    QVERIFY(about);
    QVERIFY(about->text().contains(Maker::webSiteText()));
}

QTEST_MAIN(TestHelpWindows)
#include "tst_helpwindows.moc"
