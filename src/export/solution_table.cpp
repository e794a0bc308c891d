#include "export/solution_table.h"

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

const std::vector<SolutionRow>& SolutionTable::RowsOf(const std::u16string& teacher) {
  if (!read_) {
    if (soluc_.Filtered()) soluc_.SetFiltered(false);
    for (soluc_.First(); !soluc_.Eof(); soluc_.Next()) {
      SolutionRow row{soluc_.AsText("ASIG"),
                      soluc_.AsText("CODGRUPO"),
                      soluc_.AsText("TAREA"),
                      soluc_.AsText("MARCO"),
                      soluc_.AsText("AULA"),
                      soluc_.AsText("DIA"),
                      StoredInteger::Read(soluc_, "DIA"),
                      StoredInteger::Read(soluc_, "HORA")};
      by_teacher_[soluc_.AsText("PROF")].push_back(std::move(row));
    }
    read_ = true;
  }
  static const std::vector<SolutionRow> kNone;
  const auto found = by_teacher_.find(teacher);
  return found == by_teacher_.end() ? kNone : found->second;
}

}  // namespace zentrova::timetable_export
