#include "app/view_input.h"

#include <QTimer>

#include "app/view_timer.h"
#include "app/window_panes.h"

namespace facetor {

ViewInput::ViewInput(QWidget* window, EditorState& state, WindowPanes& panes)
    : state_(state), panes_(panes)
{
    mover_ = make_view_timer(
        window, QStringLiteral("mover"), 100, [this] { moverTimer(); }, [this] { stop_drag(); });
}

void ViewInput::Image2MouseDown(int x, int y, Qt::KeyboardModifiers modifiers)
{
    const PressResult r = mouse_press(state_.pick, *state_.model, state_.view, state_.edit_mode, x,
                                      y, (modifiers & Qt::ControlModifier) != 0);
    if (r.start_mover) {
        mover_->start();
    }
    panes_.refresh_panels();
    panes_.redraw_all_views();
}

void ViewInput::Image2MouseMove(int x, int y)
{
    const StatusTexts texts = mouse_move(state_.pick, x, y);
    panes_.set_status(0, QString::fromStdString(texts.x));
    panes_.set_status(1, QString::fromStdString(texts.y));
}

void ViewInput::Image2MouseUp()
{
    stop_drag();
}

void ViewInput::stop_drag()
{
    mouse_release(state_.pick);
    mover_->stop();
}

void ViewInput::moverTimer()
{
    if (drag_step(state_.pick, *state_.model, state_.view, state_.edit_mode)) {
        panes_.redraw_all_views();
    }
}

} // namespace facetor
