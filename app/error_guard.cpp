#include "app/error_guard.h"

namespace facetor {

HandlerGuard handler_guard(std::function<QWidget*()> owner)
{
    return [owner = std::move(owner)](const HandlerBody& body) { guarded(owner(), body); };
}

} // namespace facetor
