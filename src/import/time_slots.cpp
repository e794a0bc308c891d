#include "import/time_slots.h"

#include "import/exchange_document.h"
#include "import/row_writer.h"
#include "store/table.h"
#include "text/clipper.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::import {
namespace {

constexpr int kDays = 7;
// The width of a frame code in the tables, and so of a chosen frame.
constexpr size_t kFrameCodeWidth = 10;

std::u16string TwoDigits(long long value) {
  std::u16string digits = text::IntegerText(value);
  return digits.size() < 2 ? u"0" + digits : digits;
}

// The slots the grid takes, in document order; every day has the same.
std::vector<const Record*> SlotsOfChosenFrames(const std::vector<Record>& slots,
                                               const ChosenFrames& frames,
                                               ConversionObserver& observer) {
  std::vector<const Record*> chosen;
  for (const Record& slot : slots) {
    if (!IsSlotOfChosenFrames(slot, frames)) {
      observer.RecordSkipped(slot, SkipReason::kFrameNotChosen);
      continue;
    }
    chosen.push_back(&slot);
  }
  return chosen;
}

void WriteDay(RowWriter& grid, const std::vector<const Record*>& slots, const ChosenFrames& frames,
              int day) {
  int count_a = 0;
  int count_b = 0;
  const std::u16string day_text = text::IntegerText(day);
  for (const Record* slot : slots) {
    const std::u16string frame = SlotFrameCode(*slot);
    const std::u16string start = PaddedMinutes(slot->Value(tramos_horarios::kStart));
    const std::u16string end = PaddedMinutes(slot->Value(tramos_horarios::kEnd));
    const long long end_minutes = text::ParseInteger(end);
    const long long start_minutes = text::ParseInteger(start);
    grid.Append(*slot);
    // When both frames are the same, frame A takes the slot.
    const int number = frame == frames.a ? ++count_a : ++count_b;
    grid.SetText("DIHO", day_text + text::IntegerText(number));
    grid.SetText("HORA", text::IntegerText(number));
    grid.SetText("DIA", day_text);
    grid.SetText("TEXTOHOR", slot->Value(tramos_horarios::kText));
    grid.SetText("CODDIHO", slot->Value(tramos_horarios::kCode));
    grid.SetText("HORADESDE", ClockText(start_minutes));
    grid.SetText("HORAHASTA", ClockText(end_minutes));
    grid.SetText("MINUTOS", text::IntegerText(end_minutes - start_minutes));
    // The whole code, which the field cuts to the 10 characters the frames are compared on.
    grid.SetText("MARCOXML", slot->Value(tramos_horarios::kFrame));
    grid.Post();
  }
}

// The minutes a clock text of ClockText stands for: the hours before the colon, the minutes
// after it. Reading the hours up to the colon, rather than as two characters, keeps a start
// of 100 hours or more (or of -10 hours or less) a number instead of failing on ":0" once
// the grid has been written; for every other start it reads the same two characters.
long long ClockMinutes(const std::u16string& clock) {
  const size_t colon = clock.find(u':');
  const auto hours = text::TryParseInteger(clock.substr(0, colon));
  const auto minutes = text::TryParseInteger(
      colon == std::u16string::npos ? std::u16string() : clock.substr(colon + 1));
  return 60LL * hours.value_or(0) + minutes.value_or(0);
}

// Minutes after midnight of the first slot of day 1 of a frame, read back from its clock
// text; `otherwise` when the frame has no slot.
long long FirstStart(store::Table& grid, const std::u16string& frame, long long otherwise) {
  if (!grid.Locate("DIHO;MARCOXML", {u"11", frame})) return otherwise;
  return ClockMinutes(grid.AsText("HORADESDE"));
}

// MARCO 0 goes to the chosen frame that starts earlier on day 1; a tie goes to frame A.
void MarkFrames(store::Table& grid, const ChosenFrames& frames) {
  const bool a_first = FirstStart(grid, frames.a, 0) <= FirstStart(grid, frames.b, 1440);
  const int mark_a = a_first ? 0 : 1;
  const int mark_b = a_first ? 1 : 0;
  for (grid.First(); !grid.Eof(); grid.Next()) {
    const std::u16string frame = grid.AsText("MARCOXML");
    if (frame != frames.a && frame != frames.b) continue;
    grid.Edit();
    grid.SetInteger("MARCO", frame == frames.a ? mark_a : mark_b);
  }
}

void WritePeriods(const xml::Document& document, const std::filesystem::path& ktemp,
                  const ChosenFrames& frames, ConversionObserver& observer) {
  store::Table periods(ktemp, "PERIODOS.DBF");
  const std::vector<Record> records = ReadGroup(document, kJornadasEscolares);
  observer.GroupStarted("PERIODOS", kJornadasEscolares, records);
  periods.Open();
  RowWriter rows(periods, observer);
  for (const Record& record : records) {
    // The record's whole code is compared: a code cut to 10 characters for the grid differs.
    const std::u16string code = text::AsCp1252(record.Value(jornadas_escolares::kCode));
    if (code != frames.a && code != frames.b) {
      observer.RecordSkipped(record, code.size() > kFrameCodeWidth ? SkipReason::kFrameCodeTooLong
                                                                   : SkipReason::kFrameNotChosen);
      continue;
    }
    rows.Append(record);
    rows.SetText("CJORNADA", record.Value(jornadas_escolares::kCode));
    rows.SetText("JORNADA", record.Value(jornadas_escolares::kName));
    rows.SetText("FECINI", record.Value(jornadas_escolares::kStart));
    rows.SetText("FECFIN", record.Value(jornadas_escolares::kEnd));
    rows.Post();
  }
  periods.Close();
}

}  // namespace

