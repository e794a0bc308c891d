#include "app/batch_mode.h"

#include "app/paths.h"
#include "app/private_profile.h"
#include "error.h"
#include "files/file_replacement.h"
#include "files/input_file.h"
#include "files/native_file.h"
#include "text/letter_case.h"

namespace zentrova::app {
namespace {

// A private-profile file holds a few settings: one larger than this is not one.
constexpr uint64_t kMaxResultIniBytes = uint64_t{1} << 20;

}  // namespace

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
  const std::string code = std::to_string(result_code);
  std::string content;
  if (files::KindOfTarget(ini_file) != files::EntryKind::kMissing) {
    try {
      content = files::ReadWholeFile(ini_file, "el archivo de resultado", kMaxResultIniBytes);
    } catch (const files::Error& failure) {
      throw Error(std::string(failure.what()) + " El código de resultado " + code +
                  " no se ha escrito.");
    }
  }

  const std::string saved = ProfileFileWithValue(content, kResultSection, kResultKey, code);

  // A folder that takes no new file (an installed program's folder) may still hold an
  // Orbelin.ini that can be written: then it is rewritten in place. The user's settings
  // folder is made only now, by the batch run that writes into it.
  MakePrivateFolder(ini_file.parent_path());
  try {
    files::ReplaceFile(ini_file, saved, files::WhenFolderRefuses::kRewriteInPlace);
  } catch (const files::Error& failure) {
    throw Error("No se puede escribir el código de resultado en «" +
                files::PathForMessage(ini_file) + "»: " + failure.what());
  }
}

}  // namespace zentrova::app
