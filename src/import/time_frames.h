#ifndef ZENTROVA_IMPORT_TIME_FRAMES_H_
#define ZENTROVA_IMPORT_TIME_FRAMES_H_

// The one or two time frames a conversion carries over. With a single frame record that
// frame is used; with two or more the user picks one or two in the time-frame dialog,
// shown again until the choice is valid.

#include <filesystem>
#include <optional>
#include <string>

#include "import/frame_choice.h"
#include "xml/document.h"

namespace zentrova::import {

// What a conversion says when it ends because no time frame was chosen.
inline constexpr char16_t kFramesNotChosenMessage[] =
    u"Conversión terminada sin elegir los marcos horarios.";

// Frame codes as the tables hold them (one byte per character, at most 10 characters).
// Frame A is the chosen frame listed first in the export; B is empty with one frame.
struct ChosenFrames {
  std::u16string a;
  std::u16string b;
};

// Splits the dialog's answer: 20 characters hold two fields of 10, anything else one.
ChosenFrames SplitAnswer(const std::u16string& resultado);

// The frames of the conversion; nothing when the user ended the run in the dialog. Needs at
// least one JORNADAS_ESCOLARES record.
std::optional<ChosenFrames> ChooseFrames(const xml::Document& document, FrameChooser& chooser,
                                         const std::filesystem::path& export_file);

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_TIME_FRAMES_H_
