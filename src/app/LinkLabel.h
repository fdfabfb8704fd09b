#pragma once
#include "app/Palette.h"
#include <QColor>
#include <QLabel>

// The underlined link text of the help, information and credits windows (lnkWeb): dark
// blue, orange while the mouse button is held down on it or on its picture, dark blue
// again on release, wherever the button is released. A release over the link or its
// picture is a click.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(QWidget *parent = nullptr);

    static QColor linkColour() { return QColor(Palette::kLink); }
    static QColor pressedColour() { return QColor(Palette::kLinkPressed); }

    // Another colour at rest (an export link is chartreuse); pressed stays orange.
    void setRestColour(const QColor &colour);
    // The picture beside the link acts as part of it: pressing it colours the link and a
    // click on it is a click on the link.
    void addPicture(QWidget *picture);
    QColor colour() const;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setColour(const QColor &colour);
    void release(const QWidget *widget, const QMouseEvent *event);

    QColor m_restColour = linkColour();
};
