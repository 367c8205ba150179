#pragma once
// The model's file as the window handles it: Save and Save As, the
// caption with its modified mark, and the unsaved-changes question that
// Open and closing the window ask first.
#include <QString>
#include <string>

#include "app/editor_state.h"

class QFileDialog;
class QWidget;

namespace facetor {

class DocumentCommands {
  public:
    explicit DocumentCommands(QWidget* window, EditorState& state);

    void Save1Click() { save(); }
    void SaveAs1Click() { save_as(); }

    // Each returns whether the model is now in a file. Save writes to the
    // file last loaded or saved, or asks for one as Save As does after a
    // load that stopped part-way. A failed write shows one box; the model
    // and its modified state stay as they were.
    bool save();
    bool save_as();

    // Before a command closes the model (Open, closing the window): with
    // changes not saved, asks whether to save them. Returns whether the
    // command may go on: Discard, or Save that succeeded.
    bool may_close_model();

    // "FACETOR v0.1 Preview - PATH" with the modified mark.
    void show_caption();
    // The caption for the file at `path`, with Qt's mark placeholder.
    static QString caption_for(const std::string& path);

    QFileDialog* save_dialog() const { return save_dialog_; }

  private:
    bool write(const std::string& path);

    QWidget* window_;
    EditorState& state_;
    QFileDialog* save_dialog_ = nullptr;
};

} // namespace facetor
