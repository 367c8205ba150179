#pragma once
// The one error guard. Every Qt entry point into our code runs its body
// through it: an error ends the handler, its text is written to standard
// error and shown in the error box (uisupport/error_box.h) over the window
// whose handler raised it, and the event loop goes on. No exception crosses
// a Qt frame.
//
// Where the entry points are bound, so that a new one is not forgotten:
// - app/loader.cpp: Tloader's event overrides (show, paint, close), its key
//   and view-area event filter, and every widget signal (guarded_connect);
// - app/loader_desktop.cpp: the drag and drop events, and the restore from
//   maximised;
// - app/loader_menus.cpp: menu items and toolbar buttons (bind), but for
//   the editing commands, which app/geometry_commands.cpp binds;
// - app/view_timer.cpp: the timers Timer1 and mover;
// - app/key_router.cpp, app/deferred_work.cpp: each key event, each piece
//   of deferred work;
// - the widgets of the other folders (DXDraw, the texture picker, the option
//   chooser, Create Mesh's name dialog) run their own event overrides and
//   signals through the HandlerGuard they receive from Tloader
//   (uisupport/handler_guard.h); the picker, the chooser and the name
//   dialog report over themselves. So do the file dialogs' own event
//   filters (uisupport/open_dialog.cpp).
#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "uisupport/error_box.h"
#include "uisupport/handler_guard.h"

class QWidget;

namespace facetor {

// What the box of an error shows: its text, and the detail below it.
struct ErrorReport {
    std::string text;
    std::string detail;
    friend bool operator==(const ErrorReport&, const ErrorReport&) = default;
};

// Runs `body`; returns the report of the error that ended it, if one did.
template <typename F> std::optional<ErrorReport> error_of(F&& body)
{
    try {
        body();
        return std::nullopt;
    } catch (const ExplainedError& e) {
        return ErrorReport{e.what(), e.detail()};
    } catch (const std::exception& e) {
        return ErrorReport{e.what(), {}};
    } catch (...) {
        return ErrorReport{"Unknown error", {}};
    }
}

// Runs `body`; on an error runs `stop` (which undoes what would make the
// same error come back at once, such as a running timer) and then reports.
template <typename F, typename S> void guarded(QWidget* parent, F&& body, S&& stop)
{
    if (const std::optional<ErrorReport> report = error_of(std::forward<F>(body))) {
        stop();
        report_error(parent, report->text, report->detail);
    }
}

template <typename F> void guarded(QWidget* parent, F&& body)
{
    guarded(parent, std::forward<F>(body), [] {});
}

// The guard as the other folders' widgets receive it, reporting over the
// window `owner` names when an error comes (the widget that receives the
// guard does not exist yet when the guard is made).
HandlerGuard handler_guard(std::function<QWidget*()> owner);

} // namespace facetor
