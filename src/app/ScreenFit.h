#pragma once
#include <QList>

class QBoxLayout;
class QGridLayout;
class QScrollArea;
class QSize;
class QWidget;

// Fitting screens to small screens and large ones.
namespace ScreenFit {

// Puts panel, where it stands in its parent's layout, inside a frameless scroll area that
// scrolls only when the window is smaller than what the panel needs; the panel keeps its
// objectName and place among the screen's descendants, and the field that takes the focus
// is scrolled into view. With maxWidth > 0 the panel is at most that wide and stays
// centred in a wider window. Returns the scroll area (named "scr" + panel's name).
QScrollArea *scrollWhenSmall(QWidget *panel, int maxWidth = 0);

// For a scroll area the screen already has: the field that takes the focus, by the user
// or by the program, is scrolled into view.
void followFocus(QScrollArea *area);

// Columns side by side in the panel of area (columns is the panel's box layout) go one
// under the other while the area is narrower than they need side by side, so that the
// panel scrolls only up and down; they go back side by side when there is room again.
void stackWhenNarrow(QScrollArea *area, QBoxLayout *columns);

// The sections of a card whose grids hold two caption-and-field pairs per row (in the
// columns from firstColumn on; a picture may stand left of them): while area is narrower
// than the pairs need side by side, the second pair of every row goes on a row of its own
// under the first, so that the sections scroll only up and down.
void pairsUnderWhenNarrow(
    QScrollArea *area, const QList<QGridLayout *> &grids, int firstColumn = 0);

// Sizes a window to wanted, or smaller where the screen it opens on (its parent's, or the
// primary one) has less room, its frame and title bar included, and centres it there.
void fitOnScreen(QWidget *window, const QSize &wanted);

} // namespace ScreenFit
