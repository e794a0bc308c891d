#include "text/letter_case.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

namespace zentrova::text {

std::u16string UpperAZ(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return text;
}

std::string UpperFirstAZ(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
  }
  return text;
}

std::string UpperAZ(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string LowerAZ(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool EqualsIgnoringCaseAZ(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) {
      return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::u16string FoldCase(std::u16string_view text) {
  std::u16string folded(text.size() * 3 + 1, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      u_strFoldCase(folded.data(), static_cast<int32_t>(folded.size()), text.data(),
                    static_cast<int32_t>(text.size()), U_FOLD_CASE_DEFAULT, &status);
  if (U_FAILURE(status)) return std::u16string(text);
  folded.resize(static_cast<size_t>(length));
  return folded;
}

}  // namespace zentrova::text
