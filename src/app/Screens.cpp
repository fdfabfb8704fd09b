#include "app/Screens.h"

#include <QHash>
#include <QPointer>

namespace {

// A screen destroyed without unregistering leaves a null pointer, never a dangling one.
QHash<QString, QPointer<QWidget>> &registry()
{
    static QHash<QString, QPointer<QWidget>> screens;
    return screens;
}

QString keyOf(const QWidget *screen)
{
    const QString name = screen->objectName();
    return name.isEmpty() ? QString::fromLatin1(screen->metaObject()->className()) : name;
}

QHash<QString, Screens::ModalOpener> &openers()
{
    static QHash<QString, Screens::ModalOpener> modal;
    return modal;
}

} // namespace

namespace Screens {

void registerResident(QWidget *screen)
{
    if (screen)
        registry().insert(keyOf(screen), screen);
}

void unregisterResident(QWidget *screen)
{
    if (!screen)
        return;
    const QString key = keyOf(screen);
    if (registry().value(key) == screen)
        registry().remove(key);
}

QWidget *resident(const QString &objectName)
{
    return registry().value(objectName).data();
}

void registerModal(const QString &className, ModalOpener opener)
{
    openers().insert(className, std::move(opener));
}

bool openModal(const QString &className, QWidget *parent)
{
    const ModalOpener opener = openers().value(className);
    if (!opener)
        return false;
    opener(parent);
    return true;
}

} // namespace Screens
