#include "views/key_routing.h"

namespace facetor {

KeyRoute route_key(KeyEventKind kind, MenuShortcut shortcut, bool auto_repeat)
{
    using Handler = KeyRoute::Handler;
    switch (kind) {
    case KeyEventKind::shortcut_override:
        return {Handler::none, shortcut == MenuShortcut::enabled};
    case KeyEventKind::press:
        if (shortcut == MenuShortcut::disabled) {
            return {Handler::none, true};
        }
        return {Handler::key_down, false};
    case KeyEventKind::release:
        if (auto_repeat) {
            return {Handler::none, false};
        }
        return {Handler::key_up, false};
    }
    return {};
}

bool keep_from_control(bool consumed, bool types_character)
{
    return consumed && !types_character;
}

} // namespace facetor
