#pragma once
// A model load, from the unsaved-changes question and the open dialog (or
// the default file while the first-load flag is 1) to the finished screen.
// A load clears the edit history; one that stops part-way leaves a model
// no file holds, marked modified.
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

class LoadSequence {
  public:
    LoadSequence(QWidget* window, EditorState& state, WindowPanes& panes, QFileDialog* open_dialog,
                 DeferredWork& deferred, DocumentCommands& document, EditCommands& edits);

    void Load3DO();
    void New1Click();
    // FormResize's load while the first-load flag is 1: one queued try,
    // however many size changes ask for it before it runs, and none once
    // the user has edited what an earlier try read.
    void request_default_load();

  private:
    void read_model();
    void complete_load(const std::string& path);

    QWidget* window_;
    EditorState& state_;
    WindowPanes& panes_;
    QFileDialog* open_dialog_;
    DeferredWork& deferred_;
    DocumentCommands& document_;
    EditCommands& edits_;
    bool default_load_queued_ = false;
};

} // namespace facetor
