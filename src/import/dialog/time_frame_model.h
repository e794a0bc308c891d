#ifndef ZENTROVA_IMPORT_DIALOG_TIME_FRAME_MODEL_H_
#define ZENTROVA_IMPORT_DIALOG_TIME_FRAME_MODEL_H_

// The logic of the time-frame dialog (TPlantillas) without any toolkit. The dialog reads the
// export by itself, lists the frame codes, shows the details of the frame last clicked and,
// at closing, builds the answer: each selected code in a field of exactly 10 characters, in
// list order. The window's view and the command line both use it.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "import/frame_choice.h"
#include "xml/document.h"

namespace zentrova::import {

inline constexpr char16_t kTooManyFramesMessage[] =
    u"Demasiados Marcos Horarios seleccionados.\r\n"
    u"Como máximo puede seleccionar 2 Marcos Horarios";
inline constexpr char16_t kNoFrameMessage[] = u"Debe al menos seleccionar 1 Marco Horario.";

class TimeFrameModel {
 public:
  // `loaded`, when given, is the document the run loaded from `export_file`: activation reads
  // it instead of loading the file again while the file is unchanged since.
  explicit TimeFrameModel(std::filesystem::path export_file, const xml::Document* loaded = nullptr);
  ~TimeFrameModel();

  // FormActivate: loads the export again into a document of its own (or reads `loaded`, the
  // same bytes already loaded); with more than one
  // frame record fills the frame list (ListBox2 and the hidden ComboBoxPlantilla) with their
  // codes; selects item 0 of the hidden list and refreshes. A file that cannot be read or is
  // not well formed leaves the lists as they are (load_failed() tells).
  void FormActivate();
  // ComboBoxPlantillaChange: shows the current frame's name, dates and slot texts.
  void ComboBoxPlantillaChange();
  // ListBox2Click: `focus_index` is the item just clicked, selected or deselected.
  void ListBox2Click(int focus_index);

  struct Closing {
    FrameAnswer answer;
    std::u16string message;  // to show before the dialog closes; empty when none
  };
  // FormClose, with the selection state of each frame-list item. When no valid answer is
  // possible (CanChoose() is false) the answer gives the run up, with no message.
  Closing FormClose(const std::vector<bool>& selected) const;

  // The frame codes of ListBox2 (and ComboBoxPlantilla), in document order, untrimmed.
  const std::vector<std::u16string>& frames() const { return frames_; }
  int current_frame() const { return current_; }                       // -1 when none is selected
  const std::u16string& name_label() const { return name_; }           // LabelNombre
  const std::u16string& start_date_label() const { return start_; }    // LabelPlanFec1
  const std::u16string& end_date_label() const { return end_; }        // LabelPlanFec2
  const std::vector<std::u16string>& slots() const { return slots_; }  // ListBox1
  bool load_failed() const { return load_failed_; }
  // False when no valid answer is possible: the dialog then offers a way out.
  bool CanChoose() const { return !frames_.empty(); }

 private:
  std::u16string CurrentFrameCode() const;

  std::filesystem::path export_file_;
  const xml::Document* loaded_;
  std::unique_ptr<xml::Document> own_document_;
  const xml::Document* document_ = nullptr;  // loaded_ or own_document_
  bool load_failed_ = false;
  std::vector<std::u16string> frames_;
  int current_ = -1;
  std::u16string name_ = u"-";
  std::u16string start_ = u"-";
  std::u16string end_ = u"-";
  std::vector<std::u16string> slots_;
};

// The answer the dialog gives for the selected items, in list order: each item's text
// followed by ten spaces and cut to 10 characters; valid with one or two items.
FrameAnswer AnswerFor(const std::vector<std::u16string>& frames, const std::vector<bool>& selected);

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_DIALOG_TIME_FRAME_MODEL_H_
