// The review's report in plain Spanish: the verdict, the time frames, then table by table
// each data group with its counts and one line per finding, in record order.

#include <string>
#include <vector>

#include "cli/review.h"
#include "report/conversion_findings.h"
#include "report/wording.h"
#include "text/encoding.h"

namespace zentrova::cli {
namespace {

using report::Count;
using report::Joined;
using report::Number;
using report::Quoted;

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
  for (const auto& line : report::Lines(*review.stop)) AddLine(text, 2, line);
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

}  // namespace

std::u16string ReviewText(const Review& review) {
  std::u16string text = u"Revisión de " + text::PathText(review.file) + u"\n";
  AddVerdict(text, review);
  if (!review.frames.empty()) AddFrames(text, review);
  for (const auto& line : report::TableLines(review.groups)) AddLine(text, 0, line);
  return text;
}

}  // namespace zentrova::cli
