#pragma once
#include <QApplication>
#include <QMouseEvent>
#include <QString>
#include <QTest>
#include <QWidget>

// Types text into w with real key events. QTest::keyClicks asserts on characters outside
// ASCII in Qt 6.4, so those arrive as text events of an unknown key.
inline void typeText(QWidget *w, const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(w, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// A mouse move with no button pressed over the middle of w, delivered like the window
// system does: to the widget under the mouse, and on to its parents while nobody tracks
// the mouse.
inline void hover(QWidget *w)
{
    const QPoint pos = w->rect().center();
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}
