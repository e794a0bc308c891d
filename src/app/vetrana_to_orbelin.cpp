// The first direction: Vetrana's export into the exchange tables.

#include <filesystem>

#include "app/busy_cursor.h"
#include "app/directions.h"
#include "app/run_steps.h"
#include "import/activities.h"
#include "import/courses_and_groups.h"
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
constexpr char16_t kFramesAbandoned[] =
    u"Conversión terminada sin elegir los marcos horarios. No se ha modificado ninguna tabla.";

RunOutcome Stop(BusyCursor& busy, Host& host, const std::u16string& message) {
  busy.Restore();
  host.ShowMessage(message);
  return RunOutcome::kStopped;
}

void RunConverters(ProcessState& state, const import::ChosenFrames& frames) {
  const xml::Document& document = *state.document;
  const std::filesystem::path& ktemp = state.paths.ktemp;
  state.subject_lists = import::SubjectLists{};
  import::ImportSubjects(document, ktemp, state.subject_lists);
  import::ImportActivities(document, ktemp, state.subject_lists);
  import::ImportStaff(document, ktemp);
  import::ImportRooms(document, ktemp);
  import::ImportCoursesAndGroups(document, ktemp, state.tables.wwTableNIVELEX);
  import::ImportTeachingAssignments(document, ktemp, state.tables.wwTableNomAsg,
                                    state.tables.wwTableGrupos);
  import::ImportTimeSlots(document, ktemp, frames);
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
  BusyCursor busy(host);
  // Everything the conversion could stop on half-way is settled before any table is
  // deleted, the choice of the time frames included.
  if (auto problem = import::CheckExport(*state.document, load, state.filenameXML)) {
    return Stop(busy, host, *problem);
  }
  const auto frames = import::ChooseFrames(*state.document, host, state.filenameXML);
  if (!frames) return Stop(busy, host, kFramesAbandoned);
  if (auto problem = import::CheckTimeSlots(*state.document, *frames, state.filenameXML)) {
    return Stop(busy, host, *problem);
  }

  RunConverters(state, *frames);
  busy.Restore();
  return FinishRun(state, host);
}

}  // namespace zentrova::app
