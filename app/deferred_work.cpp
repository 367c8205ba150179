#include "app/deferred_work.h"

#include <QWidget>
#include <algorithm>

#include "app/error_guard.h"

namespace facetor {

void DeferredWork::after_current_event(std::function<void()> work)
{
    deferred_.push_back(std::move(work));
    schedule_deferred();
}

void DeferredWork::window_painted()
{
    if (!painted_once_) {
        painted_once_ = true;
        schedule_deferred();
    }
}

void DeferredWork::schedule_deferred()
{
    // Nothing runs before the window is on screen: a window manager fits a
    // new window to the screen only once it has mapped it, and a box shown
    // before that stands alone on an empty screen and delays the fitting
    // (and another size change, another try) until after it.
    if (!painted_once_ || deferred_scheduled_ || deferred_.empty()) {
        return;
    }
    deferred_scheduled_ = true;
    QMetaObject::invokeMethod(
        window_, [this] { run_deferred(); }, Qt::QueuedConnection);
}

void DeferredWork::report_later(ErrorReport report)
{
    // Paints that fail alike before the box shows give one box.
    if (std::find(reports_waiting_.begin(), reports_waiting_.end(), report) !=
        reports_waiting_.end()) {
        return;
    }
    reports_waiting_.push_back(report);
    after_current_event([this, report = std::move(report)] {
        reports_waiting_.erase(std::find(reports_waiting_.begin(), reports_waiting_.end(), report));
        throw ExplainedError(report.text, report.detail);
    });
}

void DeferredWork::run_deferred()
{
    deferred_scheduled_ = false;
    // A box opened by one piece runs the event loop; what is asked for
    // meanwhile waits for this loop rather than opening a second box on top.
    if (running_deferred_) {
        return;
    }
    running_deferred_ = true;
    while (!deferred_.empty()) {
        std::function<void()> work = std::move(deferred_.front());
        deferred_.pop_front();
        guarded(window_, work);
    }
    running_deferred_ = false;
}

} // namespace facetor
