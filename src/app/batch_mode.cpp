#include "app/batch_mode.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "app/paths.h"
#include "app/private_profile.h"
#include "error.h"
#include "files/file_replacement.h"
#include "text/letter_case.h"

namespace zentrova::app {
int RunModeFor(const std::vector<std::string>& parameters) {
  return parameters.size() == 2 ? kBatchRunMode : 0;
}

BatchDirection BatchDirectionFor(const std::vector<std::string>& parameters) {
  if (parameters.size() != 2) return BatchDirection::kNone;
  const std::string word = text::LowerAZ(parameters[0]);
  if (word == "importar") return BatchDirection::kImportar;
  if (word == "exportar") return BatchDirection::kExportar;
  return BatchDirection::kNone;
}

void RunBatchDirection(const std::vector<std::string>& parameters,
                       const std::function<void()>& importar,
                       const std::function<void()>& exportar) {
  switch (BatchDirectionFor(parameters)) {
    case BatchDirection::kImportar:
      importar();
      break;
    case BatchDirection::kExportar:
      exportar();
      break;
    case BatchDirection::kNone:
      break;
  }
}

std::filesystem::path DefaultResultIniFile() { return ResultFilePlace(kResultIniName); }

void WriteResultCode(const std::filesystem::path& ini_file, int result_code) {
  std::string content;
  std::error_code error;
  if (std::filesystem::exists(ini_file, error)) {
    std::ifstream in(ini_file, std::ios::binary);
    if (!in) {
      throw Error("No se puede leer el archivo de resultado «" + files::PathForMessage(ini_file) +
                  "»: existe pero no se puede abrir.");
    }
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  const std::string saved =
      WithProfileValue(content, kResultSection, kResultKey, std::to_string(result_code));

  // A folder that takes no new file (an installed program's folder) may still hold an
  // Orbelin.ini that can be written: then it is rewritten in place.
  try {
    files::ReplaceFile(ini_file, saved, files::WhenFolderRefuses::kRewriteInPlace);
  } catch (const files::Error& failure) {
    throw Error("No se puede escribir el código de resultado en «" +
                files::PathForMessage(ini_file) + "»: " + failure.what());
  }
}

}  // namespace zentrova::app
