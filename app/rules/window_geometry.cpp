#include "app/rules/window_geometry.h"

#include <algorithm>

namespace facetor {

WindowRect restored_window(const WindowRect& available, int design_width, int design_height,
                           const FrameMargins& frame)
{
    const int frame_x = frame.left + frame.right;
    const int frame_y = frame.top + frame.bottom;
    WindowRect r;
    r.width = std::clamp(available.width - frame_x, 1, std::max(1, design_width));
    r.height = std::clamp(available.height - frame_y, 1, std::max(1, design_height));
    r.x = available.x + (available.width - (r.width + frame_x)) / 2 + frame.left;
    r.y = available.y + (available.height - (r.height + frame_y)) / 2 + frame.top;
    return r;
}

} // namespace facetor
