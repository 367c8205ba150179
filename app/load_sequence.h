#pragma once
// A model load, from the unsaved-changes question and the open dialog (or
// the start-up file while the first-load flag is 1) to the finished screen.
// A load clears the edit history; one that stops part-way leaves a model
// no file holds, marked modified. A load that fails says where and why
// below the error's text.
#include <QString>
#include <string>

#include "app/editor_state.h"

class QFileDialog;
class QWidget;

namespace facetor {

class DeferredWork;
class DocumentCommands;
class EditCommands;
class WindowPanes;

inline const QString k_caption = QStringLiteral("FACETOR v0.1 Preview");
// The model read at start-up when no file is named, and by New.
inline constexpr const char* k_default_model = "dflt.3do";

class LoadSequence {
  public:
    LoadSequence(QWidget* window, EditorState& state, WindowPanes& panes, QFileDialog* open_dialog,
                 DeferredWork& deferred, DocumentCommands& document, EditCommands& edits);

    void Load3DO();
    void New1Click();
    // A file dropped on the window: after the question, `note` goes to the
    // status bar (empty clears it) and the file is read as Open reads the
    // one chosen in its dialog.
    void open_file(const std::string& path, const std::string& note);
    // The file the start-up load reads instead of the default model, named
    // on the command line; the model is that file's until a load succeeds.
    void set_startup_file(std::string path);
    // FormResize's load while the first-load flag is 1: one queued try,
    // however many size changes ask for it before it runs.
    void request_default_load();

  private:
    void read_model();
    void read_file(const std::string& path);
    void complete_load(const std::string& path);

    QWidget* window_;
    EditorState& state_;
    WindowPanes& panes_;
    QFileDialog* open_dialog_;
    DeferredWork& deferred_;
    DocumentCommands& document_;
    EditCommands& edits_;
    std::string startup_file_ = k_default_model;
    bool default_load_queued_ = false;
};

} // namespace facetor
