// The command line on Windows.
//
// Traps of this system:
// - `argv` is the command line converted to the ANSI code page, which cannot hold every name;
//   only the UTF-16 command line (GetCommandLineW) is faithful.
// - CommandLineToArgvW splits it as the C runtime does and gives memory to free with
//   LocalFree.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "app/command_line.h"
#include "text/encoding.h"

namespace zentrova::app {

std::vector<std::string> CommandLineArguments(int, char**) {
  std::vector<std::string> arguments;
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i) {
      arguments.push_back(text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[i])));
    }
    LocalFree(wide);
  }
  return arguments;
}

}  // namespace zentrova::app
