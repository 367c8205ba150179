#pragma once
// The one error guard. Every Qt entry point into our code runs its body
// through it: an error ends the handler, its text is shown in a message box
// and written to standard error, and the event loop goes on. No exception
// crosses a Qt frame.
//
// Where the entry points are bound, so that a new one is not forgotten:
// - app/loader.cpp: Tloader's event overrides (show, paint, close), its key
//   and view-area event filter, and every widget signal (guarded_connect);
// - app/loader_menus.cpp: menu items and toolbar buttons (bind);
// - app/view_timer.cpp: the timers Timer1 and mover;
// - app/key_router.cpp, app/deferred_work.cpp: each key event, each piece
//   of deferred work;
// - the widgets of the other folders (DXDraw, the texture picker, the option
//   chooser) run their own event overrides and signals through the
//   HandlerGuard they receive from Tloader (model/handler_guard.h).
#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "model/handler_guard.h"

class QWidget;

namespace facetor {

// Shows `text` in a modal box titled "Facetor" and writes "facetor: <text>" to stderr.
void report_error(QWidget* parent, const std::string& text);

// Runs `body`; returns the text of the error that ended it, if one did.
template <typename F> std::optional<std::string> error_of(F&& body)
{
    try {
        body();
        return std::nullopt;
    } catch (const std::exception& e) {
        return std::string(e.what());
    } catch (...) {
        return std::string("Unknown error");
    }
}

// Runs `body`; on an error runs `stop` (which undoes what would make the
// same error come back at once, such as a running timer) and then reports.
template <typename F, typename S> void guarded(QWidget* parent, F&& body, S&& stop)
{
    if (const std::optional<std::string> text = error_of(std::forward<F>(body))) {
        stop();
        report_error(parent, *text);
    }
}

template <typename F> void guarded(QWidget* parent, F&& body)
{
    guarded(parent, std::forward<F>(body), [] {});
}

// The guard as the other folders' widgets receive it, reporting over `parent`.
HandlerGuard handler_guard(QWidget* parent);

} // namespace facetor
