#include "app/property_commands.h"

#include "app/error_guard.h"
#include "app/window_panes.h"
#include "editing/qt/toptions.h"
#include "textures/qt/matpicker.h"

namespace facetor {

PropertyCommands::PropertyCommands(QWidget* window, EditorState& state, WindowPanes& panes)
    : window_(window), state_(state), panes_(panes)
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

void PropertyCommands::m_propMouseDown(int col, int row)
{
    PropertyDialogs dialogs = property_dialogs();
    if (mesh_grid_press(*state_.model, dialogs, col, row)) {
        panes_.refresh_panels();
    }
}

void PropertyCommands::f_propMouseDown(int col, int row)
{
    PropertyDialogs dialogs = property_dialogs();
    if (face_grid_press(*state_.model, state_.cur_material, dialogs, col, row)) {
        panes_.refresh_panels();
    }
}

} // namespace facetor
