#include "import/rooms.h"

#include "import/code_list.h"
#include "import/group_conversion.h"
#include "text/clipper.h"

namespace zentrova::import {

const std::vector<store::FieldDef>& AulatFields() {
  using store::FieldKind;
  static const std::vector<store::FieldDef> fields = {
      {"ABREV", FieldKind::kText, 10},     {"NOMBRE", FieldKind::kText, 80},
      {"EDIFICIO", FieldKind::kText, 1},   {"MAXALUM", FieldKind::kWholeNumber, 0},
      {"DEPCENTRO", FieldKind::kText, 10},
  };
  return fields;
}

void ImportRooms(const xml::Document& document, const std::filesystem::path& ktemp,
                 ConversionObserver& observer) {
  CodeList codes(CodeList::Comparison::kIgnoringCase);
  const GroupConversion conversion{"AULAT", kDependencias, &AulatFields()};
  ConvertGroup(document, ktemp, conversion, observer, [&](const Record& record, RowWriter& rows) {
    const std::u16string name = record.Value(dependencias::kName);
    std::u16string base = record.Value(dependencias::kCode);
    if (base.empty()) base = text::LeftChars(name, 6);
    // Never shortened: the table cuts a code longer than its field.
    const std::u16string code = codes.MakeUnique(base);
    observer.CodeGiven(record, "ABREV", base, code, code);
    codes.Add(code);
    rows.Append(record);
    rows.SetCode("ABREV", code, codes);
    rows.SetText("NOMBRE", name);
    rows.Post();
  });
}

}  // namespace zentrova::import
