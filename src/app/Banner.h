#pragma once
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRectF>
#include <QString>

#include <functional>

class QPainter;

// A painted dialog banner: a band shaded from left to right, a picture at its left, a
// white title and, under it, a subtitle. The record folder, the suppliers to recontact
// and the four check dialogs draw theirs with it.
struct Banner
{
    int height = 64;
    // The band's colours, left and right; a light bow across its right half.
    QColor left;
    QColor right;
    QColor bow;
    bool antialiased = false;
    // Paints the picture at the band's left.
    std::function<void(QPainter &)> drawPicture;
    // The title in its box: from textLeft to the band's width less rightMargin, from
    // titleTop for titleHeight pixels (0: the band's whole height).
    QString title;
    QFont titleFont;
    int titleFlags = Qt::AlignLeft | Qt::AlignVCenter;
    qreal textLeft = 0;
    qreal rightMargin = 0;
    qreal titleTop = 0;
    qreal titleHeight = 0;
    // The subtitle under the title, in its own colour; none when empty.
    QString subtitle;
    QFont subtitleFont;
    QColor subtitleColour;
    qreal subtitleTop = 0;
    qreal subtitleHeight = 0;
};

// The banner's picture, width pixels wide.
QPixmap paintBanner(const Banner &banner, int width);
