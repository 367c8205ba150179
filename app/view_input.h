#pragma once
// The mouse in the orthographic views: a press picks and may start a drag,
// a move shows the pointer's position, and while Ctrl-dragging the timer
// `mover`, which it owns, moves the selection. A drag, from press to
// release, is one step of the edit history.
#include <Qt>
#include <optional>

#include "app/editor_state.h"
#include "editing/edit_step.h"

class QTimer;
class QWidget;

namespace facetor {

class EditCommands;
class WindowPanes;

class ViewInput {
  public:
    ViewInput(QWidget* window, EditorState& state, WindowPanes& panes, EditCommands& edits);

    void Image2MouseDown(int x, int y, Qt::KeyboardModifiers modifiers);
    void Image2MouseMove(int x, int y);
    void Image2MouseUp();

  private:
    void moverTimer();
    // The release, or an error that stopped a tick (`quietly`: what the
    // drag moved goes into the history without drawing it again).
    void stop_drag(bool quietly);
    // Records the vertices the next drag step moves, before it moves them.
    void record_dragged_vertices();

    EditorState& state_;
    WindowPanes& panes_;
    EditCommands& edits_;
    QTimer* mover_ = nullptr;
    std::optional<StepRecorder> drag_; // from a Ctrl-press until the release
    std::size_t drag_clears_ = 0;      // the history's clears at the press
};

} // namespace facetor
