#include "lists/ListLooks.h"

#include "app/Palette.h"

#include <QFont>
#include <QLabel>
#include <QWidget>

namespace ListLooks {

namespace {

void setFont(QWidget *w, const char *family, int points, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setPointSize(points);
    font.setBold(bold);
    w->setFont(font);
}

} // namespace

void styleScreenFont(QWidget *screen, int points)
{
    // Given to every control that has no font of its own: under a style sheet (the
    // selection screens have one for their background) a control does not inherit the
    // font of its parent.
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(points);
    screen->setFont(font);
    const auto children = screen->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (!child->testAttribute(Qt::WA_SetFont))
            child->setFont(font);
    }
}

void styleSelectionScreen(QWidget *screen)
{
    screen->setAttribute(Qt::WA_StyledBackground, true);
    screen->setStyleSheet(
        QStringLiteral("#%1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %2, "
                       "stop:1 %3); }")
            .arg(screen->objectName(), QLatin1StringView(Palette::kSelectionTop),
                QLatin1StringView(Palette::kSelectionBottom)));
}

void styleSelectionPanel(QWidget *panel)
{
    panel->setAttribute(Qt::WA_StyledBackground, true);
    panel->setStyleSheet(
        QStringLiteral("#%1 { background-color: white; border: 1px solid "
                       "%2; border-radius: 10px; }")
            .arg(panel->objectName(), QLatin1StringView(Palette::kSelectionBorder)));
}

void styleScreenTitle(QLabel *title)
{
    setFont(title, "Verdana", 20, true);
    title->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1StringView(Palette::kTitleGrey)));
}

void styleCaption(QLabel *caption)
{
    setFont(caption, "Tahoma", 12, false);
}

void styleWaitNotice(QLabel *notice)
{
    setFont(notice, "Tahoma", 12, true);
    notice->setStyleSheet(
        QStringLiteral("color: %1;").arg(QLatin1StringView(Palette::kWaitNotice)));
}

void styleValue(QLabel *value)
{
    setFont(value, "Tahoma", 11, true);
}

void styleTotal(QLabel *total)
{
    setFont(total, "Tahoma", 13, true);
    total->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1StringView(Palette::kTotal)));
    total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

} // namespace ListLooks