const std::vector<store::FieldDef>& DiashorastFields() {
  using store::FieldKind;
  static const std::vector<store::FieldDef> fields = {
      {"DIHO", FieldKind::kText, 10},     {"CODDIHO", FieldKind::kText, 10},
      {"DIA", FieldKind::kText, 20},      {"TEXTODIA", FieldKind::kText, 20},
      {"HORA", FieldKind::kText, 8},      {"TEXTOHOR", FieldKind::kText, 15},
      {"HORADESDE", FieldKind::kText, 8}, {"HORAHASTA", FieldKind::kText, 8},
      {"MINUTOS", FieldKind::kText, 8},   {"MARCO", FieldKind::kText, 1},
      {"MARCOXML", FieldKind::kText, 10},
  };
  return fields;
}

const std::vector<store::FieldDef>& Diashorast2Fields() {
  static const std::vector<store::FieldDef> fields = [] {
    std::vector<store::FieldDef> with_order = DiashorastFields();
    with_order.push_back({"ORDEN", store::FieldKind::kWholeNumber, 0});
    return with_order;
  }();
  return fields;
}

const std::vector<store::FieldDef>& PeriodosFields() {
  using store::FieldKind;
  static const std::vector<store::FieldDef> fields = {
      {"CJORNADA", FieldKind::kText, 10},
      {"JORNADA", FieldKind::kText, 40},
      {"FECINI", FieldKind::kText, 10},
      {"FECFIN", FieldKind::kText, 10},
  };
  return fields;
}

std::u16string ClockText(long long minutes) {
  long long hours = minutes / 60;
  long long rest = minutes % 60;
  if (rest < 0) {  // floor division, so the minutes stay between 0 and 59
    rest += 60;
    --hours;
  }
  return TwoDigits(hours) + u":" + TwoDigits(rest);
}

std::u16string SlotFrameCode(const Record& slot) {
  return text::LeftChars(text::AsCp1252(slot.Value(tramos_horarios::kFrame)), kFrameCodeWidth);
}

bool IsSlotOfChosenFrames(const Record& slot, const ChosenFrames& frames) {
  const std::u16string frame = SlotFrameCode(slot);
  return frame == frames.a || frame == frames.b;
}

std::u16string PaddedMinutes(const std::u16string& value) {
  std::u16string padded = text::AllTrim(value);
  return padded.size() < 4 ? u"0" + padded : padded;
}

void ImportTimeSlots(const xml::Document& document, const std::filesystem::path& ktemp,
                     const ChosenFrames& frames, ConversionObserver& observer) {
  store::Table grid(ktemp, "DIASHORAST.DBF");
  grid.Create(DiashorastFields());
  grid.Open();
  store::Table(ktemp, "DIASHORAST2.DBF").Create(Diashorast2Fields(), {{"ORDEN", "ORDEN"}});
  store::Table(ktemp, "PERIODOS.DBF").Create(PeriodosFields());

  const std::vector<Record> records = ReadGroup(document, kTramosHorarios);
  observer.GroupStarted("DIASHORAST", kTramosHorarios, records);
  const std::vector<const Record*> slots = SlotsOfChosenFrames(records, frames, observer);
  RowWriter rows(grid, observer);
  for (int day = 1; day <= kDays; ++day) WriteDay(rows, slots, frames, day);
  MarkFrames(grid, frames);
  grid.Close();

  WritePeriods(document, ktemp, frames, observer);
}

}  // namespace zentrova::import
