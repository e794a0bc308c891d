#ifndef ZENTROVA_IMPORT_TIME_SLOTS_H_
#define ZENTROVA_IMPORT_TIME_SLOTS_H_

// The time slots converter: TRAMOS_HORARIOS of the chosen frames becomes the week grid
// DIASHORAST, with DIASHORAST2 and PERIODOS beside it, and the slot rules the rest of the
// program shares with it.

#include <filesystem>
#include <string>
#include <vector>

#include "import/conversion_observer.h"
#include "import/exchange_document.h"
#include "import/time_frames.h"
#include "store/table.h"
#include "xml/document.h"

namespace zentrova::import {

// DIASHORAST's fields in their stored order (DIHO, CODDIHO, DIA, TEXTODIA, HORA, TEXTOHOR,
// HORADESDE, HORAHASTA, MINUTOS, MARCO, MARCOXML).
const std::vector<store::FieldDef>& DiashorastFields();
// DIASHORAST2's fields: DIASHORAST's, then ORDEN.
const std::vector<store::FieldDef>& Diashorast2Fields();
// PERIODOS' fields in their stored order (CJORNADA, JORNADA, FECINI, FECFIN).
const std::vector<store::FieldDef>& PeriodosFields();

// Hours and minutes of a number of minutes after midnight, each with a leading 0 when it has
// one digit: 480 gives 08:00; no wrap at midnight (1500 gives 25:00).
std::u16string ClockText(long long minutes);

// A slot's start or end as the week grid reads it: trimmed, with one "0" put in front of a
// text shorter than 4 characters (so an empty text reads as 0).
std::u16string PaddedMinutes(const std::u16string& value);

// The frame code of a slot record as the grid holds it: one byte per character, at most 10.
std::u16string SlotFrameCode(const Record& slot);

// Whether the grid takes the slot: its frame code is one of the chosen frames.
bool IsSlotOfChosenFrames(const Record& slot, const ChosenFrames& frames);

// Writes the week grid DIASHORAST (every slot of the chosen frames on days 1 to 7, with the
// frame marks), the empty indexed DIASHORAST2 and PERIODOS. A start or
// end that is not a whole number raises text::ConversionError. `observer` hears what it does.
void ImportTimeSlots(const xml::Document& document, const std::filesystem::path& ktemp,
                     const ChosenFrames& frames, ConversionObserver& observer = IgnoreConversion());

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_TIME_SLOTS_H_
