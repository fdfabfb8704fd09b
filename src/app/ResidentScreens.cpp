#include "app/ResidentScreens.h"

#include "app/Avvio.h"
#include "app/Screens.h"
#include "catalogue/Magazzino.h"
#include "customers/Anagrafica.h"
#include "reports/MenuRiepilogo.h"
#include "reports/MenuRiepilogoCarico.h"
#include "reports/MenuRiepilogoScarico.h"
#include "suppliers/Fornitori.h"

#include <QCoreApplication>
#include <QList>
#include <QWidget>

void createResidentScreens()
{
    // The order of start-up. Dialogs, lists, checks and help are not created here: each
    // opening creates its own window and destroys it when it closes.
    const QList<QWidget *> screens = {
        new TfrmAvvio,
        new TfrmFornitori,
        new TfrmMagazzino,
        new TfrmAnagrafica,
        new TfrmMenuRiepilogo,
        new TfrmMenuRiepilogoCarico,
        new TfrmMenuRiepilogoScarico,
    };
    for (QWidget *screen : screens)
        Screens::registerResident(screen);

    // The resident screens live until the event loop ends.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [screens] {
        for (QWidget *screen : screens) {
            Screens::unregisterResident(screen);
            delete screen;
        }
    });
}
