// Runs kesto-cli in-process and keeps what it printed.
#pragma once

#include "Cli.h"
#include "DemoBoard.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

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

// A fixture board in a temporary directory and a runner that points the tool at it.
class CliBoardTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string boardDir = dir.Path() + "/board";
    kesto::Board board = kesto::demo::CreateBoard(boardDir).value();
    std::string out, err;

    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--board", boardDir});
        auto r = RunCli(args);
        out = r.out;
        err = r.err;
        return r.rc;
    }
};

} // namespace kesto::test
