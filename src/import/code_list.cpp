#include "import/code_list.h"

#include "text/integer.h"
#include "text/letter_case.h"

namespace zentrova::import {
std::u16string CodeList::Key(const std::u16string& code) const {
  return comparison_ == Comparison::kExact ? code : text::FoldCase(code);
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
