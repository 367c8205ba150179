#pragma once
// What facetor-cli says about itself: the general usage, each command's own
// usage and options, and the version.
#include <string>
#include <string_view>

namespace facetor {

// Every command's synopsis, where "-" works and how to learn more.
std::string_view general_usage();

// The command's synopsis alone, for a usage error; empty for an unknown one.
std::string_view command_synopsis(std::string_view command);

// The command's usage, what it does and its options, for "--help"; empty
// for an unknown command.
std::string command_help(std::string_view command);

// "facetor-cli VERSION", the project's version.
std::string version_text();

} // namespace facetor
