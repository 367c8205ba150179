#include "app/load_sequence.h"

#include <QFileDialog>

#include "app/deferred_work.h"
#include "app/document_commands.h"
#include "app/edit_commands.h"
#include "app/window_panes.h"
#include "model/tokenizer.h"
#include "preview3d/qt/dxdraw.h"

namespace facetor {

LoadSequence::LoadSequence(QWidget* window, EditorState& state, WindowPanes& panes,
                           QFileDialog* open_dialog, DeferredWork& deferred,
                           DocumentCommands& document, EditCommands& edits)
    : window_(window), state_(state), panes_(panes), open_dialog_(open_dialog), deferred_(deferred),
      document_(document), edits_(edits)
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
        // A try asks nothing, so it must not read over the user's edits.
        const EditHistory& history = state_.document.history();
        if (state_.first_load == 1 && !history.can_undo() && !history.can_redo()) {
            read_model();
        }
    });
}

void LoadSequence::Load3DO()
{
    if (document_.may_close_model()) {
        read_model();
    }
}

void LoadSequence::read_model()
{
    std::string path;
    if (state_.first_load == 1) {
        path = "dflt.3do";
        window_->setWindowTitle(DocumentCommands::caption_for(path));
    } else {
        if (open_dialog_->exec() != QDialog::Accepted || open_dialog_->selectedFiles().isEmpty()) {
            return;
        }
        path = open_dialog_->selectedFiles().constFirst().toStdString();
    }
    {
        FileSource file(path); // a file that cannot be opened changes nothing
        try {
            read_3do(file, *state_.model, state_.reader, state_.progress);
        } catch (...) {
            state_.document.load_failed();
            edits_.history_reset();
            throw;
        }
    }
    complete_load(path);
}

// What follows a successful read, in this order: caption, flag, view angles,
// panel, the three views, the bar at 100, the 3D scene and its first render.
void LoadSequence::complete_load(const std::string& path)
{
    state_.document.loaded(path);
    edits_.history_reset(); // the caption with it
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
    if (document_.may_close_model()) {
        state_.first_load = 1;
        read_model();
    }
}

} // namespace facetor
