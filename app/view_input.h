#pragma once
// The mouse in the orthographic views: a press picks and may start a drag,
// a move shows the pointer's position, and while Ctrl-dragging the timer
// `mover`, which it owns, moves the selection.
#include <Qt>

#include "app/editor_state.h"

class QTimer;
class QWidget;

namespace facetor {

class WindowPanes;

class ViewInput {
  public:
    ViewInput(QWidget* window, EditorState& state, WindowPanes& panes);

    void Image2MouseDown(int x, int y, Qt::KeyboardModifiers modifiers);
    void Image2MouseMove(int x, int y);
    void Image2MouseUp();

  private:
    void moverTimer();
    void stop_drag();

    EditorState& state_;
    WindowPanes& panes_;
    QTimer* mover_ = nullptr;
};

} // namespace facetor
