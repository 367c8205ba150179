#pragma once
// Opening a file for the readers. Only plain files are opened: they end,
// while a device or a pipe could feed a reader forever.
#include <cstdint>
#include <string>

namespace facetor {

struct PlainFile {
    int fd;            // open for reading; the caller closes it
    std::int64_t size; // in bytes, when it was opened
};

// Throws FileError: the system's error, EISDIR for a folder, ENODEV for
// anything else that is not a plain file. A pipe without a writer cannot
// hang the caller.
PlainFile open_plain_file(const std::string& path);

} // namespace facetor
