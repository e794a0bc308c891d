#ifndef ZENTROVA_IMPORT_CONVERSION_OBSERVER_H_
#define ZENTROVA_IMPORT_CONVERSION_OBSERVER_H_

// What the converters do with the export's records, told as they do it: the records that give
// no row and why, the codes they change, the values a table holds differently from how they
// were set, and what they let through. A conversion ignores it (IgnoreConversion); a review of
// an export collects it. The converters report; they never ask the observer anything.

#include <string>
#include <string_view>
#include <vector>

#include "import/exchange_document.h"

namespace zentrova::import {

// Why a record gives no row of the table being written.
enum class SkipReason {
  kFewerThanTwoValues,   // fewer than two `dato` elements
  kSubjectNameRepeated,  // its name, upper-cased, is that of a subject written before
  kSubjectNotFound,      // teaching assignment: no subject row has its name
  kSubjectWithoutCode,   // teaching assignment: the subject row of its name has an empty code
  kCourseWithoutGroups,  // teaching assignment: no group belongs to its course
  kFrameNotChosen,       // time slot or time frame of a frame that was not chosen
  kFrameCodeTooLong,     // time frame whose code is longer than 10 characters: never a chosen one
};

enum class CodeChange {
  kSuffixed,   // a numeric suffix made it unique
  kShortened,  // longer than 10 characters: its first 8 and its last 2 were kept
};

// A text the table holds differently from how it was set.
struct AlteredValue {
  std::u16string given;   // as set
  std::u16string stored;  // as the table reads it back
  int width = 0;          // the field's width, in characters
  bool cut = false;       // the text was longer than the field
  // The characters the table's code page lacks, each once, in the order they appear (one may
  // be a surrogate pair); the table holds "?" in their place.
  std::vector<std::u16string> replaced;
};

class ConversionObserver {
 public:
  virtual ~ConversionObserver() = default;

  // A converter starts writing `table` (its name without extension) from `records`, the
  // records of `group`. Every report up to the next call is about these records.
  virtual void GroupStarted(std::string_view /*table*/, std::u16string_view /*group*/,
                            const std::vector<Record>& /*records*/) {}
  // A row of the table comes from `record` (once per row: a record may give several).
  virtual void RowAppended(const Record& /*record*/) {}
  virtual void RecordSkipped(const Record& /*record*/, SkipReason /*reason*/) {}
  // The converter changed the code it stores in `field`.
  virtual void CodeChanged(const Record& /*record*/, std::string_view /*field*/,
                           CodeChange /*change*/, const std::u16string& /*before*/,
                           const std::u16string& /*after*/) {}
  virtual void ValueAltered(const Record& /*record*/, std::string_view /*field*/,
                            const AlteredValue& /*value*/) {}
  // The code stored in `field` equals, as the converter compares codes, the one the row of
  // the record at `earlier_index` holds: the table now has it twice.
  virtual void CodeRepeated(const Record& /*record*/, std::string_view /*field*/,
                            const std::u16string& /*code*/, size_t /*earlier_index*/) {}
  // A course whose code the level table does not list: level "Niv", its name as the study.
  virtual void CourseNotInLevelTable(const Record& /*course*/) {}
  // A group whose course is not among the courses written: empty level and course.
  virtual void GroupCourseMissing(const Record& /*group*/) {}

  // Reports how a code was given: `base` made unique as `unique`, stored as `code`.
  void CodeGiven(const Record& record, std::string_view field, const std::u16string& base,
                 const std::u16string& unique, const std::u16string& code);
};

// The observer of a conversion: it ignores everything.
ConversionObserver& IgnoreConversion();

// Records with fewer than two values give no row of the table converters; true for such a
// record, which the observer hears of.
bool HasTooFewValues(const Record& record, ConversionObserver& observer);

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_CONVERSION_OBSERVER_H_
