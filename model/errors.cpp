#include "model/errors.h"

#include <cerrno>

namespace facetor {

std::string file_error_text(int code)
{
    switch (code) {
    case ENOENT:
        return "File not found";
    case EACCES:
    case EPERM:
        return "File access denied";
    default:
        return "I/O error " + std::to_string(code);
    }
}

FileError::FileError(int code) : RuntimeError(file_error_text(code)), code_(code) {}

} // namespace facetor
