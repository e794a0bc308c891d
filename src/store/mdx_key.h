#ifndef ZENTROVA_STORE_MDX_KEY_H_
#define ZENTROVA_STORE_MDX_KEY_H_

// Keys of the production index: a numeric key is the 12-byte BCD form built from the
// field's decimal text; a character key is the field's stored bytes.

#include <string>
#include <string_view>

namespace zentrova::store {

inline constexpr int kNumericKeyLength = 12;

// The BCD key of a number given as decimal text ("-123.45", blanks allowed); an empty or
// unreadable text is keyed as zero. At most 20 significant digits are kept.
std::string NumericKey(std::string_view decimal_text);

// Orders two numeric keys by the numbers they hold: <0, 0 or >0.
int CompareNumericKeys(std::string_view a, std::string_view b);

// Orders two character keys byte by byte (unsigned).
int CompareCharacterKeys(std::string_view a, std::string_view b);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_MDX_KEY_H_
