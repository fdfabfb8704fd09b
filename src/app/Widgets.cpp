#include "app/Widgets.h"

#include "app/Palette.h"

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
    button->setToolButtonStyle(
        button->text().isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
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
    panInfo->setStyleSheet(
        QStringLiteral("QLabel#panInfo { background-color: %1; color: white; padding: 3px 8px; }")
            .arg(QLatin1StringView(Palette::kSlateBlue)));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(12);
    panInfo->setFont(font);
    panInfo->setMinimumHeight(28);
}

void styleSection(QWidget *section)
{
    section->setAttribute(Qt::WA_StyledBackground, true);
    section->setStyleSheet(
        QStringLiteral("#%1 { background-color: %2; border: 1px solid %3; border-radius: 6px; }")
            .arg(section->objectName(), QLatin1StringView(Palette::kSection),
                QLatin1StringView(Palette::kSectionBorder)));
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

void showFilling(QWidget *window)
{
    fillScreen(window);
    window->showMaximized();
    window->raise();
    window->activateWindow();
}

} // namespace Widgets
