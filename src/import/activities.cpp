#include "import/activities.h"

#include "import/group_conversion.h"
#include "text/clipper.h"

namespace zentrova::import {

void ImportActivities(const xml::Document& document, const std::filesystem::path& ktemp,
                      SubjectLists& lists, ConversionObserver& observer) {
  // Added after the subjects, in the table they made.
  const GroupConversion conversion{"ASIGNOMT", kActividades};
  ConvertGroup(document, ktemp, conversion, observer, [](const Record& record, RowWriter& rows) {
    const std::u16string name = record.Value(actividades::kName);
    const std::u16string code = record.Value(actividades::kCode);
    rows.Append(record);
    rows.SetText("COD", code);
    rows.SetText("CODLARGO", text::LeftChars(name, 8));
    rows.SetText("NOMBRE", name);
    rows.SetText("CODTAREA", code);
    rows.SetLogical("ESTAREA", true);
    rows.Post();
  });
  lists.used_codes.Clear();
  lists.used_names.Clear();
}

}  // namespace zentrova::import
