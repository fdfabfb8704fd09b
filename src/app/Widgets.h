#pragma once
#include <QIcon>
#include <QString>

#include <functional>

class QToolButton;
class QLabel;
class QWidget;

// Look and behaviour shared by the screens.
namespace Widgets {

// An icon that reads its picture file (a resource path) when it is first drawn or asked for
// a pixmap, not when it is made.
QIcon iconOnDemand(const QString &path);

// Runs apply once, when screen is first polished: before it is first shown, or when it
// is first asked its size. The resident screens are all created at start-up but most
// are not seen until later; their fonts, style sheets and pictures (what apply sets)
// would only slow the start. Runs apply at once on a screen already polished.
void onFirstPolish(QWidget *screen, std::function<void()> apply);

// An image button (cmd..., img..., ico..., imp...): a flat tool button with its picture
// and the word under it, that never takes the keyboard focus, so the field being edited
// keeps it and its leaving rule does not run. iconName is a file of :/icons/.
void makeImageButton(QToolButton *button, const QString &iconName, int iconSize = 32);

// The info bar panInfo of a card or export screen: white Tahoma 12 on a slate-blue band.
void styleInfoBar(QLabel *panInfo);

// A section of a card: a light grey rounded panel (the shpSezione shapes).
void styleSection(QWidget *section);

// Sets the short date format and the decimal comma for the screen (Italian, whatever the
// system's settings), as every screen does when it is created.
void applyItalianConventions(QWidget *screen);

// Opens the window maximised, and covers the screen's free area also where no window
// manager honours the request (a bare X server).
void fillScreen(QWidget *window);
// The same for a window shown now, brought to the front and made active.
void showFilling(QWidget *window);

} // namespace Widgets
