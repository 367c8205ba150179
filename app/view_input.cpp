#include "app/view_input.h"

#include <QTimer>

#include "app/edit_commands.h"
#include "app/view_timer.h"
#include "app/window_panes.h"

namespace facetor {

namespace {

const char* drag_name(EditMode mode)
{
    switch (mode) {
    case mesh_mode:
        return "Move Mesh";
    case face_mode:
        return "Move Face";
    case vertex_mode:
        break;
    }
    return "Move Vertex";
}

} // namespace

ViewInput::ViewInput(QWidget* window, EditorState& state, WindowPanes& panes, EditCommands& edits)
    : state_(state), panes_(panes), edits_(edits)
{
    mover_ = make_view_timer(
        window, QStringLiteral("mover"), 100, [this] { moverTimer(); },
        [this] { stop_drag(true); });
}

void ViewInput::Image2MouseDown(int x, int y, Qt::KeyboardModifiers modifiers)
{
    const QPoint at = panes_.picture_point({x, y});
    const PressResult r =
        mouse_press(state_.pick, *state_.model, state_.view, state_.edit_mode, at.x(), at.y(),
                    (modifiers & Qt::ControlModifier) != 0, (modifiers & Qt::ShiftModifier) != 0);
    if (r.start_mover) {
        if (!drag_) {
            drag_.emplace(*state_.model, drag_name(state_.edit_mode));
            drag_clears_ = state_.document.history().clears();
        }
        record_dragged_vertices();
        mover_->start();
    }
    panes_.refresh_panels();
    panes_.redraw_all_views();
}

void ViewInput::Image2MouseMove(int x, int y)
{
    // A drag follows the pointer over the picture; the status bar shows
    // where it is in the view, in the window's pixels.
    const QPoint at = panes_.picture_point({x, y});
    mouse_move(state_.pick, at.x(), at.y());
    const StatusTexts texts = status_texts(x, y);
    panes_.set_status(0, QString::fromStdString(texts.x));
    panes_.set_status(1, QString::fromStdString(texts.y));
}

void ViewInput::Image2MouseUp()
{
    stop_drag(false);
}

void ViewInput::stop_drag(bool quietly)
{
    mouse_release(state_.pick);
    mover_->stop();
    if (!drag_) {
        return;
    }
    EditStep step = std::move(*drag_).finish(*state_.model);
    drag_.reset();
    if (state_.document.history().clears() != drag_clears_) {
        return; // a model loaded while the button was held: nothing of it moved
    }
    if (quietly) {
        edits_.record_quietly(std::move(step));
    } else {
        edits_.record(std::move(step));
    }
}

void ViewInput::record_dragged_vertices()
{
    // The selection may change while the button is held (N and P): every
    // vertex a step moves is recorded before its first move.
    const int mesh = state_.model->sel_mesh;
    for_each_dragged_vertex(*state_.model, state_.edit_mode,
                            [&](int v) { drag_->record_vertex(*state_.model, mesh, v); });
}

void ViewInput::moverTimer()
{
    if (drag_ && state_.pick.dragging == 1) {
        record_dragged_vertices();
    }
    if (drag_step(state_.pick, *state_.model, state_.view, state_.edit_mode)) {
        panes_.redraw_all_views();
    }
}

} // namespace facetor
