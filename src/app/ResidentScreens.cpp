#include "app/ResidentScreens.h"

#include "app/Avvio.h"
#include "app/Screens.h"

#include <QCoreApplication>

void createResidentScreens()
{
    auto *menu = new TfrmAvvio;
    Screens::registerResident(menu);
    // The resident screens live until the event loop ends.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [menu] {
        Screens::unregisterResident(menu);
        delete menu;
    });
}
