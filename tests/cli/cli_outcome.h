#pragma once
// Runs facetor-cli's entry point in the test's process.
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace facetor::test {

struct Outcome {
    int status;
    std::string out, err;
};

inline Outcome run(const std::vector<std::string>& args, const std::string& standard_input = "")
{
    std::istringstream in(standard_input);
    std::ostringstream out, err;
    const int status = run_cli(args, in, out, err);
    return {status, out.str(), err.str()};
}

} // namespace facetor::test
