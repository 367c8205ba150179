#include "textures/fixed_paths.h"

#include <algorithm>

namespace facetor {

namespace {

bool is_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

std::string map_fixed_path(std::string_view path)
{
    std::string mapped;
    if (path.size() >= 2 && is_letter(path[0]) && path[1] == ':') {
        mapped += path[0];
        path.remove_prefix(2);
        if (!path.empty() && path[0] != '\\') {
            mapped += '/'; // "c:file" still lands inside the drive's folder
        }
    }
    mapped += path;
    std::replace(mapped.begin(), mapped.end(), '\\', '/');
    return mapped;
}

} // namespace facetor
