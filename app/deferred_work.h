#pragma once
// The safe route for work that may open a modal box but is asked for while
// Qt delivers an event (a show, a resize, start-up before the event loop
// runs): it runs after that event, through the error guard, one piece at a
// time in the order asked.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/error_guard.h"

class QWidget;

namespace facetor {

class DeferredWork {
  public:
    // Boxes open over `window`.
    explicit DeferredWork(QWidget* window) : window_(window) {}

    void after_current_event(std::function<void()> work);
    // Reports an error by that route.
    void report_later(ErrorReport report);
    // The window's first paint: from now on the work may run.
    void window_painted();
    // Whether the window is on screen and nothing waits on that route.
    bool settled() const { return painted_once_ && deferred_.empty() && !running_deferred_; }

  private:
    void schedule_deferred();
    void run_deferred();

    QWidget* window_;
    std::deque<std::function<void()>> deferred_;
    std::vector<ErrorReport> reports_waiting_;
    bool deferred_scheduled_ = false;
    bool running_deferred_ = false;
    bool painted_once_ = false; // deferred work waits for it
};

} // namespace facetor
