#pragma once
// facetor-cli without its main(): the commands take their arguments and two
// streams, so tests run them as a user would.
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "model/model.h"

namespace facetor {

inline constexpr int k_exit_ok = 0;
inline constexpr int k_exit_failed = 1; // a file did not load, or an output could not be made
inline constexpr int k_exit_usage = 2;

// `args` are the words after the program name: "check a.3do b.3do", ...
// A FILE of "-" reads `in`, once. `out` is checked once the command is done:
// when it could not be written, "standard output: " and the system's text
// for the error (kept by a model/descriptor_buffer.h buffer) go to `err`
// and the status is k_exit_failed.
int run_cli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err);
// The same with standard input.
int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `check`: "FILE: ok" or the file's diagnostic on `out` for each file, in
// order; k_exit_failed if any file does not load (or, when `strict`, breaks
// what the rest of the program assumes: cli/strict.h). All files are loaded into
// `model`: the verdict of a load depends on the file alone (the reader only
// copies what it did not store itself), so they are those of fresh models,
// and a long list does not clear the 26 MB model once per file.
int check_files(const std::vector<std::string>& files, type_model& model, std::ostream& out,
                std::istream& standard_input, bool strict = false);

} // namespace facetor
