// zentrova-cli importar: the computed timetable back into a Vetrana document, the window's
// second direction with a command-line host.

#include <memory>
#include <string>

#include "app/directions.h"
#include "app/paths.h"
#include "app/process_state.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/run_options.h"
#include "export/timetable_document.h"
#include "text/encoding.h"

namespace zentrova::cli {
namespace {

struct ImportarOptions {
  std::string file;
  std::string ktemp;
  std::string informe;
};

int RunImportar(const ImportarOptions& options) {
  app::RunPaths paths = app::DefaultRunPaths();
  paths.ktemp = ExchangeFolder(options.ktemp);
  app::ProcessState state(paths);
  if (!options.informe.empty()) state.report_file = text::PathFromUtf8(options.informe);
  ConsoleHost host(text::PathFromUtf8(options.file));
  return RunInConsole([&] {
    const app::RunOutcome outcome = app::BImportarClick(state, host);
    if (outcome == app::RunOutcome::kCompleted) {
      PrintLine(text::PathText(timetable_export::ResultPath(state.filenameXML)));
    }
    return outcome;
  });
}

}  // namespace

void AddImportarCommand(CLI::App& app, int& exit_status) {
  auto options = std::make_shared<ImportarOptions>();
  CLI::App* command = app.add_subcommand(
      "importar", "Escribe el horario calculado por Orbelin como documento XML para Vetrana");
  command
      ->add_option("EXPORT.xml", options->file,
                   "Archivo XML exportado de Vetrana (da el año académico; el resultado se "
                   "guarda a su lado como ResultadoOrbelin<nombre>)")
      ->required();
  AddKtempOption(*command, options->ktemp);
  AddInformeOption(*command, options->informe);
  command->callback([options, &exit_status] { exit_status = RunImportar(*options); });
}

}  // namespace zentrova::cli
