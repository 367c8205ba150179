#pragma once
// Keyboard navigation of the orthographic views: held arrow keys pan or turn
// the active view on every motion tick, keypad plus and minus zoom it, N and
// P step the selection. The window owns Timer1 and does what the results say.
#include <cstdint>

#include "model/model.h"
#include "views/view_state.h"

namespace facetor {

// Platform virtual-key codes; the window translates its own key codes.
inline constexpr int vk_left = 37;
inline constexpr int vk_up = 38;
inline constexpr int vk_right = 39;
inline constexpr int vk_down = 40;
inline constexpr int vk_n = 78;
inline constexpr int vk_p = 80;
inline constexpr int vk_add = 107;      // keypad plus
inline constexpr int vk_subtract = 109; // keypad minus

struct NavigationState {
    std::uint8_t motion_kind = 0; // what a tick changes: 0 the offsets, 1 the angles
    std::uint8_t key_held = 0;    // 1 from a navigation key press until any release
};

// What the window must do after a key press.
struct KeyDownResult {
    bool consume = false;           // the focused control must not see the key
    bool start_timer = false;       // switch Timer1 on
    bool selection_stepped = false; // refresh_panels, then redraw all three views
};

// FormKeyDown. Raises OverflowError when doubling the zoom does not fit; the
// zoom is then unchanged.
KeyDownResult navigation_key_down(NavigationState& nav, ViewState& views, type_model& model,
                                  EditMode mode, int key, bool shift);

// Edit1KeyUp, for every key: the motion stops; the window switches Timer1 off.
void navigation_key_up(NavigationState& nav);

// DXTimer1Timer: one motion step of the active view, with checked 32-bit
// additions. Returns whether the window must Render the active view.
bool motion_tick(const NavigationState& nav, ViewState& views);

// The arrow keys' steps for `view_number` 1..3: pan steps, or angle steps
// with Shift. Other keys and views change nothing.
void set_arrow_steps(type_view& view, int view_number, int key, bool shift);

// Keypad plus and minus: checked doubling, truncating halving.
void zoom_in(type_view& view);
void zoom_out(type_view& view);

// N (forward) and P (back): the index of the edit mode cycles through
// 0..count, where count names the empty slot past the last item. An index
// above the count counts as the count: N gives 0, P count - 1. The active
// element is then the whole selection.
void step_selection(type_model& model, EditMode mode, bool forward);

} // namespace facetor
