#ifndef ZENTROVA_IMPORT_SUBJECTS_H_
#define ZENTROVA_IMPORT_SUBJECTS_H_

// The subjects converter: MATERIAS of the export becomes ASIGNOMT, with the lists of names and
// codes it hands on to the activities converter.

#include <filesystem>
#include <string>
#include <vector>

#include "import/code_list.h"
#include "import/conversion_observer.h"
#include "store/table.h"
#include "xml/document.h"

namespace zentrova::import {

// The two lists the subjects converter fills and the activities converter ends: the
// upper-cased names already written and the codes already given, both case-sensitive.
struct SubjectLists {
  CodeList used_names{CodeList::Comparison::kExact};
  CodeList used_codes{CodeList::Comparison::kExact};
};

// ASIGNOMT: subjects and activities, in their stored order: COD, CODLARGO, NOMBRE (the name,
// kSubjectNameWidth characters), MATERIA, CODTAREA, ESTAREA (whether the row is an activity).
const std::vector<store::FieldDef>& AsignomtFields();
inline constexpr int kSubjectNameWidth = 80;

// The code and long code a subject's name gives before it is made unique.
struct SubjectCode {
  std::u16string code;       // at most 10 characters
  std::u16string long_code;  // CODLARGO, before the table cuts it to 10
};
SubjectCode BuildSubjectCode(const std::u16string& name);

// Re-creates ASIGNOMT with one row per distinct subject name of MATERIAS, in document order,
// each with a code made unique with a numeric suffix. `observer` hears what it does.
void ImportSubjects(const xml::Document& document, const std::filesystem::path& ktemp,
                    SubjectLists& lists, ConversionObserver& observer = IgnoreConversion());

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_SUBJECTS_H_
