#include "editing/options.h"

namespace facetor {

OptionsState::OptionsState()
{
    // The captions the controls are designed with; every caller overwrites them.
    static constexpr const char* b_captions[k_radio_options] = {"b1", "b2", "b3", "b4",
                                                                "b5", "b6", "b7"};
    static constexpr const char* c_captions[k_flag_options] = {"c1", "c2", "c3"};
    for (std::size_t k = 0; k < b.size(); ++k) {
        b[k].caption = b_captions[k];
    }
    for (std::size_t k = 0; k < c.size(); ++k) {
        c[k].caption = c_captions[k];
    }
}

std::int32_t flag_code(bool c1, bool c2, bool c3)
{
    // Indexed by c1 + 2 c2 + 4 c3.
    static constexpr std::int32_t codes[8] = {7, 0, 1, 3, 2, 4, 5, 6};
    return codes[(c1 ? 1 : 0) + (c2 ? 2 : 0) + (c3 ? 4 : 0)];
}

void options_ok(OptionsState& options)
{
    if (options.b[0].visible) {
        for (int k = 0; k < k_radio_options; ++k) {
            if (options.b[static_cast<std::size_t>(k)].checked) {
                options.choice = k;
            }
        }
    }
    if (options.c[0].visible) {
        options.choice =
            flag_code(options.c[0].checked, options.c[1].checked, options.c[2].checked);
    }
    for (OptionControl& box : options.c) {
        box.checked = false;
    }
    for (OptionControl& option : options.b) {
        option.checked = false;
    }
    for (OptionControl& box : options.c) {
        box.visible = false;
    }
    for (OptionControl& option : options.b) {
        option.visible = false;
    }
}

} // namespace facetor
