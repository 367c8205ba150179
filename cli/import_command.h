#pragma once
// `import IN.gltf|IN.glb OUT.3do [--scene N] [--name NAME]`: the glTF
// import (gltf/import.h) written by the 3DO writer.
#include <istream>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace facetor {

// `positional` are IN and OUT ("-" for standard input or output), `values`
// the options with their values. Returns the exit status; a usage error
// sets `why` and returns -1 without writing anything.
int import_command(const std::vector<std::string>& positional,
                   const std::vector<std::pair<std::string, std::string>>& values, std::istream& in,
                   std::ostream& out, std::ostream& err, std::string& why);

} // namespace facetor
