#include "app/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>

#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QLayout>
#include <QLayoutItem>
#include <QPalette>
#include <QPointer>
#include <QScrollArea>
#include <QWidget>

#include <algorithm>
#include <functional>

namespace {

// Watches the viewport of a scroll area and tells arrange() whether the panel's wide
// arrangement fits its width: the width needed is measured while the panel is in its
// wide arrangement, so fonts set before the first showing are taken in.
class NarrowSwitch : public QObject
{
public:
    NarrowSwitch(QScrollArea *area, std::function<void(bool narrow)> arrange)
        : QObject(area)
        , m_area(area)
        , m_arrange(std::move(arrange))
    {
        area->viewport()->installEventFilter(this);
        update();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_area->viewport() && event->type() == QEvent::Resize)
            update();
        return false;
    }

private:
    void update()
    {
        if (!m_narrow)
            m_needed = m_area->widget()->minimumSizeHint().width();
        const bool narrow = m_area->viewport()->width() < m_needed;
        if (narrow == m_narrow)
            return;
        // Set first: arranging resizes the panel, which comes back here.
        m_narrow = narrow;
        m_arrange(narrow);
    }

    QScrollArea *m_area;
    std::function<void(bool)> m_arrange;
    bool m_narrow = false;
    int m_needed = 0;
};

// An item of a grid at its place in the wide arrangement.
struct GridPlace
{
    QWidget *widget = nullptr;
    QLayout *layout = nullptr;
    QLayoutItem *spacer = nullptr;
    Qt::Alignment alignment;
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
};

struct GridPairs
{
    QGridLayout *grid = nullptr;
    QList<GridPlace> places;
    QList<int> minimums; // the columns' minimum widths in the wide arrangement
};

GridPairs readGrid(QGridLayout *grid)
{
    GridPairs pairs { grid, {}, {} };
    for (int i = 0; i < grid->count(); ++i) {
        QLayoutItem *item = grid->itemAt(i);
        GridPlace p;
        p.widget = item->widget();
        p.layout = item->layout();
        p.spacer = p.widget || p.layout ? nullptr : item;
        p.alignment = item->alignment();
        grid->getItemPosition(i, &p.row, &p.column, &p.rowSpan, &p.columnSpan);
        pairs.places.append(p);
    }
    for (int c = 0; c < grid->columnCount(); ++c)
        pairs.minimums.append(grid->columnMinimumWidth(c));
    return pairs;
}

// Puts every item of a grid back at its wide place, or (narrow) the second caption-and-
// field pair of each row (columns first + 2 and first + 3) on a row of its own under the
// first pair.
void arrangePairs(const GridPairs &pairs, int first, bool narrow)
{
    QGridLayout *grid = pairs.grid;
    while (QLayoutItem *item = grid->takeAt(0)) {
        if (item->widget())
            delete item; // addWidget makes a new one
    }
    for (GridPlace p : pairs.places) {
        if (narrow) {
            const bool second = p.column >= first + 2;
            if (p.column < first)
                p.rowSpan *= 2; // a picture beside the pairs spans all their rows
            else if (p.rowSpan > 1)
                p.rowSpan = 2 * p.rowSpan - 1;
            p.row = 2 * p.row + (second ? 1 : 0);
            if (second)
                p.column -= 2;
            if (p.column >= first)
                p.columnSpan = std::min(p.columnSpan, first + 2 - p.column);
        }
        if (p.widget)
            grid->addWidget(p.widget, p.row, p.column, p.rowSpan, p.columnSpan, p.alignment);
        else if (p.layout)
            grid->addLayout(p.layout, p.row, p.column, p.rowSpan, p.columnSpan, p.alignment);
        else
            grid->addItem(p.spacer, p.row, p.column, p.rowSpan, p.columnSpan, p.alignment);
    }
    // Narrow, the second pair's columns are empty (no width, no stretch) and the first
    // pair's are as wide as either pair's were, so the sections stay aligned.
    for (int c = first; c < first + 4 && c < pairs.minimums.size(); ++c) {
        const bool secondPair = c >= first + 2;
        int width = pairs.minimums[c];
        if (narrow)
            width = secondPair ? 0 : std::max(width, pairs.minimums.value(c + 2));
        grid->setColumnMinimumWidth(c, width);
        const bool field = (c - first) % 2 == 1;
        grid->setColumnStretch(c, field && !(narrow && secondPair) ? 1 : 0);
    }
}

} // namespace

namespace ScreenFit {

QScrollArea *scrollWhenSmall(QWidget *panel, int maxWidth)
{
    QWidget *parent = panel->parentWidget();
    QLayout *layout = parent ? parent->layout() : nullptr;
    if (!layout)
        return nullptr;

    auto *area = new QScrollArea(parent);
    area->setObjectName(QStringLiteral("scr") + panel->objectName());
    area->setFrameShape(QFrame::NoFrame);
    // Never in the way of the focus: a click on the panel's background or on an image
    // button (which takes no focus) must leave the field being edited where it is.
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidgetResizable(true);
    area->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    area->setSizePolicy(panel->sizePolicy());
    // The screen's own background shows through.
    area->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
    delete layout->replaceWidget(panel, area, Qt::FindDirectChildrenOnly);
    area->setWidget(panel);
    panel->setAutoFillBackground(false);
    if (maxWidth > 0)
        panel->setMaximumWidth(maxWidth);

    followFocus(area);
    return area;
}

void followFocus(QScrollArea *area)
{
    QPointer<QScrollArea> guard(area);
    QObject::connect(qApp, &QApplication::focusChanged, area, [guard](QWidget *, QWidget *now) {
        if (guard && now && guard->widget() && guard->widget()->isAncestorOf(now))
            guard->ensureWidgetVisible(now, 12, 12);
    });
}

void stackWhenNarrow(QScrollArea *area, QBoxLayout *columns)
{
    const QBoxLayout::Direction sideBySide = columns->direction();
    new NarrowSwitch(area, [columns, sideBySide](bool narrow) {
        columns->setDirection(narrow ? QBoxLayout::TopToBottom : sideBySide);
    });
}

void pairsUnderWhenNarrow(QScrollArea *area, const QList<QGridLayout *> &grids, int firstColumn)
{
    QList<GridPairs> all;
    for (QGridLayout *grid : grids)
        all.append(readGrid(grid));
    // One switch for all the grids: the width needed is that of the whole panel.
    new NarrowSwitch(area, [all, firstColumn](bool narrow) {
        for (const GridPairs &pairs : all)
            arrangePairs(pairs, firstColumn, narrow);
    });
}

} // namespace ScreenFit

namespace ScreenFit {

void fitOnScreen(QWidget *window, const QSize &wanted)
{
    const QWidget *parent = window->parentWidget();
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    const QRect room = screen->availableGeometry();
    // The frame is known only once the window is shown; until then a title bar and
    // borders of common desktops are allowed for.
    const QSize frame = window->isVisible()
        ? window->frameGeometry().size() - window->geometry().size()
        : QSize(16, 40);
    const QSize size = wanted.boundedTo(room.size() - frame);
    window->resize(size);
    QRect placed(QPoint(), size + frame);
    placed.moveCenter(room.center());
    window->move(placed.topLeft());
}

} // namespace ScreenFit
