#pragma once
// The file the model belongs to: where Save writes, whether the model holds
// changes the file lacks (the edit history knows), and what the window
// says about it.
#include <exception>
#include <string>

#include "editing/edit_history.h"

namespace facetor {

class ModelDocument {
  public:
    EditHistory& history() { return history_; }
    const EditHistory& history() const { return history_; }

    // The file last loaded or saved; the default model until then.
    const std::string& path() const { return path_; }
    // Save asks for a file, as Save As does, after a load that stopped
    // part-way: a half-read model never overwrites a file unasked.
    bool save_needs_path() const { return needs_path_; }
    bool modified() const { return history_.modified(); }

    // A load that read the whole file: no history, nothing modified.
    void loaded(std::string path);
    // A load that stopped after the file opened: the model mixes what it
    // read with what was there, which no file holds.
    void load_failed();
    // A save that succeeded: the model is that file now.
    void saved(std::string path);

    // The unsaved-changes question: "Save changes to dflt.3do before closing?"
    std::string close_question() const;

  private:
    EditHistory history_;
    std::string path_ = "dflt.3do";
    bool needs_path_ = false;
};

// The file's name without its folders.
std::string file_name_of(const std::string& path);

// What the error box says when a save fails: the file and the system's
// reason ("Cannot save a.3do: Not a directory").
std::string save_failure_text(const std::string& path, const std::exception& error);

} // namespace facetor
