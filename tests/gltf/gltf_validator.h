#pragma once
// Runs the Khronos glTF validator (through Node.js) on a written file.
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace facetor::test {

// The validator's exit status for `path`; its report goes into `report`.
inline int validate_gltf(const std::string& path, std::string& report)
{
    const std::string command = std::string("'") + FACETOR_NODE +
                                "' '" FACETOR_SOURCE_DIR
                                "/scripts/validate_gltf.js' '" FACETOR_GLTF_VALIDATOR "' '" +
                                path + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        report.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace facetor::test
