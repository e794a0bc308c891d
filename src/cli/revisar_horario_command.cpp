// zentrova-cli revisar-horario: what `importar` would do with the exchange folder, told row by
// row of SOLUC, with nothing written. Exit status 0 when importar would complete, 1 when it
// would stop, 3 when an error ends the review (as importar's).

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "app/timetable_review.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/run_options.h"
#include "report/timetable_findings.h"
#include "report/wording.h"
#include "text/encoding.h"

namespace zentrova::cli {
namespace {

using Json = nlohmann::ordered_json;
using timetable_export::FindingKind;
using timetable_export::TeacherRecord;

struct RevisarHorarioOptions {
  std::string file;
  std::string ktemp;
  bool json = false;
};

std::string Utf8(const std::u16string& text) { return text::Utf16ToUtf8(text); }

Json TeacherJson(const TeacherRecord& teacher) {
  return {
      {"numero", teacher.number}, {"abrev", Utf8(teacher.code)}, {"nombre", Utf8(teacher.name)}};
}

Json FindingJson(const timetable_export::TimetableFinding& finding) {
  Json values = Json::object();
  for (const auto& [field, value] : report::RowValues(finding.row)) values[field] = Utf8(value);
  Json json = {{"fila", finding.row.record},
               {"tipo", report::FindingWord(finding.kind)},
               {"valores", std::move(values)}};
  switch (finding.kind) {
    case FindingKind::kUnknownTeacher:
      json["parecido"] = finding.teachers.empty() ? Json() : TeacherJson(finding.teachers.front());
      break;
    case FindingKind::kRepeatedTeacher: {
      Json teachers = Json::array();
      for (const TeacherRecord& teacher : finding.teachers)
        teachers.push_back(TeacherJson(teacher));
      json["veces"] = finding.teachers.size();
      json["profesores"] = std::move(teachers);
      break;
    }
    default:
      break;
  }
  return json;
}

// {"archivo", "carpeta", "se_completa", "parada", "filas", "sin_dia", "escritas",
//  "profesores_sin_lecciones", "hallazgos": [{"fila", "tipo", "valores", ...}]}
std::string TimetableReviewJson(const app::TimetableReview& review) {
  const timetable_export::TimetableReport& findings = review.findings;
  Json list = Json::array();
  for (const auto& finding : findings.findings()) list.push_back(FindingJson(finding));
  const Json json = {{"archivo", text::PathUtf8(review.file)},
                     {"carpeta", text::PathUtf8(review.ktemp)},
                     {"se_completa", !review.stop},
                     {"parada", review.stop ? Json(Utf8(*review.stop)) : Json()},
                     {"filas", findings.rows()},
                     {"sin_dia", findings.rows_without_day()},
                     {"escritas", findings.lessons_written()},
                     {"profesores_sin_lecciones", findings.teachers_without_lessons()},
                     {"hallazgos", std::move(list)}};
  // Texts are valid UTF-8; a path that is not is shown with the replacement character.
  return json.dump(2, ' ', false, Json::error_handler_t::replace);
}

// The verdict, then the counts and the findings grouped by kind.
std::u16string TimetableReviewText(const app::TimetableReview& review) {
  std::u16string text = u"Revisión del horario de " + text::PathText(review.ktemp) + u" para " +
                        text::PathText(review.file) + u"\n";
  if (review.stop) {
    text += u"La importación se pararía con este mensaje:\n";
    for (const auto& line : report::Lines(*review.stop)) text += u"  " + line + u"\n";
    return text;
  }
  text +=
      u"La importación se puede hacer (importar terminaría con «Proceso finalizado»).\n\n"
      u"Resumen:\n";
  for (const auto& line : report::TimetableSummary(review.findings)) text += u"  " + line + u"\n";
  for (const auto& line : report::FindingLines(review.findings)) text += line + u"\n";
  return text;
}

int RunRevisarHorario(const RevisarHorarioOptions& options) {
  return RunReporting([&] {
    const app::TimetableReview review =
        app::ReviewTimetable(text::PathFromUtf8(options.file), ExchangeFolder(options.ktemp));
    if (options.json) {
      PrintLine(text::Utf8ToUtf16(TimetableReviewJson(review)));
    } else {
      std::u16string text = TimetableReviewText(review);
      text.pop_back();  // PrintLine ends the last line
      PrintLine(text);
    }
    return review.stop ? kExitStopped : kExitDone;
  });
}

}  // namespace

void AddRevisarHorarioCommand(CLI::App& app, int& exit_status) {
  auto options = std::make_shared<RevisarHorarioOptions>();
  CLI::App* command = app.add_subcommand(
      "revisar-horario",
      "Cuenta qué haría importar con el horario de Orbelin (SOLUC), fila a fila, sin escribir "
      "nada");
  command
      ->add_option("EXPORT.xml", options->file,
                   "Archivo XML exportado de Vetrana, el que se daría a importar")
      ->required();
  AddKtempOption(*command, options->ktemp);
  command->add_flag("--json", options->json, "Informe en JSON (UTF-8) para otros programas");
  command->callback([options, &exit_status] { exit_status = RunRevisarHorario(*options); });
}

}  // namespace zentrova::cli
