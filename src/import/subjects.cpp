#include "import/subjects.h"

#include "import/group_conversion.h"
#include "text/clipper.h"
#include "text/letter_case.h"

namespace zentrova::import {
namespace {

bool IsCapital(char16_t c) { return c >= u'A' && c <= u'Z'; }

std::u16string FirstFormOfCode(const std::u16string& name) {
  std::u16string code;
  if (!name.empty() && !IsCapital(name[0])) code += name[0];
  code += text::CapitalsOnly(name);
  if (code.size() == 1) {
    if (name.find(u' ') != std::u16string::npos) {
      code = name.substr(0, 1) + text::CharsAfterSpaces(name);
    } else {
      code = text::LeftChars(name, 6);
    }
  }
  return code;
}

}  // namespace

const std::vector<store::FieldDef>& AsignomtFields() {
  using store::FieldKind;
  static const std::vector<store::FieldDef> fields = {
      {"COD", FieldKind::kText, 10},
      {"CODLARGO", FieldKind::kText, 10},
      {"NOMBRE", FieldKind::kText, kSubjectNameWidth},
      {"MATERIA", FieldKind::kText, 8},
      {"CODTAREA", FieldKind::kText, 12},
      {"ESTAREA", FieldKind::kLogical, 0},
  };
  return fields;
}

SubjectCode BuildSubjectCode(const std::u16string& name) {
  SubjectCode result;
  result.code = FirstFormOfCode(name);
  // The long code is taken before the code is cut and before any suffix.
  result.long_code = result.code.size() <= 4 ? text::LeftChars(name, 10) : result.code;
  result.code = text::LeftChars(result.code, 10);
  return result;
}

void ImportSubjects(const xml::Document& document, const std::filesystem::path& ktemp,
                    SubjectLists& lists, ConversionObserver& observer) {
  const GroupConversion conversion{"ASIGNOMT", kMaterias, &AsignomtFields()};
  ConvertGroup(document, ktemp, conversion, observer, [&](const Record& record, RowWriter& rows) {
    const std::u16string name = record.Value(materias::kName);
    SubjectCode subject = BuildSubjectCode(name);
    const std::u16string upper_name = text::UpperAZ(name);
    if (lists.used_names.Contains(upper_name)) {  // the subject is written already
      observer.RecordSkipped(record, SkipReason::kSubjectNameRepeated);
      return;
    }
    lists.used_names.Add(upper_name);
    const std::u16string unique = lists.used_codes.MakeUnique(subject.code);
    // The shortened form is what the list keeps; it is not looked up again.
    const std::u16string code = FirstEightLastTwo(unique);
    observer.CodeGiven(record, "COD", subject.code, unique, code);
    lists.used_codes.Add(code);
    rows.Append(record);
    rows.SetCode("COD", code, lists.used_codes);
    rows.SetText("CODLARGO", subject.long_code);
    rows.SetText("NOMBRE", name);
    rows.SetLogical("ESTAREA", false);
    rows.Post();
  });
}

}  // namespace zentrova::import
