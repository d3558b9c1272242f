#include "Cli.h"

#include <iostream>

namespace kesto::cli {

int Run(const std::vector<std::string>& args, std::istream&, std::ostream&, std::ostream& err) {
    (void)args;
    err << "usage: kesto-cli [--board DIR] COMMAND ...\n";
    return 2;
}

int Run(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return Run(args, std::cin, std::cout, std::cerr);
}

} // namespace kesto::cli
