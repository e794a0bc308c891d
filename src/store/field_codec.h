#ifndef ZENTROVA_STORE_FIELD_CODEC_H_
#define ZENTROVA_STORE_FIELD_CODEC_H_

// One field's bytes inside a record, by type letter and flavour: decoding to the forms
// the cursor gives, and encoding the values it is set from. Encoding raises store::Error
// naming the field and `file` when the value does not suit the field or does not fit it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "store/dbf_header.h"

namespace zentrova::store {

// Everything that decides how a field's bytes read: its layout, the file's family and the
// code page of its text.
struct FieldContext {
  const FieldLayout& field;
  Flavour flavour;
  const std::string& code_page;
  const std::filesystem::path& file;
};

// Text of the value: C without trailing blanks; numbers without padding or trailing zeros
// of the fraction ("4", "2.5"); L "T"/"F"/""; D "YYYY-MM-DD"; @ and T
// "YYYY-MM-DD HH:MM:SS"; memo fields ""; blank fields "".
std::u16string DecodeText(std::string_view raw, const FieldContext& context);

// The number a numeric field (N F I + O B Y) holds; nothing when blank. For a text field,
// the number its text reads as, if any.
std::optional<double> DecodeNumber(std::string_view raw, const FieldContext& context);

// True for the fields that store a number (N F I + O B Y).
bool IsNumeric(const FieldContext& context);

// The bytes of an empty field: blanks, or zeros for the binary types.
std::string BlankBytes(const FieldContext& context);

std::string EncodeText(std::u16string_view value, const FieldContext& context);
std::string EncodeInteger(long long value, const FieldContext& context);
std::string EncodeFloat(double value, const FieldContext& context);
std::string EncodeLogical(bool value, const FieldContext& context);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_FIELD_CODEC_H_
