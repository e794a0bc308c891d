#include "import/subjects.h"

#include "import/exchange_document.h"
#include "import/row_writer.h"
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
      {"COD", FieldKind::kText, 10},      {"CODLARGO", FieldKind::kText, 10},
      {"NOMBRE", FieldKind::kText, 80},   {"MATERIA", FieldKind::kText, 8},
      {"CODTAREA", FieldKind::kText, 12}, {"ESTAREA", FieldKind::kLogical, 0},
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
  store::Table table(ktemp, "ASIGNOMT.DBF");
  table.Create(AsignomtFields());
  const std::vector<Record> records = ReadGroup(document, kMaterias);
  observer.GroupStarted("ASIGNOMT", kMaterias, records);
  table.Open();
  RowWriter rows(table, observer);
  for (const Record& record : records) {
    if (HasTooFewValues(record, observer)) continue;
    const std::u16string name = record.Value(2);
    SubjectCode subject = BuildSubjectCode(name);
    const std::u16string upper_name = text::UpperAZ(name);
    if (lists.UsedNames.Contains(upper_name)) {  // the subject is written already
      observer.RecordSkipped(record, SkipReason::kSubjectNameRepeated);
      continue;
    }
    lists.UsedNames.Add(upper_name);
    const std::u16string unique = lists.UsedCodes.MakeUnique(subject.code);
    // The shortened form is what the list keeps; it is not looked up again.
    const std::u16string code = FirstEightLastTwo(unique);
    observer.CodeGiven(record, "COD", subject.code, unique, code);
    lists.UsedCodes.Add(code);
    rows.Append(record);
    rows.SetCode("COD", code, lists.UsedCodes);
    rows.SetText("CODLARGO", subject.long_code);
    rows.SetText("NOMBRE", name);
    rows.SetLogical("ESTAREA", false);
    rows.Post();
  }
  table.Close();
}

}  // namespace zentrova::import
