#pragma once
// The option chooser as its callers and its Ok button see it: up to seven
// radio options or three check boxes, each visible or hidden, checked or
// not, with a caption, and the one result `choice`, kept from use to use.
// The dialog shows this state and hands the user's clicks back to it.
#include <array>
#include <cstdint>
#include <string>

namespace facetor {

inline constexpr int k_radio_options = 7;
inline constexpr int k_flag_options = 3;

struct OptionControl {
    std::string caption;
    bool visible = false;
    bool checked = false;
};

struct OptionsState {
    std::array<OptionControl, k_radio_options> b; // b1..b7 at [0]..[6]
    std::array<OptionControl, k_flag_options> c;  // c1..c3 at [0]..[2]
    std::int32_t choice = 0;

    OptionsState();
};

// The flag code of the three boxes: single flags first (0, 1, 2), then the
// pairs (3, 4, 5), then all three (6), none last (7). Not a bit mask.
std::int32_t flag_code(bool c1, bool c2, bool c3);

// Button1Click: in radio use (b1 visible) `choice` becomes the position of
// the last checked option, or stays as it was when none is; in flag use (c1
// visible) the flag code. Then every control is unchecked and hidden, check
// boxes first; captions stay for the next caller to overwrite.
void options_ok(OptionsState& options);

// Step 1 of a radio use: options 0..N-1 visible with these captions.
template <std::size_t N>
void show_radio_options(OptionsState& options, const std::array<const char*, N>& captions)
{
    static_assert(N <= k_radio_options);
    for (std::size_t k = 0; k < N; ++k) {
        options.b[k].visible = true;
        options.b[k].caption = captions[k];
    }
}

} // namespace facetor
