#ifndef ZENTROVA_TESTS_SUPPORT_REPORT_FILES_H_
#define ZENTROVA_TESTS_SUPPORT_REPORT_FILES_H_

// The reports batch mode leaves beside an export: InformeZentrova_<direction>_<name>_*.txt.

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "text/encoding.h"

namespace zentrova::testing {

// The reports of runs of `direction` ("exportar", "importar") beside `export_file`.
inline std::vector<std::filesystem::path> ReportsBeside(const std::filesystem::path& export_file,
                                                        const std::string& direction) {
  const std::string prefix =
      "InformeZentrova_" + direction + "_" + text::PathUtf8(export_file.stem()) + "_";
  std::vector<std::filesystem::path> reports;
  for (const auto& entry : std::filesystem::directory_iterator(export_file.parent_path())) {
    const std::string name = text::PathUtf8(entry.path().filename());
    if (name.rfind(prefix, 0) == 0 && entry.path().extension() == ".txt") {
      reports.push_back(entry.path());
    }
  }
  return reports;
}

// The text of a report file without its byte-order mark; empty when it has none (a report
// always has one).
inline std::string ReportText(const std::filesystem::path& file) {
  const std::string bytes = ReadFile(file);
  return bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? bytes.substr(3) : std::string();
}

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_SUPPORT_REPORT_FILES_H_
