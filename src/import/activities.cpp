#include "import/activities.h"

#include "import/exchange_document.h"
#include "import/row_writer.h"
#include "store/table.h"
#include "text/clipper.h"

namespace zentrova::import {

void ImportActivities(const xml::Document& document, const std::filesystem::path& ktemp,
                      SubjectLists& lists, ConversionObserver& observer) {
  const std::vector<Record> records = ReadGroup(document, kActividades);
  observer.GroupStarted("ASIGNOMT", kActividades, records);
  store::Table table(ktemp, "ASIGNOMT.DBF");
  table.Open();
  RowWriter rows(table, observer);
  for (const Record& record : records) {
    if (HasTooFewValues(record, observer)) continue;
    const std::u16string name = record.Value(2);
    const std::u16string code = record.Value(1);
    rows.Append(record);
    rows.SetText("COD", code);
    rows.SetText("CODLARGO", text::LeftChars(name, 8));
    rows.SetText("NOMBRE", name);
    rows.SetText("CODTAREA", code);
    rows.SetLogical("ESTAREA", true);
    rows.Post();
  }
  table.Close();
  lists.UsedCodes.Clear();
  lists.UsedNames.Clear();
}

}  // namespace zentrova::import
