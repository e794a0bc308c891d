#include "report/conversion_findings.h"

#include <algorithm>
#include <utility>

#include "report/wording.h"
#include "text/encoding.h"

namespace zentrova::report {
namespace {

using import::GroupReport;

std::u16string Ascii(const std::string& text) { return text::Utf8ToUtf16(text); }

std::u16string RecordLabel(size_t index) { return u"Registro " + Number(index + 1); }

std::u16string SkipText(import::SkipReason reason) {
  using import::SkipReason;
  switch (reason) {
    case SkipReason::kFewerThanTwoValues:
      return u"tiene menos de dos elementos dato";
    case SkipReason::kSubjectNameRepeated:
      return u"su nombre, en mayúsculas, repite el de una materia anterior";
    case SkipReason::kSubjectNotFound:
      return u"ninguna materia de ASIGNOMT tiene su nombre";
    case SkipReason::kSubjectWithoutCode:
      return u"la materia de su nombre tiene el código vacío";
    case SkipReason::kCourseWithoutGroups:
      return u"su curso no tiene ningún grupo en GRUPOST";
    case SkipReason::kFrameNotChosen:
      return u"su marco horario no está elegido";
    case SkipReason::kFrameCodeTooLong:
      return u"su código tiene más de 10 caracteres: un marco así no tiene fila en PERIODOS aunque "
             u"se elija";
  }
  return u"";
}

std::u16string CodeText(const import::ChangedCode& change) {
  const std::u16string what = Ascii(change.field) + u" " + Quoted(change.before);
  if (change.change == import::CodeChange::kSuffixed) {
    return what + u" ya estaba dado: lleva un número detrás, " + Quoted(change.after);
  }
  return what + u" tiene más de 10 caracteres: se acorta a los 8 primeros y los 2 últimos, " +
         Quoted(change.after);
}

std::u16string ValueText(const import::ChangedValue& change) {
  const import::AlteredValue& value = change.value;
  std::vector<std::u16string> causes;
  if (value.cut) causes.push_back(u"se corta a " + Count(value.width, u"carácter", u"caracteres"));
  if (!value.replaced.empty()) {
    std::vector<std::u16string> characters;
    for (const auto& character : value.replaced) characters.push_back(Quoted(character));
    causes.push_back(u"guarda «?» en lugar de " + Joined(characters, u", ") +
                     u", que la página de códigos de las tablas no tiene");
  }
  return Ascii(change.field) + u" " + Joined(causes, u" y ") + u": " + Quoted(value.given) +
         u" queda " + Quoted(value.stored);
}

std::u16string RepeatText(const import::RepeatedCode& repeat) {
  return Ascii(repeat.field) + u" " + Quoted(repeat.code) + u" es el mismo código que el del " +
         u"registro " + Number(repeat.earlier_record + 1) + u": la tabla lo tendrá dos veces";
}

std::u16string NoticeText(const import::Notice& notice) {
  if (notice.kind == import::NoticeKind::kCourseNotInLevelTable) {
    return u"su código no está en la tabla de niveles, así que lleva el nivel «Niv» y su nombre "
           u"como estudio; " +
           ValuesText(notice.values);
  }
  return u"su curso no está en CURSOST, así que el grupo queda sin nivel ni curso; " +
         ValuesText(notice.values);
}

// One line per finding, in record order; a record's findings in the order above.
std::vector<std::u16string> FindingLines(const GroupReport& group) {
  std::vector<std::pair<size_t, std::u16string>> lines;
  for (const auto& skip : group.skipped) {
    lines.emplace_back(skip.record,
                       u"no da fila: " + SkipText(skip.reason) + u"; " + ValuesText(skip.values));
  }
  for (const auto& notice : group.notices) lines.emplace_back(notice.record, NoticeText(notice));
  for (const auto& code : group.changed_codes) lines.emplace_back(code.record, CodeText(code));
  for (const auto& value : group.changed_values) lines.emplace_back(value.record, ValueText(value));
  for (const auto& repeat : group.repeated_codes) {
    lines.emplace_back(repeat.record, RepeatText(repeat));
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::u16string> texts;
  for (const auto& [record, line] : lines) {
    texts.push_back(RecordLabel(record) + u": " + line + u".");
  }
  return texts;
}

// A record of a time frame the user did not choose: left out as asked.
bool NotChosen(const import::SkippedRecord& skip) {
  return skip.reason == import::SkipReason::kFrameNotChosen;
}

// How many findings of one kind, and how a line of the summary names them.
struct KindCount {
  size_t count = 0;
  std::u16string one;
  std::u16string many;
};

}  // namespace

bool HasFindings(const std::vector<GroupReport>& groups) {
  return std::any_of(groups.begin(), groups.end(), [](const GroupReport& group) {
    const bool skipped =
        std::any_of(group.skipped.begin(), group.skipped.end(),
                    [](const import::SkippedRecord& skip) { return !NotChosen(skip); });
    return skipped || !group.changed_codes.empty() || !group.changed_values.empty() ||
           !group.repeated_codes.empty() || !group.notices.empty();
  });
}

std::vector<std::u16string> ConversionSummary(const std::vector<GroupReport>& groups) {
  KindCount skipped{0, u"registro no da fila", u"registros no dan fila"};
  KindCount not_chosen{0, u"registro no da fila porque su marco horario no está elegido",
                       u"registros no dan fila porque su marco horario no está elegido"};
  KindCount suffixed{0, u"código lleva un número detrás porque ya estaba dado",
                     u"códigos llevan un número detrás porque ya estaban dados"};
  KindCount shortened{0, u"código se acorta a sus 8 primeros y sus 2 últimos caracteres",
                      u"códigos se acortan a sus 8 primeros y sus 2 últimos caracteres"};
  KindCount cut{0, u"texto se corta al ancho de su campo",
                u"textos se cortan al ancho de su campo"};
  KindCount replaced{0, u"texto guarda «?» en lugar de algún carácter que las tablas no tienen",
                     u"textos guardan «?» en lugar de algún carácter que las tablas no tienen"};
  KindCount repeated{0, u"código queda dos veces en su tabla",
                     u"códigos quedan dos veces en su tabla"};
  KindCount not_in_levels{0, u"curso no está en la tabla de niveles y lleva el nivel «Niv»",
                          u"cursos no están en la tabla de niveles y llevan el nivel «Niv»"};
  KindCount without_course{
      0, u"grupo tiene un curso que no está en CURSOST y queda sin nivel ni curso",
      u"grupos tienen un curso que no está en CURSOST y quedan sin nivel ni "
      u"curso"};
  for (const GroupReport& group : groups) {
    for (const auto& skip : group.skipped) ++(NotChosen(skip) ? not_chosen : skipped).count;
    for (const auto& code : group.changed_codes) {
      ++(code.change == import::CodeChange::kSuffixed ? suffixed : shortened).count;
    }
    for (const auto& value : group.changed_values) {
      if (value.value.cut) ++cut.count;
      if (!value.value.replaced.empty()) ++replaced.count;
    }
    repeated.count += group.repeated_codes.size();
    for (const auto& notice : group.notices) {
      ++(notice.kind == import::NoticeKind::kCourseNotInLevelTable ? not_in_levels : without_course)
            .count;
    }
  }
  std::vector<std::u16string> lines;
  for (const KindCount* kind : {&skipped, &not_chosen, &suffixed, &shortened, &cut, &replaced,
                                &repeated, &not_in_levels, &without_course}) {
    if (kind->count > 0) lines.push_back(Count(kind->count, kind->one, kind->many) + u".");
  }
  if (lines.empty()) {
    lines.push_back(u"Cada registro da su fila y ningún valor cambia al guardarse.");
  }
  return lines;
}

std::vector<std::u16string> TableLines(const std::vector<GroupReport>& groups) {
  std::vector<std::u16string> lines;
  const GroupReport* previous = nullptr;
  for (const GroupReport& group : groups) {
    if (!previous || previous->table != group.table) {
      lines.emplace_back();
      lines.push_back(Ascii(group.table));
    }
    previous = &group;
    lines.push_back(u"  " + group.group + u": " + Count(group.records, u"registro", u"registros") +
                    u", " + Number(group.records_with_rows) +
                    (group.records_with_rows == 1 ? u" da fila." : u" dan fila."));
    for (const auto& line : FindingLines(group)) lines.push_back(u"    " + line);
  }
  return lines;
}

}  // namespace zentrova::report
