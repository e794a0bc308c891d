#include "export/timetable_observer.h"

namespace zentrova::timetable_export {

TimetableObserver& IgnoreTimetable() {
  static TimetableObserver ignoring;
  return ignoring;
}

}  // namespace zentrova::timetable_export
