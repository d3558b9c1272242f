// kesto-cli: the command-line tool over the same core the windows use.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kesto::cli {

// Exit codes: 0 done, 1 refused or failed (message on stderr), 2 usage.
int Run(int argc, char** argv);
// The same with explicit streams and standard input, for the tests.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace kesto::cli
