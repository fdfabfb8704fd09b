#include "app/DailyBackup.h"
#include "app/StartupProbe.h"
#include "app/Translations.h"
#include "app/Widgets.h"
#include "shell/ResidentScreens.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
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

    createResidentScreens();
    showPasswordScreen();
    startDailyBackup();
    return QApplication::exec();
}
