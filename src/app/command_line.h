#ifndef ZENTROVA_APP_COMMAND_LINE_H_
#define ZENTROVA_APP_COMMAND_LINE_H_

// The program's arguments in UTF-8, whatever the system hands over.

#include <string>
#include <vector>

namespace zentrova::app {

// The program's arguments as UTF-8, its own path first. On Windows `argv` holds them in the
// ANSI code page, which cannot hold every name, so there they come from the UTF-16 command
// line instead; elsewhere they are `argv` as it is.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_COMMAND_LINE_H_
