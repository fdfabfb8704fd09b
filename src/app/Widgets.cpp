#include "app/Widgets.h"

#include "app/Palette.h"

#include <QEvent>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QIconEngine>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QToolButton>
#include <QWidget>

namespace {

// An icon read from its file only when it is first drawn: the resident screens are all
// created at start-up, but most of their pictures are not seen until a screen opens.
class FileIconOnDemand : public QIconEngine
{
public:
    explicit FileIconOnDemand(QString path)
        : m_path(std::move(path))
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(
        const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return !QFile::exists(m_path); }
    QString key() const override { return QStringLiteral("FileIconOnDemand"); }
    QIconEngine *clone() const override { return new FileIconOnDemand(m_path); }

private:
    QIcon &icon()
    {
        if (m_icon.isNull())
            m_icon = QIcon(m_path);
        return m_icon;
    }

    QString m_path;
    QIcon m_icon;
};

// Watches a screen for its first Polish event. The event reaches the filter before the
// screen's own handling marks it polished, so styles set here are taken in by the polish
// under way instead of repolishing a polished screen.
class FirstPolish : public QObject
{
public:
    FirstPolish(QWidget *screen, std::function<void()> apply)
        : QObject(screen)
        , m_apply(std::move(apply))
    {
        screen->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == QEvent::Polish && m_apply) {
            watched->removeEventFilter(this);
            const std::function<void()> apply = std::move(m_apply);
            m_apply = nullptr;
            apply();
        }
        return false;
    }

private:
    std::function<void()> m_apply;
};

} // namespace

namespace Widgets {

void onFirstPolish(QWidget *screen, std::function<void()> apply)
{
    if (screen->testAttribute(Qt::WA_WState_Polished))
        apply();
    else
        new FirstPolish(screen, std::move(apply));
}

QIcon iconOnDemand(const QString &path)
{
    return QIcon(new FileIconOnDemand(path));
}

void makeImageButton(QToolButton *button, const QString &iconName, int iconSize)
{
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(
        button->text().isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
    if (!iconName.isEmpty())
        button->setIcon(iconOnDemand(QStringLiteral(":/icons/") + iconName));
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
