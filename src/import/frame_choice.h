#ifndef ZENTROVA_IMPORT_FRAME_CHOICE_H_
#define ZENTROVA_IMPORT_FRAME_CHOICE_H_

// What the conversion needs of its surroundings to choose the time frames: one showing of
// the time-frame dialog. The window, the command line and tests implement it (through
// app::Host).

#include <filesystem>
#include <string>

#include "xml/document.h"

namespace zentrova::import {

// The answer of one showing of the time-frame dialog.
struct FrameAnswer {
  bool valid = false;        // resultMH = 1: one or two frames chosen
  std::u16string resultado;  // the chosen codes, 10 characters each, in list order
  // The dialog could not offer a choice (the export cannot be read again, no frame in it)
  // and the user asked to end the run; `valid` and `resultado` are then not used.
  bool abandon = false;
};

class FrameChooser {
 public:
  virtual ~FrameChooser() = default;
  // Shows the time-frame dialog once over `export_file`. The dialog reads the file itself,
  // but while it is unchanged since the run loaded it into `loaded` it reads `loaded` rather
  // than load the same bytes a second time (xml::Document::HoldsFile).
  virtual FrameAnswer ChooseTimeFrames(const std::filesystem::path& export_file,
                                       const xml::Document& loaded) = 0;
};

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_FRAME_CHOICE_H_
