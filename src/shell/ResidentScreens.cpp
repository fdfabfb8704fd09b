#include "shell/ResidentScreens.h"

#include "app/Avvio.h"
#include "app/Password.h"
#include "app/Screens.h"
#include "app/Widgets.h"
#include "catalogue/Magazzino.h"
#include "customers/Anagrafica.h"
#include "reports/MenuRiepilogo.h"
#include "reports/MenuRiepilogoCarico.h"
#include "reports/MenuRiepilogoScarico.h"
#include "suppliers/Fornitori.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QWidget>

#include <utility>

void createResidentScreens()
{
    // The order of start-up. Dialogs, lists, checks and help are not created here: each
    // opening creates its own window and destroys it when it closes.
    auto *password = new TfrmPassword;
    QObject::connect(password, &TfrmPassword::accepted, showMainMenu);
    const QList<QWidget *> screens = {
        password,
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
    // Every new widget asks to be polished at the next turn of the event loop, so all the
    // hidden screens would be polished (fonts, style sheets, sizes of every control)
    // before the password screen is first drawn. Each is polished when it is first shown
    // instead.
    QCoreApplication::removePostedEvents(nullptr, QEvent::PolishRequest);

    // The resident screens live until the event loop ends.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [screens] {
        for (QWidget *screen : screens) {
            Screens::unregisterResident(screen);
            delete screen;
        }
    });
}

void showPasswordScreen()
{
    if (auto *password = Screens::resident<TfrmPassword>())
        password->showEmpty();
}

namespace {

std::function<bool(QWidget *)> &beforeMainMenu()
{
    static std::function<bool(QWidget *)> check;
    return check;
}

} // namespace

void setBeforeMainMenu(std::function<bool(QWidget *parent)> check)
{
    beforeMainMenu() = std::move(check);
}

void showMainMenu()
{
    // Once per run, before the menu is first seen.
    if (std::function<bool(QWidget *)> check = std::exchange(beforeMainMenu(), nullptr)) {
        if (!check(Screens::resident<TfrmPassword>())) {
            if (auto *password = Screens::resident<TfrmPassword>())
                password->hide();
            QCoreApplication::quit();
            return;
        }
    }
    if (QWidget *menu = Screens::resident(QStringLiteral("TfrmAvvio")))
        Widgets::showFilling(menu);
    if (auto *password = Screens::resident<TfrmPassword>())
        password->hide();
}
