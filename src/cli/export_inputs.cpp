#include "cli/export_inputs.h"

#include "app/paths.h"
#include "text/encoding.h"

namespace zentrova::cli {

std::filesystem::path ExportInputs::ExportFile() const { return text::PathFromUtf8(file); }

app::RunPaths ExportInputs::Paths() const {
  app::RunPaths paths = app::DefaultRunPaths();
  if (!nivelex.empty()) paths = app::RunPaths{paths.ktemp, text::PathFromUtf8(nivelex)};
  return paths;
}

std::vector<std::u16string> ExportInputs::FrameCodes() const {
  std::vector<std::u16string> codes;
  for (const auto& code : marcos) codes.push_back(text::Utf8ToUtf16(code));
  return codes;
}

void AddExportInputs(CLI::App& command, ExportInputs& inputs) {
  command.add_option("EXPORT.xml", inputs.file, "Archivo XML exportado de Vetrana")->required();
  command.add_option("--nivelex", inputs.nivelex,
                     "Tabla de niveles (por omisión la del centro, " +
                         text::PathUtf8(app::MachineDataFolder() / app::kLevelTableName) +
                         ", o si no la hay la que trae el programa)");
  command
      .add_option("--marcos", inputs.marcos,
                  "Códigos de uno o dos marcos horarios, cuando el archivo tiene varios")
      ->delimiter(',');
}

}  // namespace zentrova::cli
