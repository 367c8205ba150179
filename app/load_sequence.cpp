#include "app/load_sequence.h"

#include <QFileDialog>

#include "app/deferred_work.h"
#include "app/window_panes.h"
#include "preview3d/qt/dxdraw.h"

namespace facetor {

LoadSequence::LoadSequence(QWidget* window, EditorState& state, WindowPanes& panes,
                           QFileDialog* open_dialog, DeferredWork& deferred)
    : window_(window), state_(state), panes_(panes), open_dialog_(open_dialog), deferred_(deferred)
{
}

void LoadSequence::request_default_load()
{
    // Also while a try is running: its error box lets size changes through,
    // and one start-up is to give one box.
    if (default_load_queued_) {
        return;
    }
    default_load_queued_ = true;
    deferred_.after_current_event([this] {
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{default_load_queued_};
        if (state_.first_load == 1) {
            Load3DO();
        }
    });
}

void LoadSequence::Load3DO()
{
    std::string path;
    if (state_.first_load == 1) {
        path = "dflt.3do";
        window_->setWindowTitle(k_caption + QStringLiteral(" - dflt.3do"));
    } else {
        if (open_dialog_->exec() != QDialog::Accepted || open_dialog_->selectedFiles().isEmpty()) {
            return;
        }
        path = open_dialog_->selectedFiles().constFirst().toStdString();
    }
    read_3do_file(path, *state_.model, state_.reader, state_.progress);
    complete_load(path);
}

// What follows a successful read, in this order: caption, flag, view angles,
// panel, the three views, the bar at 100, the 3D scene and its first render.
void LoadSequence::complete_load(const std::string& path)
{
    if (state_.first_load == 0) {
        window_->setWindowTitle(k_caption + QStringLiteral(" - ") + QString::fromStdString(path));
    }
    state_.first_load = 0;
    reset_view_angles(state_.view);
    panes_.refresh_panels();
    panes_.redraw_all_views();
    state_.progress.set(100);
    panes_.dxdraw()->DXDrawInitialize(*state_.model);
    panes_.dxdraw()->D3DRMRender();
}

void LoadSequence::New1Click()
{
    state_.first_load = 1;
    Load3DO();
}

} // namespace facetor
