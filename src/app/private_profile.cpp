#include "app/private_profile.h"

#include <optional>
#include <vector>

namespace zentrova::app {
namespace {

// Works on the code units of the text, whatever their size: every character that matters to
// the format is ASCII, and every other unit passes through untouched (a surrogate, a byte of
// a UTF-8 sequence or of the ANSI code page).
template <typename Char>
class Profile {
 public:
  using View = std::basic_string_view<Char>;
  using Text = std::basic_string<Char>;

  static Text Widen(std::string_view ascii) { return Text(ascii.begin(), ascii.end()); }

  static View Trim(View text) {
    while (!text.empty() && text.front() == Char(' ')) text.remove_prefix(1);
    while (!text.empty() && text.back() == Char(' ')) text.remove_suffix(1);
    return text;
  }

  static bool EqualsIgnoringCaseAZ(View text, std::string_view ascii) {
    if (text.size() != ascii.size()) return false;
    const auto lower = [](char32_t ch) { return ch >= U'A' && ch <= U'Z' ? ch + 32 : ch; };
    for (size_t i = 0; i < text.size(); ++i) {
      const auto unit = static_cast<char32_t>(static_cast<std::make_unsigned_t<Char>>(text[i]));
      if (lower(unit) != lower(static_cast<unsigned char>(ascii[i]))) return false;
    }
    return true;
  }

  // One line of the file: its text and the line end that followed it ("", "\n" or "\r\n").
  struct Line {
    View text;
    View end;
  };

  static std::vector<Line> Lines(View content) {
    std::vector<Line> lines;
    while (!content.empty()) {
      const size_t newline = content.find(Char('\n'));
      if (newline == View::npos) {
        lines.push_back({content, {}});
        break;
      }
      const bool crlf = newline > 0 && content[newline - 1] == Char('\r');
      lines.push_back({content.substr(0, crlf ? newline - 1 : newline),
                       content.substr(crlf ? newline - 1 : newline, crlf ? 2 : 1)});
      content.remove_prefix(newline + 1);
    }
    return lines;
  }

  // The name of a section header line ("[name]"), or nothing.
  static std::optional<View> SectionName(View line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != Char('[')) return std::nullopt;
    const size_t close = line.find(Char(']'));
    if (close == View::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
  }

  static bool IsEntry(View line) {
    line = Trim(line);
    return !line.empty() && line.front() != Char(';') && line.front() != Char('#') &&
           line.find(Char('=')) != View::npos;
  }

  // Where the value of an entry line `key=...` begins, when the line sets `key`.
  static std::optional<size_t> ValueStart(View line, std::string_view key) {
    if (!IsEntry(line)) return std::nullopt;
    const size_t equals = line.find(Char('='));
    if (!EqualsIgnoringCaseAZ(Trim(line.substr(0, equals)), key)) return std::nullopt;
    // The value starts after the blanks that follow the '='; they stay as they were.
    const size_t value = line.find_first_not_of(Char(' '), equals + 1);
    return value == View::npos ? line.size() : value;
  }

  // A line as it is read: the first without the signature of a UTF-8 or UTF-16 text.
  static View Readable(const std::vector<Line>& lines, size_t i) {
    View text = lines[i].text;
    if (i != 0) return text;
    if constexpr (sizeof(Char) == 1) {
      const View signature(reinterpret_cast<const Char*>("\xEF\xBB\xBF"), 3);
      if (text.starts_with(signature)) text.remove_prefix(signature.size());
    } else {
      if (!text.empty() && text.front() == Char(0xFEFF)) text.remove_prefix(1);
    }
    return text;
  }

