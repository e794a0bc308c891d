#ifndef ZENTROVA_EXPORT_SOLUTION_TABLE_H_
#define ZENTROVA_EXPORT_SOLUTION_TABLE_H_

// What the export reads of SOLUC, the timetable the timetabling product computed: its rows,
// grouped by teacher code (PROF) in record order, read in one pass the first time a teacher's
// rows are asked for. Other fields of the table are not read.

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/table.h"

namespace zentrova::timetable_export {

// A whole number read by the table store. A value that does not convert keeps the store's
// error and raises it when the value is asked for, so a row whose number is never used
// stops nothing.
class StoredInteger {
 public:
  static StoredInteger Read(const store::Table& table, std::string_view field);
  int32_t Get() const;
  // The number, or nothing when the text did not convert; never raises.
  std::optional<int32_t> Value() const;

 private:
  int32_t value_ = 0;
  std::exception_ptr error_;
};

// One SOLUC row; texts as the table store reads them.
struct SolutionRow {
  std::u16string asig;
  std::u16string codgrupo;
  std::u16string tarea;
  std::u16string marco;
  std::u16string aula;
  std::u16string dia_text;  // DIA as text: the first part of the slot key
  StoredInteger dia;        // DIA as a whole number; 0 marks a row without a day
  StoredInteger hora;       // HORA as a whole number
  std::u16string prof;      // the teacher's code
  size_t record = 0;        // its number among the table's rows in record order, from 1
};

class SolutionTable {
 public:
  // `soluc` must be open while rows are asked for.
  explicit SolutionTable(store::Table& soluc) : soluc_(soluc) {}

  // The rows whose PROF reads exactly as `teacher` (trailing blanks aside, as AsText reads
  // it), in record order; none when no row does.
  const std::vector<SolutionRow>& RowsOf(const std::u16string& teacher);
  // Every row, in record order (the table is read if no teacher's rows were asked for yet).
  std::vector<const SolutionRow*> RowsInRecordOrder();

 private:
  void Read();

  store::Table& soluc_;
  bool read_ = false;
  std::unordered_map<std::u16string, std::vector<SolutionRow>> by_teacher_;
};

}  // namespace zentrova::timetable_export

#endif  // ZENTROVA_EXPORT_SOLUTION_TABLE_H_
