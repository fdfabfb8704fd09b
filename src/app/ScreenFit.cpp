#include "app/ScreenFit.h"

#include <QApplication>
#include <QLayout>
#include <QLayoutItem>
#include <QPalette>
#include <QPointer>
#include <QScrollArea>
#include <QWidget>

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

    // The field the user or the program moves to is brought into view.
    QPointer<QScrollArea> guard(area);
    QObject::connect(qApp, &QApplication::focusChanged, area, [guard](QWidget *, QWidget *now) {
        if (guard && now && guard->widget() && guard->widget()->isAncestorOf(now))
            guard->ensureWidgetVisible(now, 12, 12);
    });
    return area;
}

} // namespace ScreenFit
