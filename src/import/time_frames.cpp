#include "import/time_frames.h"

#include "import/exchange_document.h"
#include "text/clipper.h"
#include "text/encoding.h"

namespace zentrova::import {
namespace {

std::u16string FrameCode(const std::u16string& field) {
  return text::AsCp1252(text::AllTrim(text::LeftChars(field, 10)));
}

}  // namespace

ChosenFrames SplitAnswer(const std::u16string& resultado) {
  if (resultado.size() == 20) {
    return ChosenFrames{FrameCode(resultado.substr(0, 10)), FrameCode(resultado.substr(10))};
  }
  return ChosenFrames{FrameCode(resultado), u""};
}

std::optional<ChosenFrames> ChooseFrames(const xml::Document& document, FrameChooser& chooser,
                                         const std::filesystem::path& export_file) {
  const std::vector<Record> frames = ReadGroup(document, kJornadasEscolares);
  if (frames.size() < 2) {
    // A single frame is taken as it is: its code is never split in two, whatever its length.
    return ChosenFrames{FrameCode(frames.at(0).Value(jornadas_escolares::kCode)), u""};
  }
  for (;;) {
    const FrameAnswer answer = chooser.ChooseTimeFrames(export_file, document);
    if (answer.abandon) return std::nullopt;
    if (answer.valid) return SplitAnswer(answer.resultado);
  }
}

}  // namespace zentrova::import
