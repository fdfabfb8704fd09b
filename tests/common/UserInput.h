#pragma once
#include <QApplication>
#include <QMouseEvent>
#include <QString>
#include <QTest>
#include <QWidget>

// Types text into w with real key events. QTest::keyClicks asserts on characters outside
// ASCII in Qt 6.4, so those (and control characters) arrive as text events of an unknown
// key; a character outside the basic plane is one such key with both halves.
inline void typeText(QWidget *w, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.unicode() < 0x80 && ch.unicode() >= 0x20) {
            QTest::keyClick(w, ch.toLatin1());
        } else {
            const qsizetype length = ch.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            QTest::sendKeyEvent(
                QTest::Click, w, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
            i += length - 1;
        }
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
