#ifndef ZENTROVA_TEXT_LETTER_CASE_H_
#define ZENTROVA_TEXT_LETTER_CASE_H_

// Letter case: the plain A-to-Z rules file and field names follow, and Unicode case folding for
// people's names.

#include <string>
#include <string_view>

namespace zentrova::text {

// Upper-cases the letters a to z only; every other character, accented letters included,
// stays as it is. Never locale-dependent.
std::u16string UpperAZ(std::u16string text);
// The same for 8-bit names (field, tag and file names).
std::string UpperAZ(std::string text);
// The first character upper-cased when it is a letter a to z: the start of a sentence.
std::string UpperFirstAZ(std::string text);
// Lower-cases the letters A to Z only.
std::string LowerAZ(std::string text);
// Equality of 8-bit names without regard to the case of the letters A to Z only.
bool EqualsIgnoringCaseAZ(std::string_view a, std::string_view b);

// Unicode full case folding: two texts are equal without regard to letter case, accented
// letters included, exactly when their folded forms are equal ("Ruiz" and "RUIZ", "Ángel"
// and "ángel").
std::u16string FoldCase(std::u16string_view text);

}  // namespace zentrova::text

#endif  // ZENTROVA_TEXT_LETTER_CASE_H_
