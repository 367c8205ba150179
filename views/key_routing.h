#pragma once
// Which key events of the main window reach the navigation handlers. The
// window sees every key press and release before the focused control; the
// menu takes its shortcuts first.
namespace facetor {

enum class KeyEventKind {
    press,
    release,
    shortcut_override, // Qt's question whether a control wants a key before the shortcuts
};

// Whether the key is the shortcut of a menu item, and that item's state.
enum class MenuShortcut { none, enabled, disabled };

struct KeyRoute {
    enum class Handler { none, key_down, key_up };
    Handler handler = Handler::none; // FormKeyDown, Edit1KeyUp or neither
    bool take = false;               // with no handler: the focused control does not see the key
};

// An enabled shortcut wins over a focused control's own use of the key
// (Ctrl+X is Cut to a line edit, Exit here); a disabled one takes its press
// and does nothing; its release still stops the motion. X repeats a held key
// as release-press pairs: such a release is not the key going up.
KeyRoute route_key(KeyEventKind kind, MenuShortcut shortcut, bool auto_repeat);

// After FormKeyDown consumed a press: whether the focused control is kept
// from it. A key that types a character still types it, as a key press and
// the character it makes are two separate things to the control.
bool keep_from_control(bool consumed, bool types_character);

} // namespace facetor
