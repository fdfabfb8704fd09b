#include "lists/ListScreen.h"

#include "app/FieldEntry.h"
#include "app/Palette.h"
#include "app/Widgets.h"
#include "lists/LinesModel.h"
#include "lists/ListLooks.h"
#include "report/ListReport.h"
#include "storage/Storage.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

ListScreen::PrintHandler &printHandler()
{
    static ListScreen::PrintHandler handler;
    return handler;
}

// Every row has the same size: the list's item width and one line of the item font.
// Lines are never elided; the list scrolls sideways to show them whole.
class FixedRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setRowSize(const QSize &size) { m_size = size; }
    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return m_size;
    }

private:
    QSize m_size;
};

// Shows a notice when the left mouse button goes down on the watched button.
class NoticeOnPress : public QObject
{
public:
    NoticeOnPress(QAbstractButton *button, QLabel *notice)
        : QObject(button)
        , m_notice(notice)
    {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            // The notice must be seen before the click reads the archive.
            m_notice->show();
            m_notice->repaint();
        }
        return false;
    }

private:
    QLabel *m_notice;
};

} // namespace

void ListScreen::setUpScreen(QWidget *screen, int fontPoints, ScreenSize size)
{
    Widgets::applyItalianConventions(screen);
    // Given when the screen is first shown: the selection screens are created at start-up.
    Widgets::onFirstPolish(
        screen, [screen, fontPoints] { ListLooks::styleScreenFont(screen, fontPoints); });
    if (size == ScreenSize::List)
        screen->setFixedSize(kListSize);
    else
        Widgets::fillScreen(screen);
}

void ListScreen::showNoticeOnPress(QAbstractButton *button, QLabel *notice)
{
    new NoticeOnPress(button, notice);
}

void ListScreen::setPrintHandler(PrintHandler handler)
{
    printHandler() = std::move(handler);
}

ListScreen::ListScreen(QWidget *parent)
    : QDialog(parent)
{
}

void ListScreen::setupList(const Settings &settings)
{
    m_settings = settings;
    m_list = findChild<QListView *>(QStringLiteral("lstRecords"));
    m_find = findChild<QLineEdit *>(QStringLiteral("txtTrova"));
    m_findButton = findChild<QPushButton *>(QStringLiteral("btnTrova"));
    Q_ASSERT(m_list && m_find && m_findButton);

    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(settings.fontSize);
    m_list->setFont(font);
    m_model = new LinesModel(m_list);
    m_list->setModel(m_model);
    // Plain black lines on white, whatever the desktop theme does with item views.
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Text, QColor(Palette::kBlack));
    palette.setColor(QPalette::Base, QColor(Palette::kWhite));
    m_list->setPalette(palette);
    m_list->setAlternatingRowColors(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setWordWrap(false);
    m_list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setItemDelegate(new FixedRowDelegate(m_list));
    m_list->viewport()->installEventFilter(this);
    applyItemWidth();

    m_fieldEntry = new FieldEntry(this,
        settings.highlightFields ? FieldEntry::Highlights::Create : FieldEntry::Highlights::None);
    if (settings.enterMovesToFind)
        m_fieldEntry->setEnterTarget(m_find->objectName(), m_findButton->objectName());
    connect(m_findButton, &QPushButton::clicked, this, &ListScreen::btnTrovaClick);
}

void ListScreen::fillList()
{
    resetFind();
    fill();
    m_find->setFocus(Qt::OtherFocusReason);
}

void ListScreen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A list screen is made for one showing: it reads its file when it first appears.
    if (m_settings.fillOnShow && !m_filled) {
        m_filled = true;
        fillList();
    }
}

void ListScreen::applyItemWidth()
{
    // The item width is given in units of 1/96 inch; a line longer than that still
    // scrolls into view whole.
    const QFontMetrics metrics(m_list->font());
    const qsizetype longest = lines().longest();
    const int margin = 2 * metrics.horizontalAdvance(QLatin1Char(' '));
    const int width = std::max(m_settings.itemWidth * m_list->logicalDpiX() / 96,
        int(longest) * metrics.horizontalAdvance(QLatin1Char('M')) + margin);
    static_cast<FixedRowDelegate *>(m_list->itemDelegate())
        ->setRowSize(QSize(width, metrics.height() + 2));
    m_list->doItemsLayout();
}

const ListLines::PackedLines &ListScreen::lines() const
{
    static const ListLines::PackedLines none;
    return m_model ? m_model->lines() : none;
}

int ListScreen::selectedRow() const
{
    const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ListScreen::resetFind()
{
    m_lastKey.clear();
    m_find->clear();
}

void ListScreen::showLines(ListLines::PackedLines lines)
{
    m_model->setLines(std::move(lines));
    m_list->selectionModel()->clear();
    applyItemWidth();
}

void ListScreen::clearLines()
{
    if (m_model)
        m_model->clear();
}

void ListScreen::btnTrovaClick()
{
    if (lines().isEmpty()) {
        Messages::show(this, m_settings.emptyFindKind,
            QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna "
                           "voce."));
        return;
    }
    const ListLines::FindOutcome found
        = ListLines::findNext(lines(), selectedRow(), m_find->text(), m_lastKey);
    m_lastKey = found.lastKey;
    if (found.selected != selectedRow()) {
        const QModelIndex index = m_model->index(found.selected);
        m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_list->scrollTo(index);
    }
}

void ListScreen::printList(const QString &title, const QStringList &extraLines)
{
    if (printHandler())
        printHandler()(this, title, lines().toStringList(), extraLines);
    else
        ListReport::print(this, title, lines().toStringList(), extraLines);
}

void ListScreen::reopenSelected(const Archive &archive, const ListLines::LineBuilder &build,
    const std::function<void(const Record &, qint64)> &load)
{
    const int row = selectedRow();
    if (row >= 0 && row < lines().size()) {
        std::optional<ListLines::Reopened> found;
        Storage::read(archive, [&](Storage::Session &records) {
            found = ListLines::reopenByLine(records, *archive.layout, lines().at(row), build);
        });
        if (found)
            load(found->record, found->position);
    }
    close();
}

bool ListScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (m_list && watched == m_list->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        lstRecordsDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ListScreen::keyPressEvent(QKeyEvent *event)
{
    // Enter presses only a focused button (which handles it itself); the list screens
    // have no default button that Enter in the list or a field would press.
    if (FieldEntry::isEnter(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ListScreen::done(int result)
{
    clearLines();
    QDialog::done(result);
}
