// The first direction: Vetrana's export into the exchange tables.

#include <filesystem>
#include <optional>

#include "app/directions.h"
#include "app/paths.h"
#include "app/run_reports.h"
#include "app/run_steps.h"
#include "import/conversion.h"
#include "import/conversion_report.h"
#include "import/exchange_update.h"
#include "import/preflight.h"
#include "import/time_frames.h"

namespace zentrova::app {
namespace {

// The conversion proper. From its start the exchange folder is this run's: locked, its old
// tables held, the new ones written aside and moved in only when every converter has
// finished; whatever stops the run before that leaves the folder as it was. Everything is
// let go when it returns. A message when it stops at a check.
std::optional<std::u16string> Convert(ProcessState& state, const xml::LoadResult& load, Host& host,
                                      import::ConversionObserver& observer) {
  import::ExchangeUpdate update(state.paths.ktemp);
  // What the conversion could stop on half-way is settled before the converters start, the
  // choice of the time frames included.
  if (auto problem = import::CheckExport(*state.document, load, state.filenameXML)) {
    return problem;
  }
  const auto frames = import::ChooseFrames(*state.document, host, state.filenameXML);
  if (!frames)
    return std::u16string(import::kFramesNotChosenMessage) + u" " + import::kNothingChanged;
  if (auto problem = import::CheckTimeSlots(*state.document, *frames, state.filenameXML)) {
    return problem;
  }
  // The converters write aside and read back what they wrote there.
  state.subject_lists = import::SubjectLists{};
  import::ConvertExport(*state.document, update.staging(), state.paths.nivelex, *frames,
                        state.subject_lists, observer);
  update.Commit();
  return std::nullopt;
}

}  // namespace

RunOutcome BExportarClick(ProcessState& state, Host& host) {
  if (!ChooseExistingFile(state, host)) return RunOutcome::kStopped;
  const report::RunReport base = ReportBase(state, report::Direction::kVetranaToOrbelin);
  if (auto problem = LevelTableProblem(state.paths)) {
    return StopRun(state, host, base, *problem);
  }
  state.document = std::make_unique<xml::Document>();
  const xml::LoadResult load = state.document->Load(state.filenameXML);
  // What the converters do is collected only for someone who reads it.
  import::ConversionReport findings;
  import::ConversionObserver& observer =
      ReportIsRead(state, host) ? findings : import::IgnoreConversion();
  return RunToTheEnd(
      state, host, base, [&] { return Convert(state, load, host, observer); },
      import::kNothingChanged, [&] { return report::ReportOfConversion(base, findings.groups()); });
}

}  // namespace zentrova::app
