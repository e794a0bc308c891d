#include "app/batch_mode.h"

// The file's bytes pass through as they are (ANSI or UTF-8). Debian's header keeps the
// template bodies behind SI_IMPLEMENTATION; with them here no library is needed.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "app/paths.h"
#include "error.h"
#include "files/file_replacement.h"
#include "store/table.h"
#include "text/letter_case.h"

namespace zentrova::app {
namespace {

bool IsCommentOrBlank(const std::string& line) {
  const auto first = line.find_first_not_of(" \t\r");
  return first == std::string::npos || line[first] == ';' || line[first] == '#';
}

// SimpleIni keeps a comment only when a section or key follows it; the comments after the
// last entry are carried over here.
std::string TrailingComments(const std::string& content) {
  std::vector<std::string> lines;
  std::istringstream stream(content);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  size_t tail = lines.size();
  while (tail > 0 && IsCommentOrBlank(lines[tail - 1])) --tail;
  std::string comments;
  bool any_comment = false;
  for (size_t i = tail; i < lines.size(); ++i) {
    std::string line = lines[i];
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") != std::string::npos) any_comment = true;
    comments += line + "\n";
  }
  return any_comment ? comments : std::string();
}

std::string WithLineEnds(const std::string& text, bool crlf) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n' && crlf) out += '\r';
    out += c;
  }
  return out;
}

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

std::filesystem::path DefaultResultIniFile() {
  return store::FindIgnoringCase(ExecutableFolder(), kResultIniName);
}

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

  CSimpleIniA ini(/*a_bIsUtf8=*/false, /*a_bMultiKey=*/true, /*a_bMultiLine=*/false);
  ini.SetSpaces(false);
  if (!content.empty() && ini.LoadData(content.data(), content.size()) < 0) {
    throw Error("No se puede leer el archivo de resultado «" + files::PathForMessage(ini_file) +
                "»: su contenido no es el de un archivo INI.");
  }
  const bool had_signature = content.rfind("\xEF\xBB\xBF", 0) == 0;
  // A file of the calling program's keeps its own line ends; a new one gets Windows'.
  const bool crlf =
      content.find('\n') == std::string::npos || content.find("\r\n") != std::string::npos;

  ini.SetValue(kResultSection, kResultKey, std::to_string(result_code).c_str(), nullptr,
               /*bForceReplace=*/true);
  std::string saved;
  ini.Save(saved, had_signature);
  saved += TrailingComments(content);
  saved = WithLineEnds(saved, crlf);

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
