#pragma once
// The edit history behind Undo and Redo: the steps made since the last
// load, a position among them, and the position the file was saved at, so
// that the model counts as modified exactly when it differs from the file.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "editing/edit_step.h"
#include "model/model.h"

namespace facetor {

class EditHistory {
  public:
    // The oldest steps go first once either bound is passed.
    static constexpr std::size_t k_max_steps = 1000;
    static constexpr std::size_t k_max_bytes = std::size_t{64} << 20;

    // A step already applied to the model. An empty one is dropped; any
    // other drops the steps that could have been redone.
    void record(EditStep step);

    bool can_undo() const { return position_ > 0; }
    bool can_redo() const { return position_ < steps_.size(); }
    // The name of the step Undo or Redo would take back or make again.
    std::optional<std::string> undo_name() const;
    std::optional<std::string> redo_name() const;

    // Applies the step and moves the position; the step applied, or
    // nullptr when there is none.
    const EditStep* undo(type_model& model);
    const EditStep* redo(type_model& model);

    // A successful load: no steps, and the model is the file.
    void clear();
    // A load that stopped part-way: no steps, and the model is no file's.
    void clear_unsaved();
    // A successful save: the model is the file at this position.
    void mark_saved() { clean_ = position_; }

    bool modified() const { return clean_ != position_; }

    // How many times the history was cleared: an edit recorded across a
    // load belongs to no model and is dropped.
    std::size_t clears() const { return clears_; }

    std::size_t size() const { return steps_.size(); }
    std::size_t bytes() const { return bytes_; }

  private:
    void drop_oldest();

    std::deque<EditStep> steps_;
    std::size_t position_ = 0; // steps_[0 .. position_) are applied
    // The position the model equals its file at; none when no position
    // does (the steps that led there were dropped, or a load failed).
    std::optional<std::size_t> clean_ = 0;
    std::size_t bytes_ = 0;
    std::size_t clears_ = 0;
};

} // namespace facetor
