#include "app/command_line.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "text/encoding.h"
#endif

namespace zentrova::app {

std::vector<std::string> CommandLineArguments([[maybe_unused]] int argc,
                                              [[maybe_unused]] char** argv) {
  std::vector<std::string> arguments;
#ifdef _WIN32
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i) {
      arguments.push_back(text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[i])));
    }
    LocalFree(wide);
  }
#else
  arguments.assign(argv, argv + argc);
#endif
  return arguments;
}

}  // namespace zentrova::app
