#include "import/staff.h"

#include "import/code_list.h"
#include "import/exchange_document.h"
#include "import/row_writer.h"

namespace zentrova::import {
namespace {

// The first character of each part of the name, taken from the text as it stands (before
// trimming) and with its case unchanged; an empty part adds nothing.
std::u16string Initials(const Record& record) {
  std::u16string initials;
  for (size_t position : {3, 4, 5}) {
    const std::u16string part = record.Raw(position);
    if (!part.empty()) initials += part[0];
  }
  return initials;
}

std::u16string FullName(const Record& record) {
  return record.Value(3) + u" " + record.Value(4) + u", " + record.Value(5);
}

}  // namespace

const std::vector<store::FieldDef>& ProftFields() {
  using store::FieldKind;
  static const std::vector<store::FieldDef> fields = {
      {"ABREV", FieldKind::kText, 10},     {"NOMBRE", FieldKind::kText, 80},
      {"DEPART", FieldKind::kText, 40},    {"EMAIL", FieldKind::kText, 100},
      {"DNI", FieldKind::kWholeNumber, 0}, {"X_EMPLEADO", FieldKind::kText, 10},
      {"F_TOMAPOS", FieldKind::kText, 10},
  };
  return fields;
}

void ImportStaff(const xml::Document& document, const std::filesystem::path& ktemp,
                 ConversionObserver& observer) {
  CodeList codes(CodeList::Comparison::kIgnoringCase);
  store::Table table(ktemp, "PROFT.DBF");
  table.Create(ProftFields());
  const std::vector<Record> records = ReadGroup(document, kEmpleados);
  observer.GroupStarted("PROFT", kEmpleados, records);
  table.Open();
  RowWriter rows(table, observer);
  for (const Record& record : records) {
    if (HasTooFewValues(record, observer)) continue;
    const std::u16string base = Initials(record);
    const std::u16string unique = codes.MakeUnique(base);
    // Only a code that took a suffix is shortened; a new base is used as it is.
    const std::u16string code = unique != base ? FirstEightLastTwo(unique) : base;
    observer.CodeGiven(record, "ABREV", base, unique, code);
    codes.Add(code);
    rows.Append(record);
    rows.SetCode("ABREV", code, codes);
    rows.SetText("NOMBRE", FullName(record));
    rows.SetText("DEPART", record.Value(2));
    rows.SetText("X_EMPLEADO", record.Value(0));
    rows.SetText("F_TOMAPOS", record.Value(1));
    rows.Post();
  }
  table.Close();
}

}  // namespace zentrova::import
