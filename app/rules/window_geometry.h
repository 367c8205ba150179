#pragma once
// Where the main window goes when it is restored from maximised.
namespace facetor {

struct WindowRect {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// What the window manager's frame adds on each side of the window.
struct FrameMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The window's design size, made smaller where its frame would not fit the
// screen's working area `available`, and centred there, frame and all.
// Returns the window's own area, without the frame.
WindowRect restored_window(const WindowRect& available, int design_width, int design_height,
                           const FrameMargins& frame);

} // namespace facetor
