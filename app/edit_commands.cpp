#include "app/edit_commands.h"

#include <QAction>

#include "app/window_panes.h"
#include "preview3d/qt/dxdraw.h"

namespace facetor {

namespace {

// "&Undo Move Vertex", as Qt applications name the step; "&Undo" with none.
QString step_caption(const char* command, const std::optional<std::string>& name)
{
    QString caption = QString::fromLatin1(command);
    if (name) {
        caption += QLatin1Char(' ') + QString::fromStdString(*name);
    }
    return caption;
}

} // namespace

EditCommands::EditCommands(EditorState& state, WindowPanes& panes, QAction* undo, QAction* redo,
                           std::function<void()> modified_changed)
    : state_(state), panes_(panes), undo_(undo), redo_(redo),
      modified_changed_(std::move(modified_changed))
{
    show_actions(); // the caption waits for the first load
}

void EditCommands::record(EditStep step)
{
    if (step.empty()) {
        return;
    }
    record_quietly(std::move(step));
    show_model();
}

void EditCommands::record_quietly(EditStep step)
{
    if (step.empty()) {
        return;
    }
    state_.document.history().record(std::move(step));
    show_history();
}

// Not while a drag runs: its step is made at the release, from the
// positions at the press, which an undo underneath would make wrong.
void EditCommands::Undo1Click()
{
    if (state_.pick.dragging == 1) {
        return;
    }
    if (state_.document.history().undo(*state_.model) != nullptr) {
        show_history();
        show_model();
    }
}

void EditCommands::Redo1Click()
{
    if (state_.pick.dragging == 1) {
        return;
    }
    if (state_.document.history().redo(*state_.model) != nullptr) {
        show_history();
        show_model();
    }
}

void EditCommands::history_reset()
{
    show_history();
}

// What every edit shows, in this order: panel, the three views, the 3D
// scene built again (its turning and depth kept).
void EditCommands::show_model()
{
    panes_.refresh_panels();
    panes_.redraw_all_views();
    panes_.dxdraw()->rebuild_scene(*state_.model);
}

void EditCommands::show_history()
{
    show_actions();
    modified_changed_();
}

void EditCommands::show_actions()
{
    const EditHistory& history = state_.document.history();
    undo_->setText(step_caption("&Undo", history.undo_name()));
    undo_->setEnabled(history.can_undo());
    redo_->setText(step_caption("&Redo", history.redo_name()));
    redo_->setEnabled(history.can_redo());
}

} // namespace facetor
