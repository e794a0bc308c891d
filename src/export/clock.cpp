#include "export/clock.h"

#include "text/clipper.h"
#include "text/integer.h"

namespace zentrova::timetable_export {

std::u16string ClockToMinutes(std::u16string clock) {
  if (clock.size() < 5) clock.insert(clock.begin(), u'0');
  const int32_t hours = text::ParseInteger(text::LeftChars(clock, 2));
  const int32_t minutes = text::ParseInteger(text::RightChars(clock, 2));
  return text::IntegerText(static_cast<long long>(hours) * 60 + minutes);
}

}  // namespace zentrova::timetable_export
