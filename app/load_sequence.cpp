#include "app/load_sequence.h"

#include <QFile>
#include <QFileDialog>

#include "app/deferred_work.h"
#include "app/document_commands.h"
#include "app/edit_commands.h"
#include "app/window_panes.h"
#include "model/read_diagnostic.h"
#include "model/tokenizer.h"
#include "preview3d/qt/dxdraw.h"
#include "uisupport/error_box.h"

namespace facetor {

namespace {

// The box's second line: where and why, as `facetor-cli check` says it, and
// for a load that stopped inside the file, what the model holds now.
std::string failed_load_detail(const std::string& path, const std::exception& error)
{
    std::string line = read_error_line(path, error);
    if (diagnose_read_error(error).offset) {
        line += "; the model now holds what was read before the error";
    }
    return line;
}

} // namespace

LoadSequence::LoadSequence(QWidget* window, EditorState& state, WindowPanes& panes,
                           QFileDialog* open_dialog, DeferredWork& deferred,
                           DocumentCommands& document, EditCommands& edits)
    : window_(window), state_(state), panes_(panes), open_dialog_(open_dialog), deferred_(deferred),
      document_(document), edits_(edits)
{
}

void LoadSequence::set_startup_file(std::string path)
{
    startup_file_ = std::move(path);
    // Save writes where the caption points, also after a start-up load
    // that found no file.
    state_.document.loaded(startup_file_);
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

void LoadSequence::open_file(const std::string& path, const std::string& note)
{
    if (document_.may_close_model()) {
        panes_.show_message(QString::fromStdString(note));
        state_.first_load = 0; // a start-up load still waiting would read over it
        read_file(path);
    }
}

void LoadSequence::read_model()
{
    if (state_.first_load == 1) {
        // One try: a start-up file that is missing or malformed must not
        // keep Open from asking for another, nor every resize from reading
        // it again.
        state_.first_load = 0;
        window_->setWindowTitle(DocumentCommands::caption_for(startup_file_));
        read_file(startup_file_);
        return;
    }
    if (open_dialog_->exec() != QDialog::Accepted || open_dialog_->selectedFiles().isEmpty()) {
        return;
    }
    read_file(QFile::encodeName(open_dialog_->selectedFiles().constFirst()).toStdString());
}

void LoadSequence::read_file(const std::string& path)
{
    try {
        FileSource file(path); // a file that cannot be opened changes nothing
        try {
            read_3do(file, *state_.model, state_.reader, state_.progress);
        } catch (...) {
            state_.document.load_failed();
            edits_.history_reset();
            throw;
        }
    } catch (const std::exception& e) {
        throw ExplainedError(e.what(), failed_load_detail(path, e));
    }
    complete_load(path);
}

// What follows a successful read, in this order: caption, view angles,
// panel, the three views, the bar at 100, the 3D scene and its first render.
void LoadSequence::complete_load(const std::string& path)
{
    state_.document.loaded(path);
    edits_.history_reset(); // the caption with it
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
        startup_file_ = k_default_model;
        read_model();
    }
}

} // namespace facetor
