#include "import/group_conversion.h"

namespace zentrova::import {

void ConvertGroup(const xml::Document& document, const std::filesystem::path& ktemp,
                  const GroupConversion& conversion, ConversionObserver& observer,
                  const RecordConversion& convert) {
  store::Table table(ktemp, conversion.table + ".DBF");
  if (conversion.fields != nullptr) table.Create(*conversion.fields);
  const std::vector<Record> records = ReadGroup(document, conversion.group);
  observer.GroupStarted(conversion.table, conversion.group, records);
  table.Open();
  RowWriter rows(table, observer);
  for (const Record& record : records) {
    if (HasTooFewValues(record, observer)) continue;
    convert(record, rows);
  }
  table.Close();
}

}  // namespace zentrova::import
