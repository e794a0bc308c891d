#include "import/conversion_observer.h"

namespace zentrova::import {

void ConversionObserver::CodeGiven(const Record& record, std::string_view field,
                                   const std::u16string& base, const std::u16string& unique,
                                   const std::u16string& code) {
  if (unique != base) CodeChanged(record, field, CodeChange::kSuffixed, base, unique);
  if (code != unique) CodeChanged(record, field, CodeChange::kShortened, unique, code);
}

ConversionObserver& IgnoreConversion() {
  static ConversionObserver ignoring;
  return ignoring;
}

bool HasTooFewValues(const Record& record, ConversionObserver& observer) {
  if (record.HasTwoValues()) return false;
  observer.RecordSkipped(record, SkipReason::kFewerThanTwoValues);
  return true;
}

}  // namespace zentrova::import
