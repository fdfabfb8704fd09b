#pragma once
#include <QString>
#include <QWidget>

// The resident screens (main menu, cards, summary selections) exist once for the whole
// run. They register here under their objectName so that other windows can reach them
// (a list that reopens a record in its card) without knowing who created them.
namespace Screens {

void registerResident(QWidget *screen);
void unregisterResident(QWidget *screen);
QWidget *resident(const QString &objectName);

template <typename T> T *resident()
{
    return qobject_cast<T *>(resident(QString::fromLatin1(T::staticMetaObject.className())));
}

} // namespace Screens
