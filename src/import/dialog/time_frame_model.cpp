#include "import/dialog/time_frame_model.h"

#include "import/exchange_document.h"
#include "text/clipper.h"

namespace zentrova::import {

TimeFrameModel::TimeFrameModel(std::filesystem::path export_file, const xml::Document* loaded)
    : export_file_(std::move(export_file)), loaded_(loaded) {}

TimeFrameModel::~TimeFrameModel() = default;

void TimeFrameModel::FormActivate() {
  // The run's document, while it holds the file as it is, is what loading it would give:
  // a large export is not parsed, and held, twice.
  if (loaded_ && loaded_->HoldsFile(export_file_)) {
    own_document_.reset();
    document_ = loaded_;
    load_failed_ = false;
  } else {
    own_document_ = std::make_unique<xml::Document>();
    document_ = own_document_.get();
    try {
      load_failed_ = !own_document_->Load(export_file_).well_formed;
    } catch (const Error&) {
      load_failed_ = true;  // the lists stay empty: no valid answer, the view offers a way out
    }
  }
  const std::vector<Record> records = ReadGroup(*document_, kJornadasEscolares);
  if (records.size() > 1) {
    frames_.clear();
    for (const Record& record : records) frames_.push_back(record.Raw(jornadas_escolares::kCode));
  }
  current_ = frames_.empty() ? -1 : 0;
  ComboBoxPlantillaChange();
}

std::u16string TimeFrameModel::CurrentFrameCode() const {
  return current_ >= 0 && current_ < static_cast<int>(frames_.size()) ? frames_[current_]
                                                                      : std::u16string();
}

void TimeFrameModel::ComboBoxPlantillaChange() {
  const std::u16string current = CurrentFrameCode();
  name_ = start_ = end_ = u"-";
  const std::vector<Record> records = ReadGroup(*document_, kJornadasEscolares);
  if (records.size() > 1) {
    // Every record is visited: when several match, the last one's texts remain.
    for (const Record& record : records) {
      if (record.Raw(jornadas_escolares::kCode) != current) continue;
      name_ = record.Raw(jornadas_escolares::kName);
      start_ = record.Raw(jornadas_escolares::kStart);
      end_ = record.Raw(jornadas_escolares::kEnd);
    }
  }
  const std::vector<Record> slot_records = ReadGroup(*document_, kTramosHorarios);
  if (slot_records.size() > 1) {
    slots_.clear();
    for (const Record& slot : slot_records) {
      if (slot.Raw(tramos_horarios::kFrame) == current) {
        slots_.push_back(slot.Raw(tramos_horarios::kText));
      }
    }
  }
}

void TimeFrameModel::ListBox2Click(int focus_index) {
  current_ = focus_index;
  ComboBoxPlantillaChange();
}

TimeFrameModel::Closing TimeFrameModel::FormClose(const std::vector<bool>& selected) const {
  Closing closing;
  if (!CanChoose()) {
    closing.answer.abandon = true;
    return closing;
  }
  closing.answer = AnswerFor(frames_, selected);
  int count = 0;
  for (bool is_selected : selected) count += is_selected ? 1 : 0;
  if (count > 2) {
    closing.message = kTooManyFramesMessage;
  } else if (count < 1) {
    closing.message = kNoFrameMessage;
  }
  return closing;
}

FrameAnswer AnswerFor(const std::vector<std::u16string>& frames,
                      const std::vector<bool>& selected) {
  FrameAnswer answer;
  int count = 0;
  for (size_t i = 0; i < frames.size() && i < selected.size(); ++i) {
    if (!selected[i]) continue;
    ++count;
    answer.resultado += text::LeftChars(frames[i] + std::u16string(10, u' '), 10);
  }
  answer.valid = count >= 1 && count <= 2;
  return answer;
}

}  // namespace zentrova::import
