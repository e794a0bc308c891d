#include "app/run_reports.h"

#include <string>
#include <system_error>

#include "error.h"
#include "text/encoding.h"

namespace zentrova::app {

report::RunReport ReportBase(const ProcessState& state, report::Direction direction) {
  report::RunReport base;
  base.direction = direction;
  base.export_file = state.filenameXML;
  base.exchange_folder = state.paths.ktemp;
  base.moment = std::chrono::system_clock::now();
  return base;
}

bool ReportIsRead(const ProcessState& state, const Host& host) {
  return state.InBatchMode() || !state.report_file.empty() || host.ShowsReports();
}

std::filesystem::path UnusedPath(const std::filesystem::path& folder,
                                 const std::filesystem::path& name) {
  std::filesystem::path candidate = folder / name;
  std::error_code error;
  for (long long number = 2;
       std::filesystem::exists(std::filesystem::symlink_status(candidate, error)); ++number) {
    std::filesystem::path numbered = name.stem();
    numbered += text::PathFromUtf8(std::string(1, '_').append(std::to_string(number)));
    numbered += name.extension();
    candidate = folder / numbered;
  }
  return candidate;
}

std::optional<std::u16string> SaveReport(const ProcessState& state,
                                         const report::RunReport& report) {
  std::filesystem::path file = state.report_file;
  if (file.empty()) {
    if (!state.InBatchMode()) return std::nullopt;
    file = UnusedPath(state.filenameXML.parent_path(), report::ReportFileName(report));
  }
  try {
    report::WriteReportFile(file, report);
  } catch (const Error& error) {
    return u"No se ha guardado el informe de la conversión. " + text::Utf8ToUtf16(error.what());
  }
  return std::nullopt;
}

}  // namespace zentrova::app
