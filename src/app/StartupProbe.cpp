#include "app/StartupProbe.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace {

class FirstWindowProbe : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Expose)
            return false;
        auto *window = qobject_cast<QWindow *>(watched);
        if (!window || !window->isExposed())
            return false;
        // The window of a widget screen is named after the widget; use the screen's name.
        QString name = window->objectName();
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() == window)
                name = widget->objectName();
        }
        std::printf("%s\n", qPrintable(name));
        std::fflush(stdout);
        // Nothing has been changed yet, so nothing needs saving: end here, before the
        // window's own handlers run.
        std::_Exit(0);
    }
};

} // namespace

void installStartupProbe(QApplication &app)
{
    if (qEnvironmentVariable("MERVENTA_STARTUP_PROBE") != QLatin1String("1"))
        return;
    app.installEventFilter(new FirstWindowProbe(&app));
}
