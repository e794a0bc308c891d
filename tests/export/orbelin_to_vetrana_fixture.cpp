#include "export/orbelin_to_vetrana_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "import/courses_and_groups.h"
#include "import/rooms.h"
#include "import/staff.h"
#include "import/subjects.h"
#include "import/teaching_assignments.h"
#include "import/time_slots.h"
#include "support/python.h"
#include "support/temp_folder.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::testing {
namespace {
#ifndef _WIN32

std::string JsonText(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// Fields of the layout in order; numeric ones get a number or None, the rest a text. The
// field EXTRA, which the export never reads, is always filled.
constexpr char kSolucScript[] = R"(
import json, sys, soluc
folder, layout, rows_file = sys.argv[1:4]
fields = [field.split() for field in layout.split(";")]
def value(row, name, kind):
    value = row.get(name, 'nolee')
    return (int(value) if value != '' else None) if kind.startswith('N') else value
soluc.write(folder, [tuple(value(row, name, kind) for name, kind in fields)
                     for row in json.load(open(rows_file, encoding='utf-8'))], layout)
)";

#endif
}  // namespace

void WriteTableRows(const std::filesystem::path& folder, const std::string& file_name,
                    const std::vector<store::FieldDef>& fields,
                    const std::vector<std::string>& columns, const TextRows& rows) {
  store::Table table(folder, file_name);
  table.Create(fields);
  table.Open(store::OpenMode::kExclusive);
  for (const auto& row : rows) {
    table.Append();
    for (size_t i = 0; i < columns.size() && i < row.size(); ++i) {
      table.SetText(columns[i], row[i]);
    }
    table.Post();
  }
  table.Close();
}

void WriteExchangeTables(const std::filesystem::path& ktemp, const ExchangeRows& rows) {
  WriteTableRows(ktemp, "PROFT.DBF", import::ProftFields(), {"ABREV", "X_EMPLEADO", "F_TOMAPOS"},
                 rows.proft);
  WriteTableRows(ktemp, "ASIGT.DBF", import::AsigtFields(),
                 {"CASIG", "CGRUP", "CLAVE", "CLAVECURSO"}, rows.asigt);
  WriteTableRows(ktemp, "ASIGNOMT.DBF", import::AsignomtFields(), {"COD", "CODTAREA"},
                 rows.asignomt);
  WriteTableRows(ktemp, "DIASHORAST.DBF", import::DiashorastFields(),
                 {"DIHO", "MARCO", "DIA", "CODDIHO", "HORADESDE", "HORAHASTA"}, rows.diashorast);
  WriteTableRows(ktemp, "GRUPOST.DBF", import::GrupostFields(), {"ABREV", "CLAVE"}, rows.grupost);
  WriteTableRows(ktemp, "PERIODOS.DBF", import::PeriodosFields(), {"FECINI", "FECFIN"},
                 rows.periodos);
  WriteTableRows(ktemp, "CURSOST.DBF", import::CursostFields(), {}, {});
  WriteTableRows(ktemp, "AULAT.DBF", import::AulatFields(), {}, {});
}

#ifndef _WIN32  // python3-dbf is Linux's
void WriteSoluc(const std::filesystem::path& ktemp, const std::string& layout,
                const std::vector<SolucRow>& rows) {
  std::string json = "[";
  for (const auto& row : rows) {
    if (json.size() > 1) json += ",";
    json += "{\"PROF\":" + JsonText(row.prof) + ",\"DIA\":" + JsonText(row.dia) +
            ",\"HORA\":" + JsonText(row.hora) + ",\"MARCO\":" + JsonText(row.marco) +
            ",\"ASIG\":" + JsonText(row.asig) + ",\"CODGRUPO\":" + JsonText(row.codgrupo) +
            ",\"TAREA\":" + JsonText(row.tarea) + ",\"AULA\":" + JsonText(row.aula) + "}";
  }
  json += "]";
  TempFolder scratch;
  WriteFile(scratch / "rows.json", json);
  const CommandResult made =
      RunPython(kSolucScript, {ktemp.string(), layout, (scratch / "rows.json").string()});
  ASSERT_EQ(made.exit_code, 0) << made.err;
}
#endif

