#include "app/run_steps.h"

#include <filesystem>
#include <system_error>

#include "app/busy_cursor.h"
#include "app/error_message.h"
#include "app/run_reports.h"
#include "files/folder_update.h"
#include "files/input_file.h"
#include "files/native_file.h"
#include "import/exchange_update.h"
#include "text/encoding.h"

namespace zentrova::app {

void FinishInterruptedConversion(const std::filesystem::path& ktemp) {
  try {
    const files::LockedFolder folder(ktemp, import::ExchangeFiles());
  } catch (...) {
    // Reported by the next run, if it still stands in its way: the window must open.
  }
}

bool ChosenFileExists(const std::filesystem::path& file) {
  const files::EntryKind kind = files::KindOfTarget(file);
  // A link that leads nowhere names no file.
  if (file.empty() || kind == files::EntryKind::kMissing || kind == files::EntryKind::kLink) {
    return false;
  }
  const files::InputFile readable(file, "el archivo");
  return true;
}

bool ChooseExistingFile(ProcessState& state, Host& host) {
  if (auto chosen = host.ChooseXmlFile()) state.filenameXML = *chosen;
  if (ChosenFileExists(state.filenameXML)) return true;
  host.ShowMessage(kNoFileMessage);
  if (state.InBatchMode()) {
    state.resultCode = -1;
    host.CloseWindow();
  }
  return false;
}

RunOutcome StopRun(ProcessState& state, Host& host, const report::RunReport& base,
                   const std::u16string& message) {
  host.ShowMessage(message);
  if (const auto unsaved = SaveReport(state, report::ReportOfStop(base, message))) {
    host.ShowMessage(*unsaved);
  }
  return RunOutcome::kStopped;
}

RunOutcome RunToTheEnd(ProcessState& state, Host& host, const report::RunReport& base,
                       const std::function<std::optional<std::u16string>()>& body,
                       std::u16string_view unchanged,
                       const std::function<report::RunReport()>& completed) {
  BusyCursor busy(host);
  std::optional<std::u16string> problem;
  try {
    try {
      problem = body();
    } catch (const files::UnfinishedUpdate&) {
      throw;
    } catch (Error& error) {
      error.AddSentence(text::Utf16ToUtf8(unchanged));
      throw;
    }
  } catch (...) {
    // The report says what the window is about to say; the error is the one reported.
    try {
      if (const auto unsaved =
              SaveReport(state, report::ReportOfStop(base, CurrentErrorMessage()))) {
        host.ShowMessage(*unsaved);
      }
    } catch (...) {
    }
    throw;
  }
  busy.Restore();
  if (problem) return StopRun(state, host, base, *problem);
  return FinishRun(state, host, completed());
}

RunOutcome FinishRun(ProcessState& state, Host& host, const report::RunReport& report) {
  state.resultCode = 1;
  const std::optional<std::u16string> unsaved = SaveReport(state, report);
  host.ShowMessage(report::kProcessFinished);
  if (unsaved) host.ShowMessage(*unsaved);
  host.SetDirectionButtonsEnabled(false);
  if (state.InBatchMode()) {
    host.CloseWindow();
  } else if (report.has_findings && host.ShowsReports()) {
    host.ShowReport(report);
  }
  return RunOutcome::kCompleted;
}

}  // namespace zentrova::app
