#include "export/period.h"

#include "files/find_file.h"
#include "store/table.h"

namespace zentrova::timetable_export {

namespace {
constexpr char kPeriodTable[] = "PERIODOS.DBF";
}  // namespace

bool PeriodTableExists(const std::filesystem::path& ktemp) {
  std::error_code error;
  return std::filesystem::is_regular_file(files::FindIgnoringCase(ktemp, kPeriodTable), error);
}

Period ReadPeriod(const std::filesystem::path& ktemp) {
  store::Table table(ktemp, kPeriodTable);
  table.Open(store::OpenMode::kShared);
  table.First();
  Period period;
  if (!table.Eof()) period = Period{table.AsText("FECINI"), table.AsText("FECFIN")};
  table.Close();
  return period;
}

}  // namespace zentrova::timetable_export
