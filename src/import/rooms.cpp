#include "import/rooms.h"

#include "import/code_list.h"
#include "import/exchange_document.h"
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

void ImportRooms(const xml::Document& document, const std::filesystem::path& ktemp) {
  CodeList codes(CodeList::Comparison::kIgnoringCase);
  store::Table table(ktemp, "AULAT.DBF");
  table.Create(AulatFields());
  const std::vector<Record> records = ReadGroup(document, kDependencias);
  table.Open();
  for (const Record& record : records) {
    if (!record.HasTwoValues()) continue;
    const std::u16string name = record.Value(1);
    std::u16string code = record.Value(0);
    if (code.empty()) code = text::LeftChars(name, 6);
    code = codes.MakeUnique(code);
    codes.Add(code);
    table.Append();
    table.SetText("ABREV", code);
    table.SetText("NOMBRE", name);
    table.Post();
  }
  table.Close();
}

}  // namespace zentrova::import
