#pragma once
// Every event handler runs its body through this guard: an error ends the
// handler, its text is shown in a message box and written to standard error,
// and the event loop goes on. No exception crosses a Qt frame.
#include <exception>
#include <functional>
#include <string>

class QWidget;

namespace facetor {

// Shows `text` in a modal box titled "Facetor" and writes "facetor: <text>" to stderr.
void report_error(QWidget* parent, const std::string& text);

template <typename F> void guarded(QWidget* parent, F&& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        report_error(parent, e.what());
    } catch (...) {
        report_error(parent, "Unknown error");
    }
}

} // namespace facetor
