#pragma once
// The load's progress bar position. Like the bar it drives, it holds only
// values from 0 to 100; every change is handed on at once so that the window
// can repaint the bar while the load blocks the event loop.
#include <algorithm>
#include <functional>
#include <utility>

namespace facetor {

class Progress {
  public:
    Progress() = default;
    explicit Progress(std::function<void(int)> on_change) : on_change_(std::move(on_change)) {}

    int value() const { return value_; }

    void set(int v)
    {
        value_ = std::clamp(v, 0, 100);
        if (on_change_) {
            on_change_(value_);
        }
    }

  private:
    int value_ = 0;
    std::function<void(int)> on_change_;
};

} // namespace facetor
