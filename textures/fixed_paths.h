#pragma once
// The picker's two fixed paths, and how a fixed drive-letter path maps onto
// this system: relative to the current directory, the drive letter becomes a
// folder and backslashes become slashes.
#include <string>
#include <string_view>

namespace facetor {

inline constexpr std::string_view k_archive_path = "d:\\gamedata\\resource\\res2.gob";
// Read when the file dialog of "Load From File" is cancelled.
inline constexpr std::string_view k_fallback_mat_path = "c:\\bottle1.mat";

// "d:\gamedata\resource\res2.gob" -> "d/gamedata/resource/res2.gob",
// "c:\bottle1.mat" -> "c/bottle1.mat". A path without a drive letter only
// has its backslashes turned.
std::string map_fixed_path(std::string_view path);

} // namespace facetor