  static Text WithValue(View content, std::string_view section, std::string_view key,
                        std::string_view value) {
    const std::vector<Line> lines = Lines(content);
    const bool crlf =
        content.find(Widen("\r\n")) != View::npos || content.find(Char('\n')) == View::npos;
    const Text eol = Widen(crlf ? "\r\n" : "\n");
    const Text entry = Widen(key) + Char('=') + Widen(value);

    // The section's header and last entry, and the key's line, if the file has them.
    std::optional<size_t> header;
    std::optional<size_t> last_entry;
    std::optional<size_t> key_line;
    std::optional<size_t> key_value;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (const auto name = SectionName(Readable(lines, i))) {
        if (header) break;  // the section ended; a later one of the same name is not read
        if (EqualsIgnoringCaseAZ(*name, section)) header = i;
        continue;
      }
      if (!header) continue;
      if (IsEntry(lines[i].text)) last_entry = i;
      if (!key_line) {
        if (const auto start = ValueStart(lines[i].text, key)) {
          key_line = i;
          key_value = start;
        }
      }
    }

    Text out;
    out.reserve(content.size() + entry.size() + section.size() + 8);
    for (size_t i = 0; i < lines.size(); ++i) {
      if (key_line && i == *key_line) {
        out.append(lines[i].text.substr(0, *key_value)).append(Widen(value)).append(lines[i].end);
        continue;
      }
      out.append(lines[i].text).append(lines[i].end);
      if (!key_line && header && i == last_entry.value_or(*header)) {
        if (lines[i].end.empty()) out.append(eol);  // the file ended without a line end
        out.append(entry).append(lines[i].end.empty() ? eol : Text(lines[i].end));
      }
    }
    if (!header) {
      if (!out.empty() && out.back() != Char('\n')) out.append(eol);
      out.append(Widen("[")).append(Widen(section)).append(Widen("]")).append(eol);
      out.append(entry).append(eol);
    }
    return out;
  }
};

enum class ByteOrder { kLittle, kBig };

// The file's UTF-16 byte order, or nothing when it is one-byte text. A file begins with a
// byte-order mark, or (without one) with an ASCII character, '[' or ';' in practice, whose
// high byte is zero.
std::optional<ByteOrder> Utf16Order(std::string_view file) {
  if (file.size() < 2) return std::nullopt;
  const auto first = static_cast<unsigned char>(file[0]);
  const auto second = static_cast<unsigned char>(file[1]);
  if ((first == 0xFF && second == 0xFE) || (first != 0 && second == 0)) return ByteOrder::kLittle;
  if ((first == 0xFE && second == 0xFF) || (first == 0 && second != 0)) return ByteOrder::kBig;
  return std::nullopt;
}

std::u16string DecodeUnits(std::string_view file, ByteOrder order) {
  std::u16string units(file.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    const auto low =
        static_cast<unsigned char>(file[2 * i + (order == ByteOrder::kLittle ? 0 : 1)]);
    const auto high =
        static_cast<unsigned char>(file[2 * i + (order == ByteOrder::kLittle ? 1 : 0)]);
    units[i] = static_cast<char16_t>(high << 8 | low);
  }
  return units;
}

std::string EncodeUnits(std::u16string_view units, ByteOrder order) {
  std::string file;
  file.reserve(units.size() * 2);
  for (const char16_t unit : units) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    file += order == ByteOrder::kLittle ? low : high;
    file += order == ByteOrder::kLittle ? high : low;
  }
  return file;
}

}  // namespace

std::string WithProfileValue(std::string_view content, std::string_view section,
                             std::string_view key, std::string_view value) {
  return Profile<char>::WithValue(content, section, key, value);
}

std::u16string WithProfileValue(std::u16string_view content, std::string_view section,
                                std::string_view key, std::string_view value) {
  return Profile<char16_t>::WithValue(content, section, key, value);
}

std::string ProfileFileWithValue(std::string_view file, std::string_view section,
                                 std::string_view key, std::string_view value) {
  const std::optional<ByteOrder> order = Utf16Order(file);
  if (!order) return WithProfileValue(file, section, key, value);
  const std::u16string changed = WithProfileValue(DecodeUnits(file, *order), section, key, value);
  // A stray last byte of a file of odd length stays where it was, at the end.
  return EncodeUnits(changed, *order) + std::string(file.substr(file.size() & ~size_t{1}));
}

}  // namespace zentrova::app
