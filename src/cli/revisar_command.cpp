// zentrova-cli revisar: what `exportar` would do with an export, told record by record, with
// nothing written. Exit status 0 when the export converts, 1 when the conversion would stop.

#include <memory>
#include <string>
#include <vector>

#include "app/paths.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/review.h"
#include "text/encoding.h"

namespace zentrova::cli {
namespace {

struct RevisarOptions {
  std::string file;
  std::string nivelex;
  std::vector<std::string> marcos;
  bool json = false;
};

int RunRevisar(const RevisarOptions& options) {
  return RunReporting([&] {
    const std::filesystem::path nivelex = options.nivelex.empty()
                                              ? app::DefaultRunPaths().nivelex
                                              : text::PathFromUtf8(options.nivelex);
    std::vector<std::u16string> codes;
    for (const auto& code : options.marcos) codes.push_back(text::Utf8ToUtf16(code));
    const Review review = ReviewExport(text::PathFromUtf8(options.file), nivelex, codes);
    if (options.json) {
      PrintLine(text::Utf8ToUtf16(ReviewJson(review)));
    } else {
      // The report ends with its own line break.
      std::u16string report = ReviewText(review);
      if (!report.empty() && report.back() == u'\n') report.pop_back();
      PrintLine(report);
    }
    return review.stop ? kExitStopped : kExitDone;
  });
}

}  // namespace

void AddRevisarCommand(CLI::App& app, int& exit_status) {
  auto options = std::make_shared<RevisarOptions>();
  CLI::App* command = app.add_subcommand(
      "revisar",
      "Cuenta qué haría exportar con la exportación de Vetrana, registro a registro, sin "
      "escribir nada");
  command->add_option("EXPORT.xml", options->file, "Archivo XML exportado de Vetrana")->required();
  command->add_option("--nivelex", options->nivelex,
                      "Tabla de niveles (por omisión NIVELEX.DBF junto al programa)");
  command
      ->add_option("--marcos", options->marcos,
                   "Códigos de uno o dos marcos horarios, cuando el archivo tiene varios")
      ->delimiter(',');
  command->add_flag("--json", options->json, "Informe en JSON (UTF-8) para otros programas");
  command->callback([options, &exit_status] { exit_status = RunRevisar(*options); });
}

}  // namespace zentrova::cli
