#ifndef ZENTROVA_IMPORT_CODE_LIST_H_
#define ZENTROVA_IMPORT_CODE_LIST_H_

// A converter's list of the codes it has given in a run, and the numeric-suffix rule that
// makes a code unique against it.

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace zentrova::import {

class CodeList {
 public:
  enum class Comparison {
    kExact,         // letter case significant
    kIgnoringCase,  // without regard to letter case, accented letters included
  };
  explicit CodeList(Comparison comparison) : comparison_(comparison) {}

  bool Contains(const std::u16string& code) const;
  // The form under which the list compares a code: two codes are the same when their keys are.
  std::u16string Key(const std::u16string& code) const;
  void Add(const std::u16string& code);
  void Clear() {
    keys_.clear();
    first_free_suffix_.clear();
  }

  // The code itself when the list does not hold it; else the code followed by the smallest
  // whole number 1, 2, 3, ... (decimal) that the list does not hold.
  std::u16string MakeUnique(const std::u16string& code) const;

 private:
  Comparison comparison_;
  std::unordered_set<std::u16string> keys_;
  // Per code (as a key), the suffix MakeUnique found last. The list only grows, so every
  // smaller suffix is still taken and the next search can start there.
  mutable std::unordered_map<std::u16string, long long> first_free_suffix_;
};

// A code longer than 10 characters becomes its first 8 characters followed by its last 2;
// a shorter one is returned as it is.
std::u16string FirstEightLastTwo(const std::u16string& code);

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_CODE_LIST_H_
