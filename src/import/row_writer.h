#ifndef ZENTROVA_IMPORT_ROW_WRITER_H_
#define ZENTROVA_IMPORT_ROW_WRITER_H_

// How a converter appends its rows: through the table, telling the observer which record gave
// each row and what the table made of the values. The table store cuts a text to its field's
// width and puts "?" for a character its code page lacks; the writer learns of it by reading
// the field back, so the store knows nothing of records or observers.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "import/code_list.h"
#include "import/conversion_observer.h"
#include "import/exchange_document.h"
#include "store/table.h"

namespace zentrova::import {

// How `stored`, a text field read back, differs from `given`, the text it was set from;
// nothing when it holds the same text (blanks at the end are never kept by a field).
std::optional<AlteredValue> CompareStored(std::u16string_view given, const std::u16string& stored);

class RowWriter {
 public:
  // `table` is open; rows are appended to it. With IgnoreConversion() as the observer nothing
  // is read back, so a conversion pays nothing for the reports.
  RowWriter(store::Table& table, ConversionObserver& observer)
      : table_(table), observer_(observer), reading_back_(&observer != &IgnoreConversion()) {}

  // A new pending row, given by `record`.
  void Append(const Record& record);
  void SetText(std::string_view field, std::u16string_view value);
  // A code the converter made unique against `codes`: also reports a code that the table
  // already holds in that field, as `codes` compares codes (after a shortening or a cut).
  void SetCode(std::string_view field, const std::u16string& code, const CodeList& codes);
  void SetLogical(std::string_view field, bool value) { table_.SetLogical(field, value); }
  void SetFloat(std::string_view field, double value) { table_.SetFloat(field, value); }
  void Post() { table_.Post(); }

 private:
  int FieldWidth(std::string_view field) const;

  store::Table& table_;
  ConversionObserver& observer_;
  bool reading_back_;
  const Record* record_ = nullptr;
  // The codes stored by SetCode, by their key, with the index of the record that gave each.
  std::unordered_map<std::u16string, size_t> stored_codes_;
};

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_ROW_WRITER_H_
