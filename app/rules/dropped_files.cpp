#include "app/rules/dropped_files.h"

#include <algorithm>

namespace facetor {

bool is_model_file_name(std::string_view path)
{
    constexpr std::string_view suffix = ".3do";
    if (path.size() <= suffix.size()) {
        return false;
    }
    const std::string_view end = path.substr(path.size() - suffix.size());
    return std::equal(end.begin(), end.end(), suffix.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

DropChoice choose_dropped_model(const std::vector<std::string>& paths)
{
    DropChoice choice;
    const auto first = std::find_if(paths.begin(), paths.end(),
                                    [](const std::string& p) { return is_model_file_name(p); });
    if (first != paths.end()) {
        choice.model = static_cast<std::size_t>(first - paths.begin());
        choice.ignored = paths.size() - 1;
    }
    return choice;
}

std::string ignored_files_message(std::size_t ignored)
{
    if (ignored == 0) {
        return {};
    }
    const std::string count = std::to_string(ignored);
    return ignored == 1 ? "1 other dropped file was ignored: one model opens at a time"
                        : count + " other dropped files were ignored: one model opens at a time";
}

} // namespace facetor
