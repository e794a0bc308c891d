#include <CLI/CLI.hpp>
#include <exception>

#include "app/error_message.h"
#include "cli/commands.h"
#include "cli/console_host.h"

int main(int argc, char** argv) {
  using namespace zentrova::cli;
  CLI::App app{"Zentrova: datos entre Vetrana y Orbelin desde la línea de órdenes"};
  app.require_subcommand(1);
  int exit_status = kExitDone;
  AddTablaCommand(app, exit_status);
  AddNivelexCommand(app, exit_status);
  AddExportarCommand(app, exit_status);
  AddImportarCommand(app, exit_status);
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  } catch (...) {
    // Each subcommand reports its own errors; this is for anything the parsing itself raises.
    const std::exception_ptr error = std::current_exception();
    PrintError(zentrova::app::ErrorMessage(error));
    return ExitStatusOf(error);
  }
  return exit_status;
}
