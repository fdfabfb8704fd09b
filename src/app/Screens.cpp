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

} // namespace Screens
