#include "app/run_steps.h"

#include <filesystem>
#include <system_error>

#include "app/busy_cursor.h"
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

RunOutcome RunToTheEnd(ProcessState& state, Host& host,
                       const std::function<std::optional<std::u16string>()>& body,
                       std::u16string_view unchanged) {
  BusyCursor busy(host);
  std::optional<std::u16string> problem;
  try {
    problem = body();
  } catch (const files::UnfinishedUpdate&) {
    throw;
  } catch (Error& error) {
    error.AddSentence(text::Utf16ToUtf8(unchanged));
    throw;
  }
  busy.Restore();
  if (problem) {
    host.ShowMessage(*problem);
    return RunOutcome::kStopped;
  }
  return FinishRun(state, host);
}

RunOutcome FinishRun(ProcessState& state, Host& host) {
  state.resultCode = 1;
  host.ShowMessage(u"Proceso finalizado");
  host.SetDirectionButtonsEnabled(false);
  if (state.InBatchMode()) host.CloseWindow();
  return RunOutcome::kCompleted;
}

}  // namespace zentrova::app
