#pragma once
// The two view timers, Timer1 and mover: children of the main window that
// tick only while the application is the active one, each tick run through
// the error guard. A failing tick first runs `stop`, so that one error gives
// one box.
#include <functional>

class QString;
class QTimer;
class QWidget;

namespace facetor {

QTimer* make_view_timer(QWidget* window, const QString& name, int interval_ms,
                        std::function<void()> tick, std::function<void()> stop);

} // namespace facetor
