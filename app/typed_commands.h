#pragma once
// Values typed into the property grids: the text of a cell the user left
// is checked by the typed-value rules and applied as one step, or refused
// with the reason in the status bar and the stored value shown again.
#include <QString>

#include "app/editor_state.h"
#include "editing/edit_modes.h"

namespace facetor {

class EditCommands;
class WindowPanes;

class TypedValueCommands {
  public:
    TypedValueCommands(EditorState& state, WindowPanes& panes, EditCommands& edits);

    // The cell of `row` on `page` was left with `text` in it.
    void cell_edited(Page page, int row, const QString& text);

  private:
    EditorState& state_;
    WindowPanes& panes_;
    EditCommands& edits_;
};

} // namespace facetor
