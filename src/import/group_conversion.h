#ifndef ZENTROVA_IMPORT_GROUP_CONVERSION_H_
#define ZENTROVA_IMPORT_GROUP_CONVERSION_H_

// The skeleton the table converters fill in: the records of one data group become the rows of
// one table. A converter says which table, from which group, with which fields, and what one
// record gives; the skeleton creates and opens the table, reads the group, tells the observer,
// passes on every record that has values enough, and closes the table.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "import/conversion_observer.h"
#include "import/exchange_document.h"
#include "import/row_writer.h"
#include "store/table.h"
#include "xml/document.h"

namespace zentrova::import {

struct GroupConversion {
  // The table's name, as the observer hears it and without ".DBF": "AULAT".
  std::string table;
  // The data group whose records are converted: kDependencias.
  std::u16string_view group;
  // The table is made anew with these fields; nullptr: it exists already and rows are added
  // after its own.
  const std::vector<store::FieldDef>* fields = nullptr;
};

// What one record gives: its rows, appended through `rows` (none, one or several), or, when
// it gives none, the reason told to the observer.
using RecordConversion = std::function<void(const Record& record, RowWriter& rows)>;

// Converts every record of `conversion.group` in `document` into table `conversion.table` in
// `ktemp` through `convert`. Records with fewer than two values give no row and are reported
// skipped. Raises store::Error when the table cannot be made, opened or written; the table is
// then left to the caller's folder update, which never moves it into place.
void ConvertGroup(const xml::Document& document, const std::filesystem::path& ktemp,
                  const GroupConversion& conversion, ConversionObserver& observer,
                  const RecordConversion& convert);

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_GROUP_CONVERSION_H_
