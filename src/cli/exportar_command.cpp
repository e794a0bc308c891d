// zentrova-cli exportar: Vetrana's export into the exchange tables, the window's first
// direction with a command-line host.

#include <string>
#include <vector>

#include "app/directions.h"
#include "app/process_state.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/export_inputs.h"
#include "cli/run_options.h"
#include "import/exchange_update.h"
#include "store/table.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::cli {
namespace {

struct ExportarOptions {
  ExportInputs inputs;
  std::string ktemp;
  std::string informe;
};

void PrintRowCounts(const std::filesystem::path& ktemp) {
  for (const std::string& name : import::WrittenFiles()) {
    if (!name.ends_with(".DBF")) continue;
    store::Table table(ktemp, name);
    table.Open();
    PrintLine(text::Utf8ToUtf16(name) + u": " + text::IntegerText(table.RecordCount()) + u" filas");
  }
}

int RunExportar(const ExportarOptions& options) {
  app::RunPaths paths = options.inputs.Paths();
  if (!options.ktemp.empty()) paths.ktemp = text::PathFromUtf8(options.ktemp);
  app::ProcessState state(paths);
  if (!options.informe.empty()) state.report_file = text::PathFromUtf8(options.informe);
  ConsoleHost host(options.inputs.ExportFile());
  host.set_frame_codes(options.inputs.FrameCodes());
  return RunInConsole([&] {
    const app::RunOutcome outcome = app::BExportarClick(state, host);
    if (outcome == app::RunOutcome::kCompleted) {
      // The export's document is of no more use: let go of it before the tables are read.
      state.document.reset();
      PrintRowCounts(paths.ktemp);
    }
    return outcome;
  });
}

}  // namespace

void AddExportarCommand(CLI::App& app, int& exit_status) {
  auto options = std::make_shared<ExportarOptions>();
  CLI::App* command = app.add_subcommand(
      "exportar", "Convierte la exportación de Vetrana en las tablas de intercambio de Orbelin");
  AddExportInputs(*command, options->inputs);
  AddKtempOption(*command, options->ktemp);
  AddInformeOption(*command, options->informe);
  command->callback([options, &exit_status] { exit_status = RunExportar(*options); });
}

}  // namespace zentrova::cli
