#include "export/solution_table.h"

#include <algorithm>

namespace zentrova::timetable_export {

StoredInteger StoredInteger::Read(const store::Table& table, std::string_view field) {
  StoredInteger result;
  try {
    result.value_ = table.AsInteger(field);
  } catch (const Error&) {
    result.error_ = std::current_exception();
  }
  return result;
}

int32_t StoredInteger::Get() const {
  if (error_) std::rethrow_exception(error_);
  return value_;
}

std::optional<int32_t> StoredInteger::Value() const {
  if (error_) return std::nullopt;
  return value_;
}

void SolutionTable::Read() {
  size_t record = 0;
  for (soluc_.First(); !soluc_.Eof(); soluc_.Next()) {
    SolutionRow row{soluc_.AsText("ASIG"),
                    soluc_.AsText("CODGRUPO"),
                    soluc_.AsText("TAREA"),
                    soluc_.AsText("MARCO"),
                    soluc_.AsText("AULA"),
                    soluc_.AsText("DIA"),
                    StoredInteger::Read(soluc_, "DIA"),
                    StoredInteger::Read(soluc_, "HORA"),
                    soluc_.AsText("PROF"),
                    ++record};
    by_teacher_[row.prof].push_back(std::move(row));
  }
  read_ = true;
}

const std::vector<SolutionRow>& SolutionTable::RowsOf(const std::u16string& teacher) {
  if (!read_) Read();
  static const std::vector<SolutionRow> kNone;
  const auto found = by_teacher_.find(teacher);
  return found == by_teacher_.end() ? kNone : found->second;
}

std::vector<const SolutionRow*> SolutionTable::RowsInRecordOrder() {
  if (!read_) Read();
  std::vector<const SolutionRow*> rows;
  for (const auto& [teacher, of_teacher] : by_teacher_) {
    for (const SolutionRow& row : of_teacher) rows.push_back(&row);
  }
  std::sort(rows.begin(), rows.end(),
            [](const SolutionRow* a, const SolutionRow* b) { return a->record < b->record; });
  return rows;
}

}  // namespace zentrova::timetable_export
