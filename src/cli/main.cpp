#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/error_message.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "text/console.h"

namespace {

using zentrova::text::ConsoleStream;
using zentrova::text::WriteToConsole;

// Help and usage errors reach the console as every other text does.
int ShowParseResult(const CLI::App& app, const CLI::ParseError& e) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = app.exit(e, out, err);
  WriteToConsole(ConsoleStream::kOutput, out.str());
  WriteToConsole(ConsoleStream::kError, err.str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zentrova::cli;
  CLI::App app{"Zentrova: datos entre Vetrana y Orbelin desde la línea de órdenes"};
  // A path such as /home/... is an argument, never an option, also on Windows.
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  int exit_status = kExitDone;
  AddTablaCommand(app, exit_status);
  AddNivelexCommand(app, exit_status);
  AddExportarCommand(app, exit_status);
  AddImportarCommand(app, exit_status);
  AddRevisarCommand(app, exit_status);
  std::vector<std::string> arguments = zentrova::app::CommandLineArguments(argc, argv);
  if (!arguments.empty()) {
    app.name(arguments.front());
    arguments.erase(arguments.begin());
  }
  std::reverse(arguments.begin(), arguments.end());  // CLI11 takes the last one first
  try {
    app.parse(arguments);
  } catch (const CLI::Success& e) {
    return ShowParseResult(app, e);
  } catch (const CLI::ParseError& e) {
    ShowParseResult(app, e);
    return kExitUsage;
  } catch (...) {
    // Each subcommand reports its own errors; this is for anything the parsing itself raises.
    PrintError(zentrova::app::CurrentErrorMessage());
    return kExitError;
  }
  return exit_status;
}
