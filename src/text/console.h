#ifndef ZENTROVA_TEXT_CONSOLE_H_
#define ZENTROVA_TEXT_CONSOLE_H_

// Text for the user on the standard output or error, given as UTF-8. On a Windows console it
// is written as UTF-16 (WriteConsoleW), whatever code page the console is set to; anywhere
// else (a pipe, a file, a POSIX terminal) as the UTF-8 bytes, through the C library's stream.

#include <string_view>

namespace zentrova::text {

enum class ConsoleStream { kOutput, kError };

void WriteToConsole(ConsoleStream stream, std::string_view utf8);

}  // namespace zentrova::text

#endif  // ZENTROVA_TEXT_CONSOLE_H_
