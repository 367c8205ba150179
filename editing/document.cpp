#include "editing/document.h"

#include <cstring>
#include <new>

#include "model/errors.h"

namespace facetor {

void ModelDocument::loaded(std::string path)
{
    history_.clear();
    path_ = std::move(path);
    needs_path_ = false;
}

void ModelDocument::load_failed()
{
    history_.clear_unsaved();
    needs_path_ = true;
}

void ModelDocument::saved(std::string path)
{
    history_.mark_saved();
    path_ = std::move(path);
    needs_path_ = false;
}

std::string ModelDocument::close_question() const
{
    return "Save changes to " + file_name_of(path_) + " before closing?";
}

std::string file_name_of(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string save_failure_text(const std::string& path, const std::exception& error)
{
    std::string reason = error.what();
    if (const auto* file = dynamic_cast<const FileError*>(&error)) {
        reason = std::strerror(file->code());
    } else if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        reason = "out of memory";
    }
    return "Cannot save " + path + ": " + reason;
}

} // namespace facetor
