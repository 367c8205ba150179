#pragma once
// The start-up sequence, shared by main() and the GUI tests: the main
// window, then the texture picker and the option chooser; then the caller
// shows the window maximised (Tloader::show_maximised).
#include <memory>

namespace facetor {

class Tloader;

// Creates the three windows in order; none is shown yet.
std::unique_ptr<Tloader> create_windows();

} // namespace facetor
