#pragma once
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs inspect on the next modal window that opens (the call that opens it blocks in its
// own event loop), then closes that window if inspect left it open. Results are captured
// by inspect and checked after the modal call returns, so a failing check never leaves
// the window open.
inline void onNextModal(std::function<void(QWidget *)> inspect, int attempts = 500)
{
    QTimer::singleShot(10, qApp, [inspect, attempts] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (!modal) {
            if (attempts > 0)
                onNextModal(inspect, attempts - 1);
            return;
        }
        inspect(modal);
        if (modal && modal->isVisible())
            modal->close();
    });
}
