// The first direction: Vetrana's export into the exchange tables.

#include <filesystem>
#include <optional>

#include "app/directions.h"
#include "app/run_steps.h"
#include "import/activities.h"
#include "import/courses_and_groups.h"
#include "import/exchange_update.h"
#include "import/preflight.h"
#include "import/rooms.h"
#include "import/staff.h"
#include "import/subjects.h"
#include "import/teaching_assignments.h"
#include "import/time_frames.h"
#include "import/time_slots.h"

namespace zentrova::app {
namespace {

constexpr char16_t kNoLevelTable[] = u"ATENCIÓN - NIVELEX.DBF No encontrado - Reinstale ZENTROVA";
constexpr char16_t kFramesAbandoned[] = u"Conversión terminada sin elegir los marcos horarios.";

// The converters write into `folder` and read back what they wrote there; the table
// components point at it for this run.
void RunConverters(ProcessState& state, const std::filesystem::path& folder,
                   const import::ChosenFrames& frames) {
  const xml::Document& document = *state.document;
  ExchangeTables tables(folder, state.paths.nivelex);
  state.subject_lists = import::SubjectLists{};
  import::ImportSubjects(document, folder, state.subject_lists);
  import::ImportActivities(document, folder, state.subject_lists);
  import::ImportStaff(document, folder);
  import::ImportRooms(document, folder);
  import::ImportCoursesAndGroups(document, folder, tables.wwTableNIVELEX);
  import::ImportTeachingAssignments(document, folder, tables.wwTableNomAsg, tables.wwTableGrupos);
  import::ImportTimeSlots(document, folder, frames);
}

// The conversion proper. From its start the exchange folder is this run's: locked, its old
// tables held, the new ones written aside and moved in only when every converter has
// finished; whatever stops the run before that leaves the folder as it was. Everything is
// let go when it returns. A message when it stops at a check.
std::optional<std::u16string> Convert(ProcessState& state, const xml::LoadResult& load,
                                      Host& host) {
  import::ExchangeUpdate update(state.paths.ktemp);
  // What the conversion could stop on half-way is settled before the converters start, the
  // choice of the time frames included.
  if (auto problem = import::CheckExport(*state.document, load, state.filenameXML)) {
    return problem;
  }
  const auto frames = import::ChooseFrames(*state.document, host, state.filenameXML);
  if (!frames) return std::u16string(kFramesAbandoned) + u" " + import::kNothingChanged;
  if (auto problem = import::CheckTimeSlots(*state.document, *frames, state.filenameXML)) {
    return problem;
  }
  RunConverters(state, update.staging(), *frames);
  update.Commit();
  return std::nullopt;
}

}  // namespace

RunOutcome BExportarClick(ProcessState& state, Host& host) {
  if (!ChooseExistingFile(state, host)) return RunOutcome::kStopped;
  std::error_code error;
  if (!std::filesystem::is_regular_file(state.paths.nivelex, error)) {
    host.ShowMessage(kNoLevelTable);
    return RunOutcome::kStopped;
  }
  state.document = std::make_unique<xml::Document>();
  const xml::LoadResult load = state.document->Load(state.filenameXML);
  return RunToTheEnd(
      state, host, [&] { return Convert(state, load, host); }, import::kNothingChanged);
}

}  // namespace zentrova::app
