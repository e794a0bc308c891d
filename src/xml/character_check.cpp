#include "xml/character_check.h"

#include <cstdint>
#include <cstdio>

namespace zentrova::xml {
namespace {

constexpr uint32_t kBeyondUnicode = 0x110000;

std::string CodePointName(uint32_t c) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

// The code point of the reference at `start` ("&#" found there), kBeyondUnicode for a number
// beyond it; nothing when no well-formed reference starts there.
std::optional<uint32_t> ReferencedCharacter(std::string_view utf8, size_t start, size_t& end) {
  size_t i = start + 2;
  const bool hex = i < utf8.size() && utf8[i] == 'x';
  if (hex) ++i;
  uint32_t value = 0;
  size_t digits = 0;
  for (; i < utf8.size(); ++i, ++digits) {
    const char c = utf8[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) break;
    value = value * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
    if (value >= kBeyondUnicode) value = kBeyondUnicode;  // no overflow, however long
  }
  if (digits == 0 || i >= utf8.size() || utf8[i] != ';') return std::nullopt;
  end = i + 1;
  return value;
}

}  // namespace

bool IsXmlCharacter(uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c < kBeyondUnicode);
}

std::optional<CharacterFault> ForbiddenCharacterAt(std::string_view utf8, size_t i) {
  constexpr char kNotAllowed[] = ", que XML no admite";
  const auto byte = static_cast<unsigned char>(utf8[i]);
  if (byte == 0) return CharacterFault{"carácter nulo", kNotAllowed};
  if (byte < 0x20 && !IsXmlCharacter(byte)) {
    return CharacterFault{"carácter de control " + CodePointName(byte), kNotAllowed};
  }
  // U+FFFE and U+FFFF are EF BF BE and EF BF BF.
  if (byte == 0xEF && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0xBF &&
      (static_cast<unsigned char>(utf8[i + 2]) & 0xFE) == 0xBE) {
    const uint32_t c = static_cast<unsigned char>(utf8[i + 2]) == 0xBE ? 0xFFFE : 0xFFFF;
    return CharacterFault{"carácter " + CodePointName(c), kNotAllowed};
  }
  return std::nullopt;
}

std::optional<CharacterFault> ForbiddenReferenceAt(std::string_view utf8, size_t i) {
  size_t end = i;
  const auto c = ReferencedCharacter(utf8, i, end);
  if (!c || IsXmlCharacter(*c)) return std::nullopt;
  const std::string reference(utf8.substr(i, end - i));
  const std::string what = *c == kBeyondUnicode ? "un número que no es ningún carácter"
                                                : "el carácter " + CodePointName(*c);
  return CharacterFault{"la referencia " + reference, " nombra " + what + ", que XML no admite"};
}

}  // namespace zentrova::xml
