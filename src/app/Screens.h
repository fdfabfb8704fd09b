#pragma once
#include <QString>
#include <QWidget>

#include <functional>

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

// Windows kept in a library of their own that only the program links (the charts, which
// need Qt Charts) are opened by class name through a function the program registers at
// start-up, so that the screens with a button for them need not link that library. The
// function shows the window modally over parent, which it may ask what to show first.
using ModalOpener = std::function<void(QWidget *parent)>;
void registerModal(const QString &className, ModalOpener opener);
// Opens className's window over parent; false, and nothing shown, when none is registered.
bool openModal(const QString &className, QWidget *parent);

} // namespace Screens
