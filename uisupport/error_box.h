#pragma once
// The error box: how an error that ended a handler is shown to the user.
#include <QString>
#include <stdexcept>
#include <string>
#include <utility>

class QWidget;

namespace facetor {

// An error that says more than its text: the box shows `detail` below it
// (where a load stopped and why). The text alone is what a terminal sees.
class ExplainedError : public std::runtime_error {
  public:
    ExplainedError(const std::string& text, std::string detail)
        : std::runtime_error(text), detail_(std::move(detail))
    {
    }
    const std::string& detail() const noexcept { return detail_; }

  private:
    std::string detail_;
};

// Writes "facetor: <text>" to standard error, then shows `text` in a modal
// box titled "Facetor" that belongs to the window of `owner` (the window
// whose handler raised the error): above it, even when that window stays on
// top of others, focused, and wide enough that a window manager shows its
// title whole. A hidden owner hands the box to the window it belongs to.
// A `detail` shows below the text.
void report_error(QWidget* owner, const std::string& text, const std::string& detail = {});

// The width a box titled `title` needs so that a window manager's title bar
// shows the title beside its buttons.
int title_bar_width(const QString& title);

} // namespace facetor
