#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/commands.h"

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
  }
  return exit_status;
}
