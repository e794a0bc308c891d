// The command line on POSIX systems: `argv` as it is, in the bytes the names have.

#include "app/command_line.h"

namespace zentrova::app {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

}  // namespace zentrova::app
