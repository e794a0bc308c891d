// The review's report in plain Spanish: the verdict, the time frames, then table by table
// each data group with its counts and one line per finding, in record order.

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "cli/review.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::cli {
namespace {

using import::GroupReport;

std::u16string Number(size_t n) { return text::IntegerText(static_cast<long long>(n)); }
std::u16string Quoted(const std::u16string& text) { return u"«" + text + u"»"; }
std::u16string Ascii(const std::string& text) { return text::Utf8ToUtf16(text); }

// "1 registro" / "3 registros".
std::u16string Count(size_t n, const std::u16string& one, const std::u16string& many) {
  return Number(n) + u" " + (n == 1 ? one : many);
}

std::u16string Joined(const std::vector<std::u16string>& items, const std::u16string& separator) {
  std::u16string joined;
  for (const auto& item : items) joined += (joined.empty() ? u"" : separator) + item;
  return joined;
}

std::u16string ValuesText(const std::vector<std::u16string>& values) {
  if (values.empty()) return u"no tiene valores";
  std::vector<std::u16string> quoted;
  for (const auto& value : values) quoted.push_back(Quoted(value));
  return u"sus valores: " + Joined(quoted, u", ");
}

// Records are counted from 1, as the conversion's messages count them.
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
  for (const auto& [record, line] : lines)
    texts.push_back(RecordLabel(record) + u": " + line + u".");
  return texts;
}

// The lines of a message: "\r\n" and "\n" both end one.
std::vector<std::u16string> Lines(const std::u16string& message) {
  std::vector<std::u16string> lines;
  for (size_t start = 0;;) {
    const size_t end = message.find(u'\n', start);
    std::u16string line = message.substr(start, end == std::u16string::npos ? end : end - start);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == std::u16string::npos) return lines;
    start = end + 1;
  }
}

void AddLine(std::u16string& text, size_t indent, const std::u16string& line) {
  text += std::u16string(indent, u' ') + line + u"\n";
}

void AddVerdict(std::u16string& text, const Review& review) {
  if (!review.stop) {
    AddLine(text, 0,
            u"La exportación se puede convertir (exportar terminaría con «Proceso "
            u"finalizado»).");
    return;
  }
  AddLine(text, 0, u"La conversión se pararía con este mensaje:");
  for (const auto& line : Lines(*review.stop)) AddLine(text, 2, line);
}

void AddFrames(std::u16string& text, const Review& review) {
  AddLine(text, 0, u"");
  AddLine(text, 0, u"Marcos horarios (JORNADAS_ESCOLARES): " + Number(review.frames.size()));
  std::vector<std::u16string> choices;
  for (const FrameSummary& frame : review.frames) {
    AddLine(text, 2,
            Quoted(frame.code) + u" " + frame.name + u", del " + frame.start + u" al " + frame.end +
                u"; " + Count(frame.slots.size(), u"tramo", u"tramos") +
                (frame.slots.empty() ? u"" : u": " + Joined(frame.slots, u", ")));
    if (frame.marcos) choices.push_back(*frame.marcos);
  }
  if (review.frames.size() == 1) {
    AddLine(text, 2, u"Con un solo marco no hay que elegir: --marcos no hace falta.");
  } else if (!choices.empty()) {
    AddLine(text, 2,
            u"Con --marcos se eligen uno o dos, separados por una coma, de: " +
                Joined(choices, u", ") + u".");
  }
  if (review.chosen) {
    std::u16string chosen = Quoted(review.chosen->a);
    if (!review.chosen->b.empty()) chosen += u" y " + Quoted(review.chosen->b);
    AddLine(text, 2, u"Elegidos: " + chosen + u".");
  }
}

void AddTables(std::u16string& text, const Review& review) {
  const GroupReport* previous = nullptr;
  for (const GroupReport& group : review.groups) {
    if (!previous || previous->table != group.table) {
      AddLine(text, 0, u"");
      AddLine(text, 0, Ascii(group.table));
    }
    previous = &group;
    AddLine(text, 2,
            group.group + u": " + Count(group.records, u"registro", u"registros") + u", " +
                Number(group.records_with_rows) +
                (group.records_with_rows == 1 ? u" da fila." : u" dan fila."));
    for (const auto& line : FindingLines(group)) AddLine(text, 4, line);
  }
}

}  // namespace

std::u16string ReviewText(const Review& review) {
  std::u16string text = u"Revisión de " + text::PathText(review.file) + u"\n";
  AddVerdict(text, review);
  if (!review.frames.empty()) AddFrames(text, review);
  AddTables(text, review);
  return text;
}

}  // namespace zentrova::cli
