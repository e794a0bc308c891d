#ifndef ZENTROVA_TESTS_SUPPORT_PYTHON_H_
#define ZENTROVA_TESTS_SUPPORT_PYTHON_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova::testing {

struct CommandResult {
  int exit_code = -1;
  std::string out;  // stdout
  std::string err;  // stderr
};

// Runs a command line through the shell, with stdin from /dev/null.
CommandResult RunCommand(const std::string& command_line);

// Runs a Python script with Debian's interpreter (which has dbfread and dbf), the extra
// arguments passed as sys.argv[1:].
CommandResult RunPython(std::string_view script, const std::vector<std::string>& args = {});

// Quotes one argument for the shell.
std::string ShellQuote(std::string_view argument);

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_SUPPORT_PYTHON_H_
