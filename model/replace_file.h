#pragma once
// Writing a file whole or not at all.
#include <functional>
#include <ostream>
#include <string>

namespace facetor {

// Writes the file at `path` with `write`. A plain file (or a new one) is
// written to a temporary file in its folder and renamed over it: whatever
// fails (`write` throwing included), the old file stays as it was and no
// temporary file is left; the new file keeps the old one's permissions and,
// where allowed, its owner, or gets those of a new file. A symbolic link is
// followed and its target replaced, so the link stays a link. A device, pipe
// or socket is written into directly, never replaced. A folder is refused
// before anything is written. Throws FileError with the system's error
// number.
void replace_file(const std::string& path, const std::function<void(std::ostream&)>& write);

} // namespace facetor
