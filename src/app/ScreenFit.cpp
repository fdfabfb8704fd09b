#include "app/ScreenFit.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QLayout>
#include <QLayoutItem>
#include <QPalette>
#include <QPointer>
#include <QScrollArea>
#include <QWidget>

namespace {

// Watches the viewport of a scroll area and lays the columns of its panel side by side or
// one under the other by the width the viewport has.
class ColumnStacker : public QObject
{
public:
    ColumnStacker(QScrollArea *area, QBoxLayout *columns)
        : QObject(area)
        , m_area(area)
        , m_columns(columns)
        , m_sideBySide(columns->direction())
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
        // The width side by side is measured while the columns are side by side, so a
        // change of fonts before the first showing is taken in.
        if (m_columns->direction() == m_sideBySide)
            m_needed = m_area->widget()->minimumSizeHint().width();
        const QBoxLayout::Direction wanted
            = m_area->viewport()->width() < m_needed ? QBoxLayout::TopToBottom : m_sideBySide;
        if (m_columns->direction() != wanted)
            m_columns->setDirection(wanted);
    }

    QScrollArea *m_area;
    QBoxLayout *m_columns;
    QBoxLayout::Direction m_sideBySide;
    int m_needed = 0;
};

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
    new ColumnStacker(area, columns);
}

} // namespace ScreenFit
