#include "import/staff.h"

#include "import/code_list.h"
#include "import/group_conversion.h"

namespace zentrova::import {
namespace {

// The first character of each part of the name, taken from the text as it stands (before
// trimming) and with its case unchanged; an empty part adds nothing.
std::u16string Initials(const Record& record) {
  std::u16string initials;
  for (size_t position :
       {empleados::kFirstSurname, empleados::kSecondSurname, empleados::kGivenName}) {
    const std::u16string part = record.Raw(position);
    if (!part.empty()) initials += part[0];
  }
  return initials;
}

std::u16string FullName(const Record& record) {
  return record.Value(empleados::kFirstSurname) + u" " + record.Value(empleados::kSecondSurname) +
         u", " + record.Value(empleados::kGivenName);
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
  const GroupConversion conversion{"PROFT", kEmpleados, &ProftFields()};
  ConvertGroup(document, ktemp, conversion, observer, [&](const Record& record, RowWriter& rows) {
    const std::u16string base = Initials(record);
    const std::u16string unique = codes.MakeUnique(base);
    // Only a code that took a suffix is shortened; a new base is used as it is.
    const std::u16string code = unique != base ? FirstEightLastTwo(unique) : base;
    observer.CodeGiven(record, "ABREV", base, unique, code);
    codes.Add(code);
    rows.Append(record);
    rows.SetCode("ABREV", code, codes);
    rows.SetText("NOMBRE", FullName(record));
    rows.SetText("DEPART", record.Value(empleados::kDepartment));
    rows.SetText("X_EMPLEADO", record.Value(empleados::kEmployee));
    rows.SetText("F_TOMAPOS", record.Value(empleados::kTakenOffice));
    rows.Post();
  });
}

}  // namespace zentrova::import
