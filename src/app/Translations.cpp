#include "app/Translations.h"

#include <QCoreApplication>
#include <QTranslator>

bool installPrintDialogCatalogue(QCoreApplication &app)
{
    auto *catalogue = new QTranslator(&app);
    if (!catalogue->load(QStringLiteral(":/translations/merventa_qt_it.qm"))) {
        delete catalogue;
        return false;
    }
    app.installTranslator(catalogue);
    return true;
}
