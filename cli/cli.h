#pragma once
// facetor-cli without its main(): the commands take their arguments and two
// streams, so tests run them as a user would.
#include <ostream>
#include <string>
#include <vector>

namespace facetor {

inline constexpr int k_exit_ok = 0;
inline constexpr int k_exit_failed = 1; // a file did not load, or an output could not be made
inline constexpr int k_exit_usage = 2;

// `args` are the words after the program name: "check a.3do b.3do", ...
int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace facetor
