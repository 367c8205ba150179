#pragma once
// `export FILE.3do OUT.glb|OUT.gltf [--archive GOB] [--geoset N]`: a model
// as glTF 2.0 (gltf/export.h), with the archive's textures.
#include <istream>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace facetor {

// `positional` are FILE ("-" for standard input) and OUT, `values` the
// options with their values. Returns the exit status; a usage error sets
// `why` and returns -1 without reading or writing anything.
int export_command(const std::vector<std::string>& positional,
                   const std::vector<std::pair<std::string, std::string>>& values, std::istream& in,
                   std::ostream& err, std::string& why);

} // namespace facetor
