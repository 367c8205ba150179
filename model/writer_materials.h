#pragma once
// The writer's material list; only the writer uses it.
#include <string>
#include <utility>
#include <vector>

#include "model/model.h"
#include "model/name_cache.h"
#include "model/text_escape.h"
#include "model/writer_output.h"

namespace facetor::detail {

// Which material index gives each face its name back.
class MaterialIndex {
  public:
    explicit MaterialIndex(const type_model& model) : model_(model), count_(model.material_count) {}

    // The index to write for `name`; adds a name that is not in the list
    // while there is room, since a face keeps its material that way. Warns
    // into `warnings` unless it is null (the second pass over the faces).
    template <class Path> int index_of(const std::string& name, Path path, WarningTally* warnings)
    {
        if (const Seen* seen = seen_.find(name)) {
            if (warnings != nullptr && !seen->cause.empty()) {
                warnings->add(seen->cause, path()); // counted per face
            }
            return seen->index;
        }
        int index = find(name);
        if (index < 0) {
            if (name.empty()) {
                index = k_max_materials; // any slot past the list reads back empty
            } else if (written_count() < k_max_materials) {
                index = written_count();
                extra_.push_back(name);
            } else {
                index = k_max_materials;
            }
        }
        std::string cause;
        if (index >= count_ && !name.empty()) {
            cause = "material " + quoted_text(name) + " is not in the material list; " +
                    (index < k_max_materials ? "added to it as material " + std::to_string(index)
                                             : "the list is full: written without a material");
            if (warnings != nullptr) {
                warnings->add(cause, path());
            }
        }
        seen_.keep(name, {index, std::move(cause)});
        return index;
    }

    int written_count() const { return count_ + static_cast<int>(extra_.size()); }
    const std::vector<std::string>& extra() const { return extra_; }

    // A face without a material names a slot past the written list.
    int resolve_empty(int index) const
    {
        return index == k_max_materials ? written_count() : index;
    }

  private:
    int find(const std::string& name) const
    {
        for (int i = 0; i < count_; ++i) {
            if (model_.materials[i] == name) {
                return i;
            }
        }
        for (std::size_t k = 0; k < extra_.size(); ++k) {
            if (extra_[k] == name) {
                return count_ + static_cast<int>(k);
            }
        }
        return -1;
    }

    const type_model& model_;
    int count_;
    std::vector<std::string> extra_;
    struct Seen {
        int index;
        std::string cause; // of its warning, if it has one
    };
    NameCache<Seen> seen_; // the names met before
};

} // namespace facetor::detail
