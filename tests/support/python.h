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

// Runs a command line through the shell (cmd.exe on Windows), with nothing on stdin.
CommandResult RunCommand(const std::string& command_line);

// Quotes one argument for the shell.
std::string ShellQuote(std::string_view argument);

#ifndef _WIN32
// Runs a Python script with Debian's interpreter (which has dbfread and dbf), the extra
// arguments passed as sys.argv[1:], and tests/support on its module path (import soluc).
CommandResult RunPython(std::string_view script, const std::vector<std::string>& args = {});
// The same for a script kept in a file.
CommandResult RunPythonFile(const std::filesystem::path& script,
                            const std::vector<std::string>& args = {});
#endif

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_SUPPORT_PYTHON_H_
