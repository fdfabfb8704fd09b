#include "app/PasswordLook.h"

#include "app/Palette.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

void paintPadlock(QPainter &p, const QRectF &area)
{
    const qreal w = area.width();
    const QRectF body(area.left(), area.top() + w * 0.55, w, w * 0.8);
    const QRectF shackle(area.left() + w * 0.18, area.top(), w * 0.64, w * 0.9);

    QPen shacklePen(QColor(Palette::kPadlockShackle), w * 0.13, Qt::SolidLine, Qt::FlatCap);
    p.setPen(shacklePen);
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(shackle.left(), body.top() + 1);
    arc.lineTo(shackle.left(), shackle.top() + shackle.width() / 2);
    arc.arcTo(QRectF(shackle.left(), shackle.top(), shackle.width(), shackle.width()), 180, -180);
    arc.lineTo(shackle.right(), body.top() + 1);
    p.drawPath(arc);

    QLinearGradient gold(body.topLeft(), body.bottomRight());
    gold.setColorAt(0.0, QColor(Palette::kPadlockLight));
    gold.setColorAt(1.0, QColor(Palette::kPadlockDark));
    p.setPen(QPen(QColor(Palette::kPadlockEdge), 2));
    p.setBrush(gold);
    p.drawRoundedRect(body, w * 0.12, w * 0.12);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Palette::kPadlockBrown));
    const QPointF hole(body.center().x(), body.top() + body.height() * 0.42);
    p.drawEllipse(hole, w * 0.1, w * 0.1);
    p.drawRect(QRectF(hole.x() - w * 0.04, hole.y(), w * 0.08, body.height() * 0.3));
}

} // namespace

namespace PasswordLook {

QPixmap lockPicture(
    const QString &title, const QString &line, const QString &note, int width, int height)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap picture(QSize(width, height) * ratio);
    picture.setDevicePixelRatio(ratio);

    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(Palette::kWhite));
    sky.setColorAt(1.0, QColor(Palette::kPictureSky));
    p.fillRect(QRect(0, 0, width, height), sky);

    const int lockWidth = 70;
    paintPadlock(p, QRectF(28, (height - lockWidth * 1.35) / 2, lockWidth, lockWidth * 1.35));

    const int left = 28 + lockWidth + 28;
    const int textWidth = width - left - 22;
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(32);
    titleFont.setBold(true);
    QFont lineFont(QStringLiteral("Arial"));
    lineFont.setPixelSize(15);
    QFont noteFont(QStringLiteral("Arial"));
    noteFont.setPixelSize(14);

    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const QRect titleRect
        = QFontMetrics(titleFont).boundingRect(QRect(0, 0, textWidth, height), flags, title);
    const QRect lineRect
        = QFontMetrics(lineFont).boundingRect(QRect(0, 0, textWidth, height), flags, line);
    const int notePadding = 8;
    const QRect noteRect = note.isEmpty()
        ? QRect()
        : QFontMetrics(noteFont).boundingRect(
            QRect(0, 0, textWidth - 2 * notePadding, height), flags, note);
    const int gap = 8;
    const int total = titleRect.height() + gap + lineRect.height()
        + (note.isEmpty() ? 0 : 2 * gap + noteRect.height() + 2 * notePadding);
    int y = std::max(8, (height - total) / 2);

    p.setPen(QColor(Palette::kTitleBlue));
    p.setFont(titleFont);
    p.drawText(QRect(left, y, textWidth, titleRect.height()), flags, title);
    y += titleRect.height() + gap;
    p.setPen(QColor(Palette::kPictureText));
    p.setFont(lineFont);
    p.drawText(QRect(left, y, textWidth, lineRect.height()), flags, line);
    y += lineRect.height() + 2 * gap;
    if (!note.isEmpty()) {
        const QRect box(left, y, textWidth, noteRect.height() + 2 * notePadding);
        p.setPen(QColor(Palette::kNoteBorder));
        p.setBrush(QColor(Palette::kNoteBackground));
        p.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.setPen(QColor(Palette::kPadlockBrown));
        p.setFont(noteFont);
        p.drawText(box.adjusted(notePadding, notePadding, -notePadding, -notePadding), flags, note);
    }
    return picture;
}

void styleEntry(QWidget *edit)
{
    QFont font = edit->font();
    font.setPointSize(14);
    font.setBold(true);
    edit->setFont(font);
}

void fixAndCentre(QWidget *window, int width)
{
    const QLayout *layout = window->layout();
    window->setFixedSize(width,
        layout->hasHeightForWidth() ? layout->totalHeightForWidth(width)
                                    : layout->totalSizeHint().height());
    if (QScreen *screen = window->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

} // namespace PasswordLook
