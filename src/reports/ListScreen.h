#pragma once
#include "app/Messages.h"
#include "reports/ListLines.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

class QLineEdit;
class QListWidget;
class QPushButton;

// The base of every list screen: a list box lstRecords of fixed-width text lines in a
// fixed-pitch font, the find box txtTrova with its button btnTrova, the reopening of a
// record by its line and the printing through the list template. A screen builds its
// form (with those objectNames), calls setupList() with its settings, and fills the list
// with showLines() from lines made by the pure functions of ListLines.
class ListScreen : public QDialog
{
    Q_OBJECT
public:
    struct Settings
    {
        int fontSize = 11; // points of the "Courier New" item font
        int itemWidth = 1400; // units of 1/96 inch
        // Enter in txtTrova moves the focus to btnTrova (most lists; not the reports).
        bool enterMovesToFind = true;
        // How "Ricerca non applicabile..." is shown (the inventory uses an information box).
        Messages::Kind emptyFindKind = Messages::Kind::Plain;
    };

    // Printing goes through ListReport::print unless a test installs a handler; an empty
    // handler restores the printer.
    using PrintHandler = std::function<void(QWidget *parent, const QString &title,
        const QStringList &lines, const QStringList &extraLines)>;
    static void setPrintHandler(PrintHandler handler);

    // The lines shown, in list order.
    const QStringList &lines() const { return m_lines; }
    // The selected line, or -1.
    int selectedRow() const;

public slots:
    // Find next (the "Trova" button).
    void btnTrovaClick();

protected:
    explicit ListScreen(QWidget *parent = nullptr);

    // Looks up lstRecords, txtTrova and btnTrova among the children and sets them up:
    // item font, uniform rows, both scroll bars, no eliding, the find button and Enter.
    void setupList(const Settings &settings);

    // Clears the last find key and empties the find box.
    void resetFind();
    // Hands all lines to the list box in one call; afterwards no line is selected.
    void showLines(const QStringList &lines);
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
    // Enter in the find box.
    void txtTrovaKeyDown(QKeyEvent *event);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

    QListWidget *listBox() const { return m_list; }
    QLineEdit *findBox() const { return m_find; }

private:
    void applyItemWidth();

    Settings m_settings;
    QListWidget *m_list = nullptr;
    QLineEdit *m_find = nullptr;
    QPushButton *m_findButton = nullptr;
    QStringList m_lines;
    QString m_lastKey;
};
