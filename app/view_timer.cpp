#include "app/view_timer.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#include "app/error_guard.h"

namespace facetor {

QTimer* make_view_timer(QWidget* window, const QString& name, int interval_ms,
                        std::function<void()> tick, std::function<void()> stop)
{
    auto* timer = new QTimer(window);
    timer->setObjectName(name);
    timer->setInterval(interval_ms);
    QObject::connect(timer, &QTimer::timeout, window, [window, tick, stop] {
        if (QGuiApplication::applicationState() == Qt::ApplicationActive) {
            guarded(window, tick, stop);
        }
    });
    return timer;
}

} // namespace facetor
