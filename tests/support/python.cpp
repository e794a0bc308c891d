#include "support/python.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/temp_folder.h"

namespace zentrova::testing {

std::string ShellQuote(std::string_view argument) {
  std::string quoted = "'";
  for (char c : argument) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

CommandResult RunCommand(const std::string& command_line) {
  TempFolder folder;
  const auto out = folder / "out";
  const auto err = folder / "err";
  const std::string full =
      command_line + " </dev/null >" + ShellQuote(out.string()) + " 2>" + ShellQuote(err.string());
  const int status = std::system(full.c_str());
  CommandResult result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadFile(out);
  result.err = ReadFile(err);
  return result;
}

CommandResult RunPython(std::string_view script, const std::vector<std::string>& args) {
  TempFolder folder;
  const auto path = folder / "script.py";
  WriteFile(path, script);
  std::string command = ShellQuote(ZENTROVA_PYTHON) + " " + ShellQuote(path.string());
  for (const auto& arg : args) command += " " + ShellQuote(arg);
  return RunCommand(command);
}

}  // namespace zentrova::testing
