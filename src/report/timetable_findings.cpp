#include "report/timetable_findings.h"

#include "export/activity_record.h"
#include "report/wording.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::report {
namespace {

using timetable_export::FindingKind;
using timetable_export::SolutionRow;
using timetable_export::TeacherRecord;
using timetable_export::TimetableFinding;

constexpr FindingKind kKinds[] = {FindingKind::kUnknownTeacher, FindingKind::kRepeatedTeacher,
                                  FindingKind::kSlotNotFound, FindingKind::kGroupNotFound,
                                  FindingKind::kAssignmentNotFound};

// How a kind is named: its heading, and its line of the summary for one and for many.
struct KindWords {
  std::u16string heading;
  std::u16string one;
  std::u16string many;
};

KindWords WordsOf(FindingKind kind) {
  switch (kind) {
    case FindingKind::kUnknownTeacher:
      return {u"Profesor desconocido", u"lección no se escribe: su profesor no está en PROFT",
              u"lecciones no se escriben: su profesor no está en PROFT"};
    case FindingKind::kRepeatedTeacher:
      return {u"Profesor repetido",
              u"lección se escribe varias veces: su profesor está más de una vez en PROFT",
              u"lecciones se escriben varias veces: su profesor está más de una vez en PROFT"};
    case FindingKind::kSlotNotFound:
      return {u"Tramo no encontrado",
              u"lección va sin día, sin tramo y con las horas a 0: su tramo no está en DIASHORAST",
              u"lecciones van sin día, sin tramo y con las horas a 0: su tramo no está en "
              u"DIASHORAST"};
    case FindingKind::kGroupNotFound:
      return {u"Grupo no encontrado", u"lección va sin unidad: su grupo no está en GRUPOST",
              u"lecciones van sin unidad: su grupo no está en GRUPOST"};
    case FindingKind::kAssignmentNotFound:
      return {u"Asignación no encontrada",
              u"lección va sin materia ni curso: ASIGT no tiene su materia con su grupo",
              u"lecciones van sin materia ni curso: ASIGT no tiene su materia con su grupo"};
  }
  return {};
}

std::u16string TeacherText(const TeacherRecord& teacher) {
  std::u16string text = u"profesor " + Number(static_cast<size_t>(teacher.number));
  if (!teacher.name.empty()) text += u", " + teacher.name;
  return text;
}

std::u16string WhatHappened(const TimetableFinding& finding) {
  const SolutionRow& row = finding.row;
  switch (finding.kind) {
    case FindingKind::kUnknownTeacher: {
      std::u16string text =
          u"PROF " + Quoted(row.prof) + u" no es el ABREV de ningún profesor de PROFT";
      if (!finding.teachers.empty()) {
        const TeacherRecord& close = finding.teachers.front();
        text += u"; se parece a " + Quoted(close.code) + u" (" + TeacherText(close) +
                u"), que solo cambia en mayúsculas o espacios";
      }
      return text + u": la lección no se escribe";
    }
    case FindingKind::kRepeatedTeacher: {
      std::vector<std::u16string> teachers;
      for (const TeacherRecord& teacher : finding.teachers)
        teachers.push_back(TeacherText(teacher));
      return u"PROF " + Quoted(row.prof) + u" es el ABREV de " + Number(finding.teachers.size()) +
             u" profesores de PROFT (" + Joined(teachers, u"; ") + u"): la lección se escribe " +
             Number(finding.teachers.size()) + u" veces";
    }
    case FindingKind::kSlotNotFound:
      return u"ningún tramo de DIASHORAST tiene DIHO " + Quoted(timetable_export::SlotKey(row)) +
             u" y MARCO " + Quoted(timetable_export::FrameMark(row)) +
             u": la lección va sin día, sin tramo y con las horas a 0";
    case FindingKind::kGroupNotFound:
      return u"CODGRUPO " + Quoted(row.codgrupo) +
             u" no es el ABREV de ningún grupo de GRUPOST: la lección va sin unidad";
    case FindingKind::kAssignmentNotFound:
      return u"ningún registro de ASIGT tiene CASIG " + Quoted(row.asig) + u" y CGRUP " +
             Quoted(row.codgrupo) + u": la lección va sin materia ni curso";
  }
  return u"";
}

std::u16string ValuesOf(const SolutionRow& row) {
  std::vector<std::u16string> values;
  for (const auto& [field, value] : RowValues(row)) {
    values.push_back(text::Utf8ToUtf16(field) + u" " + Quoted(value));
  }
  return u"sus valores: " + Joined(values, u", ");
}

size_t CountOf(const timetable_export::TimetableReport& report, FindingKind kind) {
  size_t count = 0;
  for (const TimetableFinding& finding : report.findings()) count += finding.kind == kind;
  return count;
}

}  // namespace

const char* FindingWord(FindingKind kind) {
  switch (kind) {
    case FindingKind::kUnknownTeacher:
      return "profesor_desconocido";
    case FindingKind::kRepeatedTeacher:
      return "profesor_repetido";
    case FindingKind::kSlotNotFound:
      return "tramo_no_encontrado";
    case FindingKind::kGroupNotFound:
      return "grupo_no_encontrado";
    case FindingKind::kAssignmentNotFound:
      return "asignacion_no_encontrada";
  }
  return "";
}

std::vector<std::pair<std::string, std::u16string>> RowValues(const SolutionRow& row) {
  const std::optional<int32_t> hora = row.hora.Value();
  return {
      {"PROF", row.prof},   {"DIA", row.dia_text}, {"HORA", hora ? text::IntegerText(*hora) : u""},
      {"MARCO", row.marco}, {"ASIG", row.asig},    {"CODGRUPO", row.codgrupo},
      {"TAREA", row.tarea}, {"AULA", row.aula}};
}

std::vector<std::u16string> TimetableSummary(const timetable_export::TimetableReport& report) {
  std::vector<std::u16string> lines = {
      u"Filas de SOLUC: " + Number(report.rows()) + u", de ellas " +
          Number(report.rows_without_day()) + u" sin día (no se exportan).",
      u"Lecciones escritas en el documento: " + Number(report.lessons_written()) + u".",
      u"Profesores de PROFT sin ninguna lección: " + Number(report.teachers_without_lessons()) +
          u"."};
  for (FindingKind kind : kKinds) {
    const KindWords words = WordsOf(kind);
    if (const size_t count = CountOf(report, kind)) {
      lines.push_back(Count(count, words.one, words.many) + u".");
    }
  }
  if (report.findings().empty()) {
    lines.push_back(u"Cada lección se escribe una vez, con todos sus códigos, días y horas.");
  }
  return lines;
}

std::vector<std::u16string> FindingLines(const timetable_export::TimetableReport& report) {
  std::vector<std::u16string> lines;
  for (FindingKind kind : kKinds) {
    const size_t count = CountOf(report, kind);
    if (count == 0) continue;
    lines.emplace_back();
    lines.push_back(WordsOf(kind).heading + u" (" + text::Utf8ToUtf16(FindingWord(kind)) + u"): " +
                    Count(count, u"fila", u"filas"));
    for (const TimetableFinding& finding : report.findings()) {
      if (finding.kind != kind) continue;
      lines.push_back(u"  Fila " + Number(finding.row.record) + u": " + WhatHappened(finding) +
                      u"; " + ValuesOf(finding.row) + u".");
    }
  }
  return lines;
}

}  // namespace zentrova::report
