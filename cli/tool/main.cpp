#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/cli.h"
#include "model/descriptor_buffer.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Not std::cout: its failures keep no error number to report.
    facetor::DescriptorBuffer standard_output(STDOUT_FILENO);
    std::ostream out(&standard_output);
    return facetor::run_cli(args, std::cin, out, std::cerr);
}
