#pragma once
#include <QList>
#include <QString>

class QFont;
class QLabel;
class QScrollArea;
class QToolButton;
class QWidget;

// The looks every record card shares: the font below the style sheets, the background
// and panels, the grey sections with their titles and aligned columns, the column of
// image buttons, the navigation arrows and the position label. Colours from Palette.
namespace CardLooks {

struct ImageButton
{
    QToolButton *button;
    const char *icon; // a file of :/icons/
};

// Gives the card and every control in it the font: below a style sheet a control does
// not inherit its parent's font.
void setCardFont(QWidget *card, const QFont &font);
// The gradient behind the card, the white panels (named by objectName), the slate-blue
// navigation strip and the position label's frame.
void styleCard(QWidget *card, const QStringList &panels, const QString &arrowStrip);
// Grey sections with bold titles one point larger than the font.
void styleSections(
    const QList<QWidget *> &sections, const QList<QLabel *> &titles, const QFont &font);
// Sections laid out on grids of caption and field columns (caption, field, caption,
// field, ... from firstColumn on; a column before it, such as a section's picture, is left
// as it is) share their column widths, so captions and fields line up from one section
// to the next; the field columns share the spare width.
void alignColumns(const QList<QWidget *> &sections, int firstColumn = 0);
// The column of image buttons: picture on the left, the word beside it, bold.
void styleButtonColumn(const QList<ImageButton> &buttons, const QFont &font);
// The four arrows of the navigation strip.
void styleArrows(const QList<ImageButton> &arrows);
// lblPosizione: bold, 12 points, centred, wide enough for seven digits.
void stylePositionLabel(QLabel *position, const QFont &font);
// The button column and the navigation strip below it keep one natural width; the
// sections take the rest of the screen.
void fixColumnWidth(QWidget *buttonColumn, QWidget *arrowStrip);
// Fits the card to small and large screens (after fixColumnWidth): on a small screen
// (1280x720, or 1366x768 at 125 %) the sections and the button column scroll, so every
// field, button and arrow stays reachable; on a large one the sections are at most
// kSectionsMaxWidth wide, centred. Returns the sections' scroll area.
inline constexpr int kSectionsMaxWidth = 1180;
QScrollArea *fitToScreen(QWidget *sections, QWidget *buttonColumn, QWidget *arrowStrip);

// The cards with a column of buttons at their right (products, suppliers) share the start
// and the end of their looks.
struct ColumnCard
{
    QWidget *card = nullptr;
    QWidget *sectionsPanel = nullptr; // panContainer
    QList<QWidget *> sections; // shpSezione..
    QLabel *infoBar = nullptr; // panInfo
    QWidget *buttonColumn = nullptr; // panControlli
    QWidget *arrowStrip = nullptr; // shpFrecce
    QLabel *position = nullptr; // lblPosizione
};
// The start: Arial 11 for the card and every control, the background and its two white
// panels (shpContainer, panControlli), the sections with their titles (none: no titles),
// the info bar. Returns the card's font.
QFont startColumnCard(const ColumnCard &parts, const QList<QLabel *> &titles);
// The end, once the fields have their sizes: the sections' columns aligned (from
// firstColumn), the buttons and arrows with their pictures, the position label, the
// column's width and the fit to the screen. Returns the sections' scroll area.
QScrollArea *finishColumnCard(const ColumnCard &parts, const QList<ImageButton> &buttons,
    const QList<ImageButton> &arrows, int firstColumn = 0);

// The card with a toolbar of picture buttons above its sections (customers).
struct ToolbarCard
{
    QWidget *card = nullptr;
    QWidget *toolbar = nullptr; // panStrumenti
    QWidget *arrowStrip = nullptr; // shpFrecce
    QList<QWidget *> sections; // shpSezione..
    QList<QLabel *> titles; // titSezione..
    QLabel *infoBar = nullptr; // panInfo
    QLabel *position = nullptr; // lblPosizione
};
// A picture button and the size of its picture.
struct SizedImageButton
{
    QToolButton *button;
    const char *icon; // a file of :/icons/
    int size;
};
// The looks of a toolbar card: the background, the toolbar's white panel and the navigation
// strip; the captions (tit..) in Arial 9 at their natural width; the sections with their
// titles; the position label (Arial 12); the toolbar's buttons in bold Arial 10; the
// pictures of the buttons; the info bar.
void styleToolbarCard(const ToolbarCard &parts, const QList<SizedImageButton> &buttons);

} // namespace CardLooks
