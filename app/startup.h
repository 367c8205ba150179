#pragma once
// The start-up sequence, shared by main() and the GUI tests: the main
// window, then the texture picker and the option chooser, then the window
// shown maximised.
#include <memory>

namespace facetor {

class Tloader;

// Creates the three windows in order; none is shown yet.
std::unique_ptr<Tloader> create_windows();

// Shows the main window maximised. Without a window manager nothing
// maximises it, so it is given the screen's working area first.
void show_maximised(Tloader& loader);

} // namespace facetor
