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

// CLI11's own words in the help, in Spanish like the commands' texts. Before the commands are
// added: each inherits the help flag, the option group and its own group from the application.
void UseSpanishHelp(CLI::App& app) {
  app.option_defaults()->group("Opciones");
  app.set_help_flag("-h,--help", "Muestra esta ayuda y termina");
  app.group("Órdenes");
  const auto formatter = app.get_formatter();
  formatter->label("Usage", "Uso");
  formatter->label("OPTIONS", "OPCIONES");
  formatter->label("SUBCOMMAND", "ORDEN");
  formatter->label("Positionals", "Argumentos");
  formatter->label("TEXT", "TEXTO");
  formatter->label("REQUIRED", "OBLIGATORIO");
}

// What follows the last ": " of CLI11's text: the names it quotes ("... not expected: b").
std::string Quoted(const std::string& text) {
  const size_t colon = text.rfind(": ");
  return colon == std::string::npos ? std::string() : text.substr(colon + 2);
}

// A usage error in Spanish, by its kind; CLI11's own text names what it is about.
std::string SpanishUsageError(const CLI::App* /*app*/, const CLI::Error& error) {
  const std::string text = error.what();
  std::string message;
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
    const size_t is_required = text.find(" is required");
    message =
        text.rfind("A subcommand", 0) == 0
            ? "Falta la orden (exportar, importar, revisar, revisar-horario, tabla o nivelex)."
        : is_required != std::string::npos ? "Falta " + text.substr(0, is_required) + "."
                                           : "Faltan argumentos obligatorios.";
  } else if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    message = "Sobran argumentos: " + Quoted(text) + ".";
  } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    message = "La opción " + text.substr(0, text.find(':')) + " necesita un valor.";
  } else if (dynamic_cast<const CLI::ConversionError*>(&error) != nullptr ||
             dynamic_cast<const CLI::ValidationError*>(&error) != nullptr) {
    message = "Un argumento no tiene un valor válido (" + text + ").";
  } else {
    message = "Los argumentos no son válidos (" + text + ").";
  }
  return message + "\nEjecute la orden con --help para ver cómo se usa.\n";
}

// A command's help flag is made before it takes the application's option group.
void GroupHelpFlags(CLI::App& app) {
  for (CLI::App* command : app.get_subcommands({})) {
    command->get_help_ptr()->group("Opciones");
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zentrova::cli;
  CLI::App app{"Zentrova: datos entre Vetrana y Orbelin desde la línea de órdenes"};
  // A path such as /home/... is an argument, never an option, also on Windows.
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  UseSpanishHelp(app);
  app.failure_message(SpanishUsageError);  // the commands inherit it
  int exit_status = kExitDone;
  AddTablaCommand(app, exit_status);
  AddNivelexCommand(app, exit_status);
  AddExportarCommand(app, exit_status);
  AddImportarCommand(app, exit_status);
  AddRevisarCommand(app, exit_status);
  AddRevisarHorarioCommand(app, exit_status);
  GroupHelpFlags(app);
  // After the commands, which would inherit it.
  app.footer(
      "Estado de salida: 0 si la orden termina; 1 si se detiene en una comprobación, con un "
      "mensaje que dice por qué; 2 si los argumentos no son válidos; 3 si un error la "
      "interrumpe, con un mensaje que lo nombra.");
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
