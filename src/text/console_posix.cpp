// The console on POSIX systems: a terminal takes the UTF-8 bytes as a pipe or a file does.

#include <cstdio>

#include "text/console.h"

namespace zentrova::text {

void WriteToConsole(ConsoleStream stream, std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stream == ConsoleStream::kOutput ? stdout : stderr);
}

}  // namespace zentrova::text
