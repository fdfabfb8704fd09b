#include "app/LinkLabel.h"

#include <QAbstractButton>
#include <QMouseEvent>

LinkLabel::LinkLabel(QWidget *parent)
    : QLabel(parent)
{
    QFont linkFont(QStringLiteral("Tahoma"));
    linkFont.setPointSize(14);
    linkFont.setUnderline(true);
    setFont(linkFont);
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    setColour(m_restColour);
}

void LinkLabel::setRestColour(const QColor &colour)
{
    m_restColour = colour;
    setColour(colour);
}

void LinkLabel::addPicture(QWidget *picture)
{
    picture->setCursor(Qt::PointingHandCursor);
    picture->installEventFilter(this);
    // A button picture reports its own clicks; a plain picture is clicked through the filter.
    if (auto *button = qobject_cast<QAbstractButton *>(picture))
        connect(button, &QAbstractButton::clicked, this, &LinkLabel::clicked);
}

QColor LinkLabel::colour() const
{
    return palette().color(QPalette::WindowText);
}

void LinkLabel::setColour(const QColor &colour)
{
    // The disabled look stays the theme's grey, so a link that cannot be used says so.
    QPalette pal = palette();
    pal.setColor(QPalette::Active, QPalette::WindowText, colour);
    pal.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    setPalette(pal);
}

void LinkLabel::release(const QWidget *widget, const QMouseEvent *event)
{
    setColour(m_restColour);
    if (event->button() == Qt::LeftButton && widget->rect().contains(event->position().toPoint()))
        emit clicked();
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        setColour(pressedColour());
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    release(this, event);
    event->accept();
}

bool LinkLabel::eventFilter(QObject *watched, QEvent *event)
{
    auto *picture = qobject_cast<QWidget *>(watched);
    if (!picture)
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            setColour(pressedColour());
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (qobject_cast<QAbstractButton *>(picture))
            setColour(m_restColour);
        else
            release(picture, mouse);
    }
    return false;
}
