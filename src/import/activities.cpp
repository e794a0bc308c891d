#include "import/activities.h"

#include "import/exchange_document.h"
#include "store/table.h"
#include "text/clipper.h"

namespace zentrova::import {

void ImportActivities(const xml::Document& document, const std::filesystem::path& ktemp,
                      SubjectLists& lists) {
  const std::vector<Record> records = ReadGroup(document, kActividades);
  store::Table table(ktemp, "ASIGNOMT.DBF");
  table.Open();
  for (const Record& record : records) {
    if (!record.HasTwoValues()) continue;
    const std::u16string name = record.Value(2);
    const std::u16string code = record.Value(1);
    table.Append();
    table.SetText("COD", code);
    table.SetText("CODLARGO", text::LeftChars(name, 8));
    table.SetText("NOMBRE", name);
    table.SetText("CODTAREA", code);
    table.SetLogical("ESTAREA", true);
    table.Post();
  }
  table.Close();
  lists.UsedCodes.Clear();
  lists.UsedNames.Clear();
}

}  // namespace zentrova::import
