#pragma once
// Writing a file whole or not at all.
#include <functional>
#include <ostream>
#include <string>

namespace facetor {

// Writes the file at `path` with `write`, through a temporary file in the
// same folder and a rename: whatever fails (`write` throwing included), the
// old file stays as it was and no temporary file is left. The new file keeps
// the old one's permissions, or gets those of a new file. Throws FileError
// with the system's error number.
void replace_file(const std::string& path, const std::function<void(std::ostream&)>& write);

} // namespace facetor
