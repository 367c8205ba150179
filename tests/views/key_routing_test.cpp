#include "views/key_routing.h"

#include <gtest/gtest.h>

namespace facetor {
namespace {

TEST(KeyRouting, MenuShortcutsComeFirstAndRepeatedReleasesDoNotStop)
{
    using K = KeyEventKind;
    using S = MenuShortcut;
    using H = KeyRoute::Handler;
    const struct {
        const char* name;
        K kind;
        S shortcut;
        bool repeat;
        H handler;
        bool take;
    } cases[] = {
        {"enabled shortcut beats the control", K::shortcut_override, S::enabled, false, H::none,
         true},
        {"disabled shortcut leaves the control", K::shortcut_override, S::disabled, false, H::none,
         false},
        {"other keys leave the control", K::shortcut_override, S::none, false, H::none, false},
        {"disabled shortcut's press is taken", K::press, S::disabled, false, H::none, true},
        {"a press goes to FormKeyDown", K::press, S::none, true, H::key_down, false},
        {"a shortcut's release stops", K::release, S::disabled, false, H::key_up, false},
        {"a repeat's release is no release", K::release, S::none, true, H::none, false},
    };
    for (const auto& c : cases) {
        const KeyRoute r = route_key(c.kind, c.shortcut, c.repeat);
        EXPECT_EQ(r.handler, c.handler) << c.name;
        EXPECT_EQ(r.take, c.take) << c.name;
    }
}

} // namespace
} // namespace facetor
