#include "app/Banner.h"

#include "app/Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QPixmap paintBanner(const Banner &banner, int width)
{
    const int height = banner.height;
    QPixmap picture(width, height);
    QPainter p(&picture);
    if (banner.antialiased)
        p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient band(0, 0, width, 0);
    band.setColorAt(0, banner.left);
    band.setColorAt(1, banner.right);
    p.fillRect(picture.rect(), band);
    if (banner.bow.isValid()) {
        QPainterPath bow;
        bow.moveTo(width * 0.45, height);
        bow.quadTo(width * 0.75, 0, width, height * 0.25);
        bow.lineTo(width, height);
        bow.closeSubpath();
        p.fillPath(bow, banner.bow);
    }
    if (banner.drawPicture)
        banner.drawPicture(p);

    const qreal textWidth = width - banner.textLeft - banner.rightMargin;
    p.setFont(banner.titleFont);
    p.setPen(QColor(Palette::kWhite));
    p.drawText(QRectF(banner.textLeft, banner.titleTop, textWidth,
                   banner.titleHeight > 0 ? banner.titleHeight : height),
        banner.titleFlags, banner.title);
    if (!banner.subtitle.isEmpty()) {
        p.setFont(banner.subtitleFont);
        p.setPen(banner.subtitleColour);
        p.drawText(QRectF(banner.textLeft, banner.subtitleTop, textWidth, banner.subtitleHeight),
            Qt::AlignLeft | Qt::AlignVCenter, banner.subtitle);
    }
    return picture;
}
