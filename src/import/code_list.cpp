#include "import/code_list.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include "text/integer.h"

namespace zentrova::import {
namespace {

// Full Unicode case folding: two texts are equal without regard to case exactly when their
// folded forms are equal.
std::u16string FoldCase(const std::u16string& text) {
  std::u16string folded(text.size() * 3 + 1, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      u_strFoldCase(folded.data(), static_cast<int32_t>(folded.size()), text.data(),
                    static_cast<int32_t>(text.size()), U_FOLD_CASE_DEFAULT, &status);
  if (U_FAILURE(status)) return text;
  folded.resize(static_cast<size_t>(length));
  return folded;
}

}  // namespace

std::u16string CodeList::Key(const std::u16string& code) const {
  return comparison_ == Comparison::kExact ? code : FoldCase(code);
}

bool CodeList::Contains(const std::u16string& code) const { return keys_.count(Key(code)) > 0; }

void CodeList::Add(const std::u16string& code) { keys_.insert(Key(code)); }

std::u16string CodeList::MakeUnique(const std::u16string& code) const {
  if (!Contains(code)) return code;
  long long& start = first_free_suffix_.try_emplace(Key(code), 1).first->second;
  for (long long suffix = start;; ++suffix) {
    std::u16string candidate = code + text::IntegerText(suffix);
    if (!Contains(candidate)) {
      start = suffix;
      return candidate;
    }
  }
}

std::u16string FirstEightLastTwo(const std::u16string& code) {
  if (code.size() <= 10) return code;
  return code.substr(0, 8) + code.substr(code.size() - 2);
}

}  // namespace zentrova::import
