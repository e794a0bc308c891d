#include "xml/encoding_detection.h"

#include "text/encoding.h"

namespace zentrova::xml {
namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string DeclaredEncodingOf(std::string_view bytes) {
  if (!StartsWith(bytes, "<?xml") || bytes.size() < 6 || !IsXmlSpace(bytes[5])) return {};
  // The declaration ends at "?>"; a name longer than a line is not one we would know anyway.
  const size_t end = bytes.find("?>");
  const std::string_view declaration = bytes.substr(0, end == std::string_view::npos ? 1024 : end);
  size_t at = 5;
  while ((at = declaration.find("encoding", at)) != std::string_view::npos) {
    const bool after_space = IsXmlSpace(declaration[at - 1]);
    at += 8;
    if (!after_space) continue;
    size_t i = at;
    while (i < declaration.size() && IsXmlSpace(declaration[i])) ++i;
    if (i >= declaration.size() || declaration[i] != '=') continue;
    ++i;
    while (i < declaration.size() && IsXmlSpace(declaration[i])) ++i;
    if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\'')) continue;
    const char quote = declaration[i];
    const size_t close = declaration.find(quote, i + 1);
    if (close == std::string_view::npos) return {};
    return std::string(declaration.substr(i + 1, close - i - 1));
  }
  return {};
}

DetectedEncoding DetectEncoding(std::string_view bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return {"UTF-8", 3, false};
  if (StartsWith(bytes, std::string_view("\xFF\xFE\0\0", 4))) return {"UTF-32LE", 4, false};
  if (StartsWith(bytes, std::string_view("\0\0\xFE\xFF", 4))) return {"UTF-32BE", 4, false};
  if (StartsWith(bytes, "\xFF\xFE")) return {"UTF-16LE", 2, false};
  if (StartsWith(bytes, "\xFE\xFF")) return {"UTF-16BE", 2, false};
  if (StartsWith(bytes, std::string_view("<\0\0\0", 4))) return {"UTF-32LE", 0, false};
  if (StartsWith(bytes, std::string_view("\0\0\0<", 4))) return {"UTF-32BE", 0, false};
  if (StartsWith(bytes, std::string_view("<\0?\0", 4))) return {"UTF-16LE", 0, false};
  if (StartsWith(bytes, std::string_view("\0<\0?", 4))) return {"UTF-16BE", 0, false};
  if (StartsWith(bytes, "\x4C\x6F\xA7\x94")) {
    // "<?xm" in EBCDIC: the declaration is read in the common EBCDIC code page, and names the
    // exact one.
    const std::string declaration =
        text::Utf16ToUtf8(text::DecodeCodePage(bytes.substr(0, bytes.find('\x6E') + 1), "IBM037"));
    std::string named = DeclaredEncodingOf(declaration);
    return {named.empty() ? "IBM037" : std::move(named), 0, false};
  }
  std::string declared = DeclaredEncodingOf(bytes);
  if (declared.empty()) return {"UTF-8", 0, false};
  return {std::move(declared), 0, true};
}

}  // namespace zentrova::xml