void WriteSolucWithOurStore(const std::filesystem::path& ktemp, const std::vector<SolucRow>& rows) {
  using store::FieldKind;
  store::Table soluc(ktemp, "SOLUC.DBF");
  soluc.Create({{"PROF", FieldKind::kText, 10},
                {"DIA", FieldKind::kWholeNumber},
                {"HORA", FieldKind::kWholeNumber},
                {"MARCO", FieldKind::kText, 2},
                {"ASIG", FieldKind::kText, 10},
                {"CODGRUPO", FieldKind::kText, 10},
                {"TAREA", FieldKind::kText, 12},
                {"AULA", FieldKind::kText, 10}});
  soluc.Open();
  for (const SolucRow& row : rows) {
    soluc.Append();
    for (const auto& [field, value] : {std::pair{"PROF", &row.prof},
                                       {"MARCO", &row.marco},
                                       {"ASIG", &row.asig},
                                       {"CODGRUPO", &row.codgrupo},
                                       {"TAREA", &row.tarea},
                                       {"AULA", &row.aula}}) {
      soluc.SetText(field, text::Utf8ToUtf16(*value));
    }
    soluc.SetInteger("DIA", text::ParseInteger(text::Utf8ToUtf16(row.dia)));
    soluc.SetInteger("HORA", text::ParseInteger(text::Utf8ToUtf16(row.hora)));
    soluc.Post();
  }
  soluc.Close();
}

timetable_export::ExportTables ExportTablesOf(app::ExchangeTables& tables) {
  return app::TimetableTablesOf(tables);
}

ResultDocument::ResultDocument(const std::filesystem::path& file) {
  const pugi::xml_parse_result parsed = document_.load_file(
      file.c_str(), pugi::parse_default | pugi::parse_declaration | pugi::parse_comments);
  EXPECT_TRUE(parsed) << file << ": " << parsed.description();
}

pugi::xml_node ResultDocument::HorariosRegulares() const {
  return document_.select_node("/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq='HORARIOS_REGULARES']")
      .node();
}

std::vector<pugi::xml_node> ResultDocument::Teachers() const {
  std::vector<pugi::xml_node> teachers;
  for (pugi::xml_node group : HorariosRegulares().children("grupo_datos")) {
    teachers.push_back(group);
  }
  return teachers;
}

std::string Outline(const pugi::xml_node& node) {
  std::string outline = node.name();
  std::string attributes;
  for (pugi::xml_attribute attribute : node.attributes()) {
    attributes +=
        (attributes.empty() ? "" : ",") + std::string(attribute.name()) + "=" + attribute.value();
  }
  if (!attributes.empty()) outline += "[" + attributes + "]";
  std::string children;
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_pcdata) {
      outline += "(" + std::string(child.value()) + ")";
    } else {
      children += (children.empty() ? "" : ";") + Outline(child);
    }
  }
  if (!children.empty()) outline += "{" + children + "}";
  return outline;
}

std::vector<std::string> ActivityValues(const pugi::xml_node& activity) {
  static const std::vector<std::string> kNames = {
      "N_DIASEMANA", "X_TRAMO", "X_DEPENDENCIA", "X_UNIDAD", "X_OFERTAMATRIG", "X_MATERIAOMG",
      "F_INICIO",    "F_FIN",   "N_HORINI",      "N_HORFIN", "X_ACTIVIDAD"};
  std::vector<std::string> values;
  std::vector<std::string> names;
  for (pugi::xml_node dato : activity.children()) {
    names.push_back(std::string(dato.name()) + " " + dato.attribute("nombre_dato").value());
    values.push_back(dato.text().get());
    // A value without text is an element without a child.
    if (values.back().empty()) {
      EXPECT_FALSE(dato.first_child()) << Outline(activity);
    }
  }
  std::vector<std::string> expected_names;
  for (const auto& name : kNames) expected_names.push_back("dato " + name);
  EXPECT_EQ(names, expected_names) << Outline(activity);
  return values;
}

namespace {

// Windows has no setenv: _putenv_s sets, and an empty value removes.
void SetVariable(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value != nullptr ? value : "");
#else
  if (value != nullptr) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
#endif
}

}  // namespace

void ScopedEnvironment::Set(const char* name, const char* value) {
  if (saved_.find(name) == saved_.end()) {
    const char* old = std::getenv(name);
    saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
  }
  SetVariable(name, value);
  tzset();
}

ScopedEnvironment::~ScopedEnvironment() {
  for (const auto& [name, value] : saved_) {
    SetVariable(name.c_str(), value ? value->c_str() : nullptr);
  }
  tzset();
}

}  // namespace zentrova::testing
