#ifndef ZENTROVA_REPORT_CONVERSION_FINDINGS_H_
#define ZENTROVA_REPORT_CONVERSION_FINDINGS_H_

// What the first direction's converters did with the export's records (import::GroupReport),
// in plain Spanish: a count per kind of finding, and table by table each data group with its
// counts and one line per finding, in record order. Records are counted from 1, as the
// conversion's messages count them.

#include <string>
#include <vector>

#include "import/conversion_report.h"

namespace zentrova::report {

// Whether any group has a finding the user should see: any but the records of time frames
// that were not chosen, which are left out as the user asked.
bool HasFindings(const std::vector<import::GroupReport>& groups);

// One line per kind of finding the groups have, with its count ("3 registros no dan fila.").
std::vector<std::u16string> ConversionSummary(const std::vector<import::GroupReport>& groups);

// For each table a blank line and its name, then each of its groups indented by two ("GRUPOST",
// "  UNIDADES: 6 registros, 5 dan fila.") and their findings by four ("    Registro 3: ...").
std::vector<std::u16string> TableLines(const std::vector<import::GroupReport>& groups);

}  // namespace zentrova::report

#endif  // ZENTROVA_REPORT_CONVERSION_FINDINGS_H_
