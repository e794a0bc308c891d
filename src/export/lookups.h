#ifndef ZENTROVA_EXPORT_LOOKUPS_H_
#define ZENTROVA_EXPORT_LOOKUPS_H_

// The four look-ups that carry the platform's codes back out of the exchange tables. Each
// index is built the first time it is asked, in one pass over its table in record order, and
// keeps for every key the first record that has it: the record a walk from the first record
// would stop at. Keys are compared exactly as the table store reads them (trailing blanks
// removed, letter case significant). The tables must be open; building an index moves their
// record position.

#include <optional>
#include <string>
#include <unordered_map>

#include "store/table.h"

namespace zentrova::timetable_export {

// What a teaching assignment (ASIGT) gives back.
struct AssignmentCodes {
  std::u16string subject_code;  // CLAVE
  std::u16string course_code;   // CLAVECURSO
};

// What a time slot (DIASHORAST) gives back, as stored.
struct SlotValues {
  std::u16string day;         // DIA
  std::u16string slot_code;   // CODDIHO
  std::u16string start_time;  // HORADESDE
  std::u16string end_time;    // HORAHASTA
};

// Two texts used together as one key.
struct TextPair {
  std::u16string first;
  std::u16string second;
  bool operator==(const TextPair&) const = default;
};

struct TextPairHash {
  size_t operator()(const TextPair& key) const;
};

class Lookups {
 public:
  Lookups(store::Table& asigt, store::Table& asignomt, store::Table& diashorast,
          store::Table& grupost);

  // ASIGT: CASIG = subject and CGRUP = group. Nothing on a miss.
  const AssignmentCodes* Assignment(const std::u16string& subject, const std::u16string& group);
  // ASIGNOMT: COD = subject; its CODTAREA. Nothing on a miss.
  const std::u16string* ActivityCode(const std::u16string& subject);
  // DIASHORAST: DIHO = slot key and MARCO = frame mark. Nothing on a miss.
  const SlotValues* Slot(const std::u16string& slot_key, const std::u16string& frame_mark);
  // GRUPOST: ABREV = group; its CLAVE (the platform's unit code). Nothing on a miss.
  const std::u16string* Unit(const std::u16string& group);

 private:
  store::Table& asigt_;
  store::Table& asignomt_;
  store::Table& diashorast_;
  store::Table& grupost_;
  std::optional<std::unordered_map<TextPair, AssignmentCodes, TextPairHash>> assignments_;
  std::optional<std::unordered_map<std::u16string, std::u16string>> activity_codes_;
  std::optional<std::unordered_map<TextPair, SlotValues, TextPairHash>> slots_;
  std::optional<std::unordered_map<std::u16string, std::u16string>> units_;
};

}  // namespace zentrova::timetable_export

#endif  // ZENTROVA_EXPORT_LOOKUPS_H_
