#include "app/Widgets.h"

#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QToolButton>
#include <QWidget>

namespace Widgets {

void makeImageButton(QToolButton *button, const QString &iconName, int iconSize)
{
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(button->text().isEmpty() ? Qt::ToolButtonIconOnly
                                                        : Qt::ToolButtonTextUnderIcon);
    if (!iconName.isEmpty())
        button->setIcon(QIcon(QStringLiteral(":/icons/") + iconName));
    button->setIconSize(QSize(iconSize, iconSize));
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
}

void styleInfoBar(QLabel *panInfo)
{
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setAutoFillBackground(true);
    panInfo->setStyleSheet(QStringLiteral(
        "QLabel#panInfo { background-color: #6A5ACD; color: white; padding: 3px 8px; }"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(12);
    panInfo->setFont(font);
    panInfo->setMinimumHeight(28);
}

void styleSection(QWidget *section)
{
    section->setAttribute(Qt::WA_StyledBackground, true);
    section->setStyleSheet(QStringLiteral("#%1 { background-color: #E4E4E4; border: 1px solid "
                                          "#C8C8C8; border-radius: 6px; }")
                               .arg(section->objectName()));
}

void applyItalianConventions(QWidget *screen)
{
    screen->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
}

void fillScreen(QWidget *window)
{
    if (QScreen *screen = window->screen())
        window->setGeometry(screen->availableGeometry());
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

} // namespace Widgets
