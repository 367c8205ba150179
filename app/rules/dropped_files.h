#pragma once
// Which of the files dropped on the main window it opens: the first model
// among them. One model is open at a time, so the rest are let go, and the
// status bar says so.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace facetor {

// Whether `path` names a model by its name: it ends in ".3do", in any case.
bool is_model_file_name(std::string_view path);

struct DropChoice {
    std::optional<std::size_t> model; // index of the file to open
    std::size_t ignored = 0;          // the other files dropped with it
};

// `paths`: the dropped files, in their order; an item that is no local
// file comes as an empty path.
DropChoice choose_dropped_model(const std::vector<std::string>& paths);

// What the status bar says of the files a drop let go; empty for none.
std::string ignored_files_message(std::size_t ignored);

} // namespace facetor
