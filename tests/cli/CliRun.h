// Runs kesto-cli in-process and keeps what it printed.
#pragma once

#include "Cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace kesto::test {

struct CliResult {
    int rc = 0;
    std::string out;
    std::string err;
};

inline CliResult RunCli(const std::vector<std::string>& args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    int rc = kesto::cli::Run(args, in, out, err);
    return {rc, out.str(), err.str()};
}

} // namespace kesto::test
