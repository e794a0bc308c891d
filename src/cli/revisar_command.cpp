// zentrova-cli revisar: what `exportar` would do with an export, told record by record, with
// nothing written. Exit status 0 when the export converts, 1 when the conversion would stop.

#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/export_inputs.h"
#include "cli/review.h"
#include "text/encoding.h"

namespace zentrova::cli {
namespace {

struct RevisarOptions {
  ExportInputs inputs;
  bool json = false;
};

int RunRevisar(const RevisarOptions& options) {
  return RunReporting([&] {
    const ExportInputs& inputs = options.inputs;
    const Review review = ReviewExport(inputs.ExportFile(), inputs.Paths(), inputs.FrameCodes());
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
  AddExportInputs(*command, options->inputs);
  command->add_flag("--json", options->json, "Informe en JSON (UTF-8) para otros programas");
  command->callback([options, &exit_status] { exit_status = RunRevisar(*options); });
}

}  // namespace zentrova::cli
