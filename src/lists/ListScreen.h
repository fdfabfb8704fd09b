#pragma once
#include "app/Messages.h"
#include "lists/ListLines.h"

#include <QDialog>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class FieldEntry;
class QAbstractButton;
class QLabel;
class QLineEdit;
class LinesModel;
class QListView;
class QPushButton;

// The base of every list screen: a list box lstRecords (a list view over the packed lines
// of the list, uniform rows) of fixed-width text lines in a fixed-pitch font, the find box
// txtTrova with its button btnTrova, the reopening of a record by its line and the
// printing through the list template. A screen builds its form (with those objectNames),
// calls setupList() with its settings, and fills the list in fill() with showLines() from
// lines made by the pure functions of ListLines. A report list is filled when it is first
// shown; a search fills on demand with fillList().
class ListScreen : public QDialog
{
    Q_OBJECT
public:
    // The size of a list window that does not fill the screen (under-stock list, searches,
    // due and recontact lists), in pixels.
    static constexpr QSize kListSize { 862, 560 };
    enum class ScreenSize { FillScreen, List };
    // The start every list and selection screen shares, after its setupUi: the Italian
    // conventions, the screen font (Tahoma, in points) and the window size.
    static void setUpScreen(QWidget *screen, int fontPoints, ScreenSize size);
    // Shows notice (and paints it at once) when the left mouse button goes down on button,
    // before the click is handled: the wait notice of a selection or search that reads an
    // archive on the click. The click's handler hides it again.
    static void showNoticeOnPress(QAbstractButton *button, QLabel *notice);

    struct Settings
    {
        int fontSize = 11; // points of the "Courier New" item font
        int itemWidth = 1400; // units of 1/96 inch
        // Enter in txtTrova moves the focus to btnTrova (most lists; not the reports).
        bool enterMovesToFind = true;
        // How "Ricerca non applicabile..." is shown (the inventory uses an information box).
        Messages::Kind emptyFindKind = Messages::Kind::Plain;
        // The report lists fill when first shown; a search fills when the user starts it.
        bool fillOnShow = true;
        // The edit fields of the screen show their focus highlight (the searches' fields).
        bool highlightFields = false;
    };

    // Printing goes through ListReport::print unless a test installs a handler; an empty
    // handler restores the printer.
    using PrintHandler = std::function<void(QWidget *parent, const QString &title,
        const QStringList &lines, const QStringList &extraLines)>;
    static void setPrintHandler(PrintHandler handler);

    // The lines shown, in list order.
    const ListLines::PackedLines &lines() const;
    // The selected line, or -1.
    int selectedRow() const;

protected:
    explicit ListScreen(QWidget *parent = nullptr);

    // Looks up lstRecords, txtTrova and btnTrova among the children and sets them up:
    // item font, uniform rows, both scroll bars, no eliding, the find button, and the
    // screen's field entry with Enter in txtTrova.
    void setupList(const Settings &settings);

    // Builds the list: reads the source file, hands the lines to showLines() and writes the
    // screen's count or total.
    virtual void fill() = 0;
    // The frame of every filling: clears the find, runs fill(), puts the focus into txtTrova.
    void fillList();
    // The field entry of the screen (a search adds its fields' Enter order to it).
    FieldEntry *fieldEntry() const { return m_fieldEntry; }

    // Clears the last find key and empties the find box.
    void resetFind();
    // Hands all lines to the list box in one call; afterwards no line is selected.
    void showLines(ListLines::PackedLines lines);
    // Empties the list (closing a list screen does).
    void clearLines();

    // Prints the list with its title and extra lines.
    void printList(const QString &title, const QStringList &extraLines);

    // Reopening by line: scans the archive for the last record whose line equals the
    // selected line and gives it with its position to load(), then closes the screen,
    // found or not. A read error or no selected line loads nothing.
    void reopenSelected(const Archive &archive, const ListLines::LineBuilder &build,
        const std::function<void(const Record &, qint64)> &load);

    // A double-click on the list box; screens that reopen records override it.
    virtual void lstRecordsDblClick() { }

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

    QListView *listBox() const { return m_list; }

private:
    // Find next (the "Trova" button).
    void btnTrovaClick();
    void applyItemWidth();

    Settings m_settings;
    FieldEntry *m_fieldEntry = nullptr;
    QListView *m_list = nullptr;
    LinesModel *m_model = nullptr;
    QLineEdit *m_find = nullptr;
    QPushButton *m_findButton = nullptr;
    QString m_lastKey;
    bool m_filled = false;
};
