#ifndef ZENTROVA_TEXT_INTEGER_H_
#define ZENTROVA_TEXT_INTEGER_H_

// Whole numbers in text, read strictly, and the error a text that is not one raises.

#include <cstdint>
#include <optional>
#include <string>

#include "error.h"

namespace zentrova::text {

// A text that should have been a whole number. The message is the conversion's own:
// "'%s' is not a valid integer value", with the text in place of %s.
class ConversionError : public Error {
 public:
  explicit ConversionError(const std::u16string& text);
  // The same message, then on a second line where the text stands ("Tabla X, registro 2,
  // campo HORA.").
  ConversionError(const std::u16string& text, const std::u16string& where);
};

// A whole decimal number: an optional sign and at least one digit 0-9, nothing else (no
// blanks), within the 32-bit range. Gives nothing otherwise.
std::optional<int32_t> TryParseInteger(const std::u16string& text);

// As TryParseInteger, raising ConversionError for a text that is not one.
int32_t ParseInteger(const std::u16string& text);

// Decimal text of a whole number, without leading zeros.
std::u16string IntegerText(long long value);

}  // namespace zentrova::text

#endif  // ZENTROVA_TEXT_INTEGER_H_
