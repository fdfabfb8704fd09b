#pragma once

class QScrollArea;
class QWidget;

// Fitting screens to small screens and large ones.
namespace ScreenFit {

// Puts panel, where it stands in its parent's layout, inside a frameless scroll area that
// scrolls only when the window is smaller than what the panel needs; the panel keeps its
// objectName and place among the screen's descendants, and the field that takes the focus
// is scrolled into view. With maxWidth > 0 the panel is at most that wide and stays
// centred in a wider window. Returns the scroll area (named "scr" + panel's name).
QScrollArea *scrollWhenSmall(QWidget *panel, int maxWidth = 0);

} // namespace ScreenFit
