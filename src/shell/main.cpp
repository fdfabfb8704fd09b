#include "app/DailyBackup.h"
#include "app/StartupProbe.h"
#include "app/Translations.h"
#include "app/Widgets.h"
#include "charts/Grafici.h"
#include "shell/ResidentScreens.h"
#include "storage/Storage.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QThread>
#include <QTranslator>

namespace {

// Qt's own texts (message box buttons, context menus) in Italian: the system's catalogue
// first, the copy in the program's resources when the system has none.
void installItalianCatalogue(QApplication &app, QTranslator &translator)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
            QStringLiteral("_"), folder)
        || translator.load(QStringLiteral(":/translations/qtbase_it.qm"))) {
        app.installTranslator(&translator);
    }
}

// A save or a list that waits for another copy's lock shows the busy cursor meanwhile
// (the daily backup waits in a thread of its own and changes nothing on screen).
void showLockWaits()
{
    Storage::setWaitHook([](bool waiting) {
        if (QThread::currentThread() != qApp->thread())
            return;
        if (waiting)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installStartupProbe(app);
    QApplication::setApplicationName(QStringLiteral("Merventa"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));
    QApplication::setWindowIcon(Widgets::iconOnDemand(QStringLiteral(":/logo/logo.png")));
    // The program ends when the main menu closes, not when the last window does: between a
    // card closing and the menu showing again no window is visible.
    QApplication::setQuitOnLastWindowClosed(false);

    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QTranslator translator;
    installItalianCatalogue(app, translator);
    installPrintDialogCatalogue(app);
    showLockWaits();

    TfrmGrafici::registerScreen();
    createResidentScreens();
    showPasswordScreen();
    startDailyBackup();
    return QApplication::exec();
}
