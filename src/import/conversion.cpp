#include "import/conversion.h"

#include "import/activities.h"
#include "import/courses_and_groups.h"
#include "import/rooms.h"
#include "import/staff.h"
#include "import/teaching_assignments.h"
#include "import/time_slots.h"
#include "store/table.h"
#include "text/encoding.h"

namespace zentrova::import {

void ConvertExport(const xml::Document& document, const std::filesystem::path& folder,
                   const std::filesystem::path& level_table, const ChosenFrames& frames,
                   SubjectLists& lists, ConversionObserver& observer) {
  store::Table levels(level_table.parent_path(), text::PathUtf8(level_table.filename()));
  store::Table subjects(folder, "ASIGNOMT.DBF");
  store::Table groups(folder, "GRUPOST.DBF");
  lists = SubjectLists{};
  ImportSubjects(document, folder, lists, observer);
  ImportActivities(document, folder, lists, observer);
  ImportStaff(document, folder, observer);
  ImportRooms(document, folder, observer);
  ImportCoursesAndGroups(document, folder, levels, observer);
  ImportTeachingAssignments(document, folder, subjects, groups, observer);
  ImportTimeSlots(document, folder, frames, observer);
}

}  // namespace zentrova::import
