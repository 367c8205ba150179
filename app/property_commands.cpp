#include "app/property_commands.h"

#include "app/edit_commands.h"
#include "app/error_guard.h"
#include "app/window_panes.h"
#include "editing/qt/toptions.h"
#include "editing/typed_values.h"
#include "textures/qt/matpicker.h"

namespace facetor {

PropertyCommands::PropertyCommands(QWidget* window, EditorState& state, WindowPanes& panes,
                                   EditCommands& edits)
    : window_(window), state_(state), panes_(panes), edits_(edits)
{
}

void PropertyCommands::create_picker(const HandlerGuard& guard_later)
{
    // The picker's and the chooser's errors open their box over them.
    picker_ =
        new Tmatpicker(*state_.model, state_.progress, state_.cur_material,
                       handler_guard([this] { return static_cast<QWidget*>(picker_); }), window_);
    // Start-up goes on with an empty list; the box waits for the window.
    guard_later([this] { picker_->Button2Click(); });
}

void PropertyCommands::create_options()
{
    options_ =
        new TOptions(handler_guard([this] { return static_cast<QWidget*>(options_); }), window_);
}

PropertyDialogs PropertyCommands::property_dialogs()
{
    return {options_->options(), [this] { options_->show_modal(); }, [this] { picker_->exec(); }};
}

// The field the row shows, recorded before its dialog may change it.
std::optional<StepRecorder> PropertyCommands::recorder_for(Page page, int col, int row) const
{
    const std::optional<FieldRef> at = grid_field(*state_.model, page, row);
    if (col != 0 || !at) {
        return std::nullopt;
    }
    std::optional<StepRecorder> recorder;
    recorder.emplace(*state_.model, std::string(step_name(at->field)));
    recorder->record(*state_.model, *at);
    return recorder;
}

// A dialog's Ok that changed the field is one step; otherwise the page is
// rewritten as it was.
void PropertyCommands::finish(std::optional<StepRecorder>& recorder)
{
    EditStep step = recorder ? std::move(*recorder).finish(*state_.model) : EditStep{};
    if (step.empty()) {
        panes_.refresh_panels();
        return;
    }
    edits_.record(std::move(step));
}

void PropertyCommands::m_propMouseDown(int col, int row)
{
    std::optional<StepRecorder> recorder = recorder_for(Page::mesh_page, col, row);
    PropertyDialogs dialogs = property_dialogs();
    if (mesh_grid_press(*state_.model, dialogs, col, row)) {
        finish(recorder);
    }
}

void PropertyCommands::f_propMouseDown(int col, int row)
{
    std::optional<StepRecorder> recorder = recorder_for(Page::face_page, col, row);
    PropertyDialogs dialogs = property_dialogs();
    if (face_grid_press(*state_.model, state_.cur_material, dialogs, col, row)) {
        finish(recorder);
    }
}

} // namespace facetor
