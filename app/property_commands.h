#pragma once
// The "+" rows of the property grids: a press opens the option chooser or,
// for a face's material, the texture picker; a choice that changes the
// field is one step of the edit history. Owns both dialogs.
#include <optional>

#include "app/editor_state.h"
#include "editing/edit_modes.h"
#include "editing/edit_step.h"
#include "editing/property_edit.h"
#include "uisupport/handler_guard.h"

class QWidget;

namespace facetor {

class EditCommands;
class TOptions;
class Tmatpicker;
class WindowPanes;

class PropertyCommands {
  public:
    PropertyCommands(QWidget* window, EditorState& state, WindowPanes& panes, EditCommands& edits);

    // The picker reads its archive at once, through `guard_later`, which
    // reports an error after the event at hand.
    void create_picker(const HandlerGuard& guard_later);
    void create_options();
    Tmatpicker* picker() const { return picker_; }
    TOptions* options() const { return options_; }

    void m_propMouseDown(int col, int row);
    void f_propMouseDown(int col, int row);

  private:
    PropertyDialogs property_dialogs();
    std::optional<StepRecorder> recorder_for(Page page, int col, int row) const;
    void finish(std::optional<StepRecorder>& recorder);

    QWidget* window_;
    EditorState& state_;
    WindowPanes& panes_;
    EditCommands& edits_;
    Tmatpicker* picker_ = nullptr;
    TOptions* options_ = nullptr;
};

} // namespace facetor
