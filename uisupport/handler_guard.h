#pragma once
// The window's one error guard, as the widgets of every subsystem receive it.
// A widget runs the body of each of its Qt entry points (signal handlers,
// event overrides, timers, paint) through the guard it was handed: an error
// then ends that handler, is reported once, and the event loop goes on.
// The main window supplies the guard (app/error_guard.h); tests may supply
// one that records the errors instead.
#include <functional>

namespace facetor {

using HandlerBody = std::function<void()>;
using HandlerGuard = std::function<void(const HandlerBody&)>;

} // namespace facetor
