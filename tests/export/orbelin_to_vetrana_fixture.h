#ifndef ZENTROVA_TESTS_EXPORT_ORBELIN_TO_VETRANA_FIXTURE_H_
#define ZENTROVA_TESTS_EXPORT_ORBELIN_TO_VETRANA_FIXTURE_H_

// Direction two (Orbelin to Vetrana): exchange folders for the timetable export, the tables of
// the first direction written with our store in their own layouts, SOLUC made by python3-dbf
// as the timetabling product would leave it, and the result document read back with pugixml.

#include <filesystem>
#include <map>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "app/exchange_tables.h"
#include "export/timetable_run.h"
#include "store/table.h"

namespace zentrova::testing {

using TextRows = std::vector<std::vector<std::u16string>>;

// Creates `file_name` in `folder` with `fields`; each row sets `columns` in order, the other
// fields stay empty.
void WriteTableRows(const std::filesystem::path& folder, const std::string& file_name,
                    const std::vector<store::FieldDef>& fields,
                    const std::vector<std::string>& columns, const TextRows& rows);

// The exchange tables the export reads, each with the columns noted.
struct ExchangeRows {
  TextRows proft;       // ABREV, X_EMPLEADO, F_TOMAPOS
  TextRows asigt;       // CASIG, CGRUP, CLAVE, CLAVECURSO
  TextRows asignomt;    // COD, CODTAREA
  TextRows diashorast;  // DIHO, MARCO, DIA, CODDIHO, HORADESDE, HORAHASTA
  TextRows grupost;     // ABREV, CLAVE
  TextRows periodos = {{u"01/09/2024", u"30/06/2025"}};  // FECINI, FECFIN
};

// Writes PROFT, ASIGT, ASIGNOMT, DIASHORAST, GRUPOST, PERIODOS and (empty) CURSOST and AULAT.
void WriteExchangeTables(const std::filesystem::path& ktemp, const ExchangeRows& rows);

// SOLUC layouts in python3-dbf's notation: numeric DIA and HORA, or text ones, with a field
// the export does not read.
inline constexpr char kNumericSoluc[] =
    "PROF C(10); DIA N(2,0); HORA N(2,0); MARCO C(2); ASIG C(10); CODGRUPO C(10); "
    "TAREA C(12); AULA C(10); EXTRA C(5)";
inline constexpr char kTextSoluc[] =
    "EXTRA C(5); AULA C(10); TAREA C(12); CODGRUPO C(10); ASIG C(10); MARCO C(2); "
    "HORA C(3); DIA C(2); PROF C(10)";

// A SOLUC row in the order PROF, DIA, HORA, MARCO, ASIG, CODGRUPO, TAREA, AULA; DIA and HORA
// as their decimal text ("" for an empty field).
struct SolucRow {
  std::string prof;
  std::string dia;
  std::string hora;
  std::string marco;
  std::string asig;
  std::string codgrupo;
  std::string tarea;
  std::string aula;
};

#ifndef _WIN32
// Writes SOLUC.DBF (dBASE III, cp1252) with python3-dbf in one of the layouts above.
void WriteSoluc(const std::filesystem::path& ktemp, const std::string& layout,
                const std::vector<SolucRow>& rows);
#endif
// The same with our own store, numeric DIA and HORA: for values python3-dbf would change
// (it strips leading blanks) or refuse (control characters). Texts are UTF-8.
void WriteSolucWithOurStore(const std::filesystem::path& ktemp, const std::vector<SolucRow>& rows);

// The eight tables of the run as the main window's components hold them.
timetable_export::ExportTables ExportTablesOf(app::ExchangeTables& tables);

// A saved result read with pugixml (an independent reader).
class ResultDocument {
 public:
  explicit ResultDocument(const std::filesystem::path& file);
  const pugi::xml_document& document() const { return document_; }
  pugi::xml_node HorariosRegulares() const;
  // The teacher groups, in document order.
  std::vector<pugi::xml_node> Teachers() const;

 private:
  pugi::xml_document document_;
};

// An element, its attributes in order and its children, as one line:
// name[attr=value,...](text){child;child}
std::string Outline(const pugi::xml_node& node);

// The texts of an activity group's eleven values, checking their names and order.
std::vector<std::string> ActivityValues(const pugi::xml_node& activity);

// Environment variables changed for a test (a null value unsets one), put back as they were
// when it goes; a change of TZ takes effect at once.
class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  void Set(const char* name, const char* value);

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_EXPORT_ORBELIN_TO_VETRANA_FIXTURE_H_
