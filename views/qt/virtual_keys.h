#pragma once
// Qt key events as the platform's virtual-key codes the navigation core uses.
class QKeyEvent;

namespace facetor {

// The virtual-key code of the key, 0 for a key without one. The keypad's plus
// and minus have codes of their own, distinct from the main keyboard's.
int virtual_key(const QKeyEvent& event);

} // namespace facetor
