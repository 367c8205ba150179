#pragma once
// The error box: how an error that ended a handler is shown to the user.
#include <QString>
#include <string>

class QWidget;

namespace facetor {

// Writes "facetor: <text>" to standard error, then shows `text` in a modal
// box titled "Facetor" that belongs to the window of `owner` (the window
// whose handler raised the error): above it, even when that window stays on
// top of others, focused, and wide enough that a window manager shows its
// title whole. A hidden owner hands the box to the window it belongs to.
void report_error(QWidget* owner, const std::string& text);

// The width a box titled `title` needs so that a window manager's title bar
// shows the title beside its buttons.
int title_bar_width(const QString& title);

} // namespace facetor
