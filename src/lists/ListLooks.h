#pragma once

class QLabel;
class QWidget;

// The looks the report screens share: the background of the selection screens, the
// white panel that holds a selection, captions, titles and notices.
namespace ListLooks {

// The font of a screen's captions, fields and buttons (Tahoma), given to every control
// that has none of its own; call it before giving controls their own fonts.
void styleScreenFont(QWidget *screen, int points);
// A steel-blue gradient behind a full-screen selection screen.
void styleSelectionScreen(QWidget *screen);
// The white rounded panel in the middle of a selection screen.
void styleSelectionPanel(QWidget *panel);
// The title of a selection panel: large, bold, slate grey.
void styleScreenTitle(QLabel *title);
// An explanatory caption.
void styleCaption(QLabel *caption);
// The wait notice shown while a list is being prepared: bold, dark red.
void styleWaitNotice(QLabel *notice);
// The value shown beside a caption of a list (filter, interval): bold.
void styleValue(QLabel *value);
// A total under a list: bold, maroon, right-aligned.
void styleTotal(QLabel *total);

} // namespace ListLooks
