#ifndef ZENTROVA_IMPORT_CONVERSION_REPORT_H_
#define ZENTROVA_IMPORT_CONVERSION_REPORT_H_

// What a conversion did with the export, collected from its observer: for each table and each
// data group it was written from, the records, those that gave rows, and every finding about a
// record. A value altered again at each row a record gives (a time slot on each day, a
// teaching assignment for each group) is one finding.

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "import/conversion_observer.h"
#include "import/exchange_document.h"

namespace zentrova::import {

// Each finding names its record by its index in the group, from 0.
struct SkippedRecord {
  size_t record = 0;
  SkipReason reason = SkipReason::kFewerThanTwoValues;
  std::vector<std::u16string> values;  // the record's values, untrimmed
};

struct ChangedCode {
  size_t record = 0;
  std::string field;
  CodeChange change = CodeChange::kSuffixed;
  std::u16string before;
  std::u16string after;
};

struct ChangedValue {
  size_t record = 0;
  std::string field;
  AlteredValue value;
};

struct RepeatedCode {
  size_t record = 0;
  std::string field;
  std::u16string code;
  size_t earlier_record = 0;
};

enum class NoticeKind {
  kCourseNotInLevelTable,  // level "Niv", its own name as the study
  kGroupCourseMissing,     // empty level and course
};

struct Notice {
  size_t record = 0;
  NoticeKind kind = NoticeKind::kCourseNotInLevelTable;
  std::vector<std::u16string> values;  // the record's values, untrimmed
};

// One table written from one data group.
struct GroupReport {
  std::string table;
  std::u16string group;
  size_t records = 0;
  size_t records_with_rows = 0;
  std::vector<SkippedRecord> skipped;
  std::vector<ChangedCode> changed_codes;
  std::vector<ChangedValue> changed_values;
  std::vector<RepeatedCode> repeated_codes;
  std::vector<Notice> notices;
};

class ConversionReport : public ConversionObserver {
 public:
  // In the order the converters wrote them.
  const std::vector<GroupReport>& groups() const { return groups_; }

  void GroupStarted(std::string_view table, std::u16string_view group,
                    const std::vector<Record>& records) override;
  void RowAppended(const Record& record) override;
  void RecordSkipped(const Record& record, SkipReason reason) override;
  void CodeChanged(const Record& record, std::string_view field, CodeChange change,
                   const std::u16string& before, const std::u16string& after) override;
  void ValueAltered(const Record& record, std::string_view field,
                    const AlteredValue& value) override;
  void CodeRepeated(const Record& record, std::string_view field, const std::u16string& code,
                    size_t earlier_index) override;
  void CourseNotInLevelTable(const Record& course) override;
  void GroupCourseMissing(const Record& group) override;

 private:
  std::vector<GroupReport> groups_;
  // Of the group being written: which records gave a row, and the fields of each record
  // whose alteration is reported already.
  std::vector<bool> gave_row_;
  std::set<std::pair<size_t, std::string>> altered_fields_;
};

// The untrimmed values of a record, in order.
std::vector<std::u16string> ValuesOf(const Record& record);

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_CONVERSION_REPORT_H_
