#pragma once
#include <QPixmap>
#include <QString>

class QWidget;

// The looks the password screen and the password change screen share.
namespace PasswordLook {

// The picture at the top of the two password screens: a padlock beside a title, a line
// of text and, when note is not empty, a note in a box under them. The text it shows is
// also its accessible description. width and height in device-independent pixels.
QPixmap lockPicture(
    const QString &title, const QString &line, const QString &note, int width, int height);

// Bold 14-point text in a masked edit box.
void styleEntry(QWidget *edit);

// Fixes the window at its laid-out size for the width and centres it on its screen.
void fixAndCentre(QWidget *window, int width);

} // namespace PasswordLook
