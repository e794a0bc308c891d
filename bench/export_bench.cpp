// The timetable export over generated exchange folders of growing size: the run's time
// should grow in proportion to the rows of SOLUC (the other tables grow with it). The run as
// importar makes it without a report (nobody reads it) and with one (the window, batch mode,
// --informe), and the review of revisar-horario, which builds the document and saves nothing.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

#include "app/exchange_tables.h"
#include "app/timetable_review.h"
#include "export/timetable_document.h"
#include "export/timetable_report.h"
#include "export/timetable_run.h"
#include "import/courses_and_groups.h"
#include "import/rooms.h"
#include "import/staff.h"
#include "import/subjects.h"
#include "import/teaching_assignments.h"
#include "import/time_slots.h"
#include "store/table.h"
#include "text/integer.h"
#include "xml/document.h"

namespace {

using namespace zentrova;
using text::IntegerText;

constexpr char kExport[] =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><SERVICIO><BLOQUE_DATOS>"
    "<grupo_datos seq=\"ANNO_ACADEMICO\"><dato nombre_dato=\"C_ANNO\">2025</dato></grupo_datos>"
    "</BLOQUE_DATOS></SERVICIO>";

std::u16string Code(const char16_t* prefix, long long number) {
  return prefix + IntegerText(number);
}

// An exchange folder for `lessons` SOLUC rows: 25 lessons a teacher, 10 groups of 20
// subjects each per 1000 lessons, two frames of 7 days and 11 slots.
class ExchangeFolder {
 public:
  explicit ExchangeFolder(int lessons) {
    path_ = std::filesystem::temp_directory_path() /
            ("zentrova-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(path_);
    const int teachers = std::max(1, lessons / 25);
    const int groups = std::max(1, lessons / 100);
    const int subjects = 20;

    Write("PROFT.DBF", import::ProftFields(), teachers, [&](store::Table& t, int i) {
      t.SetText("ABREV", Code(u"P", i));
      t.SetText("X_EMPLEADO", Code(u"", 10000 + i));
      t.SetText("F_TOMAPOS", u"01/09/2015");
    });
    Write("GRUPOST.DBF", import::GrupostFields(), groups, [&](store::Table& t, int i) {
      t.SetText("ABREV", Code(u"G", i));
      t.SetText("CLAVE", Code(u"", 5000 + i));
    });
    Write("ASIGNOMT.DBF", import::AsignomtFields(), subjects + 5, [&](store::Table& t, int i) {
      t.SetText("COD", Code(u"S", i));
      t.SetText("CODTAREA", i >= subjects ? Code(u"", 90 + i) : u"");
    });
    Write("ASIGT.DBF", import::AsigtFields(), groups * subjects, [&](store::Table& t, int i) {
      t.SetText("CASIG", Code(u"S", i % subjects));
      t.SetText("CGRUP", Code(u"G", i / subjects));
      t.SetText("CLAVE", Code(u"", 700000 + i));
      t.SetText("CLAVECURSO", Code(u"", 300 + i / subjects));
    });
    Write("DIASHORAST.DBF", import::DiashorastFields(), 2 * 7 * 11, [&](store::Table& t, int i) {
      const int frame = i / 77;
      const int day = i % 77 / 11 + 1;
      const int hour = i % 11 + 1;
      const int start = (frame == 0 ? 480 : 900) + (hour - 1) * 55;
      auto clock = [](int minutes) {
        std::u16string hh = IntegerText(minutes / 60), mm = IntegerText(minutes % 60);
        return (hh.size() < 2 ? u"0" + hh : hh) + u":" + (mm.size() < 2 ? u"0" + mm : mm);
      };
      t.SetText("DIHO", IntegerText(day) + IntegerText(hour));
      t.SetText("CODDIHO", Code(u"", 10000 + i));
      t.SetText("DIA", IntegerText(day));
      t.SetText("HORADESDE", clock(start));
      t.SetText("HORAHASTA", clock(start + 55));
      t.SetText("MARCO", IntegerText(frame));
    });
    Write("PERIODOS.DBF", import::PeriodosFields(), 1, [&](store::Table& t, int) {
      t.SetText("FECINI", u"15/09/2025");
      t.SetText("FECFIN", u"22/06/2026");
    });
    Write("CURSOST.DBF", import::CursostFields(), 0, [](store::Table&, int) {});
    Write("AULAT.DBF", import::AulatFields(), 0, [](store::Table&, int) {});
    using store::FieldKind;
    const std::vector<store::FieldDef> soluc = {
        {"PROF", FieldKind::kText, 10},       {"DIA", FieldKind::kWholeNumber, 0},
        {"HORA", FieldKind::kWholeNumber, 0}, {"MARCO", FieldKind::kText, 2},
        {"ASIG", FieldKind::kText, 10},       {"CODGRUPO", FieldKind::kText, 10},
        {"TAREA", FieldKind::kText, 12},      {"AULA", FieldKind::kText, 10}};
    // Rows in an order unrelated to the teachers', a few without a day.
    Write("SOLUC.DBF", soluc, lessons, [&](store::Table& t, int i) {
      t.SetText("PROF", Code(u"P", (i * 7919LL) % teachers));
      t.SetInteger("DIA", i % 50 == 0 ? 0 : i % 7 + 1);
      t.SetInteger("HORA", i % 11 + 1);
      t.SetText("MARCO", IntegerText(i / 7 % 2));
      t.SetText("ASIG", Code(u"S", i % (subjects + 5)));
      t.SetText("CODGRUPO", Code(u"G", i % groups));
      t.SetText("AULA", i % 3 == 0 ? u"" : Code(u"A", i % 40));
    });
    std::FILE* file = std::fopen((path_ / "centro.xml").string().c_str(), "wb");
    std::fputs(kExport, file);
    std::fclose(file);
  }
  ~ExchangeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  template <typename Fill>
  void Write(const char* name, const std::vector<store::FieldDef>& fields, int rows, Fill fill) {
    store::Table table(path_, name);
    table.Create(fields);
    table.Open(store::OpenMode::kExclusive);
    for (int i = 0; i < rows; ++i) {
      table.Append();
      fill(table, i);
      table.Post();
    }
    table.Close();
  }

  std::filesystem::path path_;
};

void BM_TimetableExport(benchmark::State& state, bool reported) {
  const int lessons = static_cast<int>(state.range(0));
  ExchangeFolder folder(lessons);
  app::ExchangeTables tables(folder.path(), folder.path() / "NIVELEX.DBF");
  const std::filesystem::path chosen = folder.path() / "centro.xml";
  for (auto _ : state) {
    timetable_export::OpenTables open(app::TimetableTablesOf(tables));
    files::FileReplacement result(timetable_export::ResultPath(chosen));
    xml::Document document;
    const timetable_export::PreparedRun prepared = timetable_export::PrepareRun(
        document, folder.path(), chosen, std::chrono::system_clock::now);
    timetable_export::TimetableReport findings;
    benchmark::DoNotOptimize(timetable_export::WriteTimetableDocument(
        document, open, prepared.run, result,
        reported ? findings : timetable_export::IgnoreTimetable()));
  }
  state.SetComplexityN(lessons);
  state.SetItemsProcessed(state.iterations() * lessons);
}

void BM_TimetableReview(benchmark::State& state) {
  const int lessons = static_cast<int>(state.range(0));
  ExchangeFolder folder(lessons);
  const std::filesystem::path chosen = folder.path() / "centro.xml";
  for (auto _ : state) {
    benchmark::DoNotOptimize(app::ReviewTimetable(chosen, folder.path()).findings.rows());
  }
  state.SetComplexityN(lessons);
  state.SetItemsProcessed(state.iterations() * lessons);
}

BENCHMARK_CAPTURE(BM_TimetableExport, importar, false)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(BM_TimetableExport, importar_con_informe, true)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_TimetableReview)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
