#include "editing/edit_history.h"

namespace facetor {

void EditHistory::record(EditStep step)
{
    if (step.empty()) {
        return;
    }
    while (steps_.size() > position_) {
        bytes_ -= steps_.back().bytes();
        steps_.pop_back();
    }
    if (clean_ && *clean_ > position_) {
        clean_.reset(); // the saved state was among the steps just dropped
    }
    bytes_ += step.bytes();
    steps_.push_back(std::move(step));
    ++position_;
    // The newest step always stays, however large.
    while (steps_.size() > 1 && (steps_.size() > k_max_steps || bytes_ > k_max_bytes)) {
        drop_oldest();
    }
}

void EditHistory::drop_oldest()
{
    bytes_ -= steps_.front().bytes();
    steps_.pop_front();
    --position_;
    if (clean_) {
        if (*clean_ == 0) {
            clean_.reset();
        } else {
            --*clean_;
        }
    }
}

std::optional<std::string> EditHistory::undo_name() const
{
    if (!can_undo()) {
        return std::nullopt;
    }
    return steps_[position_ - 1].name;
}

std::optional<std::string> EditHistory::redo_name() const
{
    if (!can_redo()) {
        return std::nullopt;
    }
    return steps_[position_].name;
}

const EditStep* EditHistory::undo(type_model& model)
{
    if (!can_undo()) {
        return nullptr;
    }
    const EditStep& step = steps_[position_ - 1];
    apply_before(model, step);
    --position_;
    return &step;
}

const EditStep* EditHistory::redo(type_model& model)
{
    if (!can_redo()) {
        return nullptr;
    }
    const EditStep& step = steps_[position_];
    apply_after(model, step);
    ++position_;
    return &step;
}

void EditHistory::clear()
{
    ++clears_;
    steps_.clear();
    position_ = 0;
    clean_ = 0;
    bytes_ = 0;
}

void EditHistory::clear_unsaved()
{
    clear();
    clean_.reset();
}

} // namespace facetor
