#ifndef ZENTROVA_EXPORT_PERIOD_H_
#define ZENTROVA_EXPORT_PERIOD_H_

// The period every activity is given: the start and end dates of the chosen time frame
// listed first in the export, which the first direction left as the first record of
// PERIODOS.DBF in the exchange folder.

#include <filesystem>
#include <string>

namespace zentrova::timetable_export {

struct Period {
  std::u16string start;  // FECINI, as the export gave it
  std::u16string end;    // FECFIN
};

// What the second direction stops with when the first one has not left PERIODOS.DBF.
inline constexpr char16_t kNoPeriodsMessage[] =
    u"ATENCIÓN - PERIODOS.DBF No encontrado - Importe de nuevo XML de VETRANA.";

// Whether PERIODOS.DBF is in `ktemp` (its name matched without regard to letter case).
bool PeriodTableExists(const std::filesystem::path& ktemp);

// FECINI and FECFIN of the first record, read from a table of its own opened shared; both
// empty when the table has no record. Raises store::Error.
Period ReadPeriod(const std::filesystem::path& ktemp);

}  // namespace zentrova::timetable_export

#endif  // ZENTROVA_EXPORT_PERIOD_H_
