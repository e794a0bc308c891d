// zentrova-cli exportar: Vetrana's export into the exchange tables, the window's first
// direction with a command-line host.

#include <string>
#include <vector>

#include "app/directions.h"
#include "app/paths.h"
#include "app/process_state.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "store/table.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::cli {
namespace {

constexpr const char* kTablesWritten[] = {"ASIGNOMT.DBF",   "PROFT.DBF",       "AULAT.DBF",
                                          "CURSOST.DBF",    "GRUPOST.DBF",     "ASIGT.DBF",
                                          "DIASHORAST.DBF", "DIASHORAST2.DBF", "PERIODOS.DBF"};

struct ExportarOptions {
  std::string file;
  std::string ktemp;
  std::string nivelex;
  std::vector<std::string> marcos;
};

void PrintRowCounts(const std::filesystem::path& ktemp) {
  for (const char* name : kTablesWritten) {
    store::Table table(ktemp, name);
    table.Open();
    PrintLine(text::Utf8ToUtf16(name) + u": " + text::IntegerText(table.RecordCount()) + u" filas");
  }
}

int RunExportar(const ExportarOptions& options) {
  app::RunPaths paths = app::DefaultRunPaths();
  if (!options.ktemp.empty()) paths.ktemp = text::PathFromUtf8(options.ktemp);
  if (!options.nivelex.empty()) paths.nivelex = text::PathFromUtf8(options.nivelex);
  app::ProcessState state(paths);
  ConsoleHost host(text::PathFromUtf8(options.file));
  std::vector<std::u16string> codes;
  for (const auto& code : options.marcos) codes.push_back(text::Utf8ToUtf16(code));
  host.set_frame_codes(std::move(codes));
  return RunInConsole([&] {
    const app::RunOutcome outcome = app::BExportarClick(state, host);
    if (outcome == app::RunOutcome::kCompleted) PrintRowCounts(paths.ktemp);
    return outcome;
  });
}

}  // namespace

void AddExportarCommand(CLI::App& app, int& exit_status) {
  auto options = std::make_shared<ExportarOptions>();
  CLI::App* command = app.add_subcommand(
      "exportar", "Convierte la exportación de Vetrana en las tablas de intercambio de Orbelin");
  command->add_option("EXPORT.xml", options->file, "Archivo XML exportado de Vetrana")->required();
  command->add_option("--ktemp", options->ktemp,
                      "Carpeta de intercambio (por omisión la de la ventana: ZENTROVA_KTEMP, "
                      "C:\\KTEMP o drive_c/KTEMP del prefijo de Wine)");
  command->add_option("--nivelex", options->nivelex,
                      "Tabla de niveles (por omisión NIVELEX.DBF junto al programa)");
  command
      ->add_option("--marcos", options->marcos,
                   "Códigos de uno o dos marcos horarios, cuando el archivo tiene varios")
      ->delimiter(',');
  command->callback([options, &exit_status] { exit_status = RunExportar(*options); });
}

}  // namespace zentrova::cli
