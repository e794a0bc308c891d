#include "import/preflight.h"

#include "import/exchange_document.h"
#include "import/time_slots.h"
#include "text/clipper.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::import {
namespace {

// "'x' is not a valid integer value", then where the value stands.
std::u16string NotAnInteger(const std::u16string& value, const std::filesystem::path& file,
                            std::u16string_view group, size_t record) {
  return text::Utf8ToUtf16(text::ConversionError(value).what()) + u"\r\n" + u"Archivo " +
         text::PathText(file) + u", grupo " + std::u16string(group) + u", registro " +
         text::IntegerText(static_cast<long long>(record + 1)) + u". " + kNothingChanged;
}

}  // namespace

std::optional<std::u16string> CheckExport(const xml::Document& document,
                                          const xml::LoadResult& load,
                                          const std::filesystem::path& file) {
  if (auto problem = EnvelopeProblem(document, load, file)) {
    return *problem + u" " + kNothingChanged;
  }
  if (ReadGroup(document, kJornadasEscolares).empty()) {
    return u"El archivo " + text::PathText(file) +
           u" no contiene ninguna jornada escolar (grupo JORNADAS_ESCOLARES): sin ella no se "
           u"pueden escribir los tramos horarios. " +
           kNothingChanged;
  }
  const std::vector<Record> courses = ReadGroup(document, kCursosDelCentro);
  for (size_t i = 0; i < courses.size(); ++i) {
    if (!courses[i].HasTwoValues()) continue;
    const std::u16string code = courses[i].Value(cursos_del_centro::kCode);
    if (!text::TryParseInteger(code)) return NotAnInteger(code, file, kCursosDelCentro, i);
  }
  return std::nullopt;
}

std::optional<std::u16string> CheckTimeSlots(const xml::Document& document,
                                             const ChosenFrames& frames,
                                             const std::filesystem::path& file) {
  const std::vector<Record> slots = ReadGroup(document, kTramosHorarios);
  for (size_t i = 0; i < slots.size(); ++i) {
    if (!IsSlotOfChosenFrames(slots[i], frames)) continue;
    // The end is converted first, as the week grid does.
    for (size_t position : {tramos_horarios::kEnd, tramos_horarios::kStart}) {
      const std::u16string value = PaddedMinutes(slots[i].Value(position));
      if (!text::TryParseInteger(value)) return NotAnInteger(value, file, kTramosHorarios, i);
    }
  }
  return std::nullopt;
}

}  // namespace zentrova::import
