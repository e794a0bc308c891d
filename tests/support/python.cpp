#include "support/python.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>

#include "support/temp_folder.h"

namespace zentrova::testing {

#ifdef _WIN32

namespace {

// Windows programs end their lines of text with CR LF; the tests compare lines as on Linux.
std::string WithoutCarriageReturns(std::string text) {
  std::string lines;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
  }
  return lines;
}

}  // namespace

// cmd.exe passes a quoted argument on as it is; no name of ours holds a double quote.
std::string ShellQuote(std::string_view argument) { return "\"" + std::string(argument) + "\""; }

CommandResult RunCommand(const std::string& command_line) {
  TempFolder folder;
  const auto out = folder / "out";
  const auto err = folder / "err";
  // cmd.exe /c drops the first and the last quote of a line that starts with one: the whole
  // line is quoted once more.
  const std::string full = "\"" + command_line + " <NUL >" + ShellQuote(out.string()) + " 2>" +
                           ShellQuote(err.string()) + "\"";
  const int status = std::system(full.c_str());
  CommandResult result;
  result.exit_code = status;
  result.out = WithoutCarriageReturns(ReadFile(out));
  result.err = WithoutCarriageReturns(ReadFile(err));
  return result;
}

#else

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
  return RunPythonFile(path, args);
}

CommandResult RunPythonFile(const std::filesystem::path& script,
                            const std::vector<std::string>& args) {
  // The shared helpers of tests/support (soluc.py) are importable from every script.
  std::string command =
      "PYTHONPATH=" + ShellQuote(std::string(ZENTROVA_SOURCE_DIR) + "/tests/support") + " " +
      ShellQuote(ZENTROVA_PYTHON) + " " + ShellQuote(script.string());
  for (const auto& arg : args) command += " " + ShellQuote(arg);
  return RunCommand(command);
}

#endif  // _WIN32

}  // namespace zentrova::testing
