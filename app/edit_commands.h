#pragma once
// The edit history as the window uses it: every change the program makes to
// the model arrives here as one step, already applied; Undo and Redo take
// steps back and make them again. After each, the side panel, the three
// views and the 3D scene show the model as it now is, the Edit menu names
// the steps, and the caption shows whether the model differs from its file.
#include <functional>

#include "app/editor_state.h"
#include "editing/edit_step.h"

class QAction;

namespace facetor {

class WindowPanes;

class EditCommands {
  public:
    // `undo` and `redo` are the Edit menu's items; `modified_changed` shows
    // the document's state (the caption).
    EditCommands(EditorState& state, WindowPanes& panes, QAction* undo, QAction* redo,
                 std::function<void()> modified_changed);

    // A step the model has already taken: into the history (an empty step
    // changes nothing), then shown.
    void record(EditStep step);
    // The same without showing it: for a drag that an error stopped, whose
    // drawing would only fail again.
    void record_quietly(EditStep step);

    void Undo1Click();
    void Redo1Click();

    // The history changed under it (a load): the menu and caption again.
    void history_reset();

  private:
    void show_model();
    void show_history();
    void show_actions();

    EditorState& state_;
    WindowPanes& panes_;
    QAction* undo_;
    QAction* redo_;
    std::function<void()> modified_changed_;
};

} // namespace facetor
