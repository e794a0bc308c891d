#include "import/conversion_report.h"

namespace zentrova::import {

std::vector<std::u16string> ValuesOf(const Record& record) {
  std::vector<std::u16string> values;
  for (size_t i = 0; i < record.ValueCount(); ++i) values.push_back(record.Raw(i));
  return values;
}

void ConversionReport::GroupStarted(std::string_view table, std::u16string_view group,
                                    const std::vector<Record>& records) {
  GroupReport report;
  report.table = std::string(table);
  report.group = std::u16string(group);
  report.records = records.size();
  groups_.push_back(std::move(report));
  gave_row_.assign(records.size(), false);
  altered_fields_.clear();
}

void ConversionReport::RowAppended(const Record& record) {
  if (record.index() >= gave_row_.size() || gave_row_[record.index()]) return;
  gave_row_[record.index()] = true;
  ++groups_.back().records_with_rows;
}

void ConversionReport::RecordSkipped(const Record& record, SkipReason reason) {
  groups_.back().skipped.push_back({record.index(), reason, ValuesOf(record)});
}

void ConversionReport::CodeChanged(const Record& record, std::string_view field, CodeChange change,
                                   const std::u16string& before, const std::u16string& after) {
  groups_.back().changed_codes.push_back(
      {record.index(), std::string(field), change, before, after});
}

void ConversionReport::ValueAltered(const Record& record, std::string_view field,
                                    const AlteredValue& value) {
  if (!altered_fields_.emplace(record.index(), std::string(field)).second) return;
  groups_.back().changed_values.push_back({record.index(), std::string(field), value});
}

void ConversionReport::CodeRepeated(const Record& record, std::string_view field,
                                    const std::u16string& code, size_t earlier_index) {
  groups_.back().repeated_codes.push_back(
      {record.index(), std::string(field), code, earlier_index});
}

void ConversionReport::CourseNotInLevelTable(const Record& course) {
  groups_.back().notices.push_back(
      {course.index(), NoticeKind::kCourseNotInLevelTable, ValuesOf(course)});
}

void ConversionReport::GroupCourseMissing(const Record& group) {
  groups_.back().notices.push_back(
      {group.index(), NoticeKind::kGroupCourseMissing, ValuesOf(group)});
}

}  // namespace zentrova::import
