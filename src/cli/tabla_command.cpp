#include "cli/commands.h"

namespace zentrova::cli {

void AddTablaCommand(CLI::App& app, int& exit_status) {
  (void)app;
  (void)exit_status;
}

}  // namespace zentrova::cli
