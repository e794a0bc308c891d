// The run's date on POSIX systems.
//
// Traps of this system:
// - The process's locale stays "C" unless someone calls setlocale, which would change every
//   stream of the program: the environment's LC_TIME locale is opened on its own (newlocale)
//   and used for this call only (strftime_l).
// - strftime writes in the code set of the locale's data, which need not be UTF-8.
// - A locale the environment names but the system has not generated cannot be opened.
// - localtime() shares one result between threads; localtime_r does not.

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "export/run_date.h"
#include "text/encoding.h"

namespace zentrova::timetable_export {
namespace {

// The locale the environment names for LC_TIME, by the POSIX order of precedence.
std::string TimeLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "C";
}

// strftime writes in the code set of the locale's own data, so LC_CTYPE is taken from the
// same locale as LC_TIME to learn it.
class TimeLocale {
 public:
  TimeLocale() {
    const std::string name = TimeLocaleName();
    locale_ = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(0));
    if (locale_ == static_cast<locale_t>(0)) {
      // A locale the system has not generated: the program's own, Spanish, day first.
      locale_ = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
      spanish_ = true;
    }
  }
  ~TimeLocale() {
    if (locale_ != static_cast<locale_t>(0)) freelocale(locale_);
  }
  TimeLocale(const TimeLocale&) = delete;
  TimeLocale& operator=(const TimeLocale&) = delete;

  std::u16string Format(nl_item format, const std::tm& moment) const {
    std::vector<char> buffer(256);
    size_t length = 0;
    // A format may legitimately give nothing; a bigger buffer is tried a few times only.
    for (int attempt = 0; attempt < 4; ++attempt) {
      length = strftime_l(buffer.data(), buffer.size(), Pattern(format), &moment, locale_);
      if (length > 0) break;
      buffer.resize(buffer.size() * 4);
    }
    return Decode(std::string(buffer.data(), length));
  }

 private:
  // Spain's short date and long time: 03/02/25 and 14:05:09.
  const char* Pattern(nl_item format) const {
    if (spanish_) return format == D_FMT ? "%d/%m/%y" : "%H:%M:%S";
    return nl_langinfo_l(format, locale_);
  }

  std::u16string Decode(const std::string& bytes) const {
    const char* code_set = nl_langinfo_l(CODESET, locale_);
    if (bytes.empty() || code_set == nullptr || std::string(code_set) == "UTF-8") {
      return text::Utf8ToUtf16(bytes);
    }
    if (!text::IsKnownCodePage(code_set)) return text::Utf8ToUtf16(bytes);
    return text::DecodeCodePage(bytes, code_set);
  }

  locale_t locale_;
  bool spanish_ = false;
};

}  // namespace

std::u16string RunDateText(std::chrono::system_clock::time_point moment) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  localtime_r(&seconds, &local);
  const TimeLocale locale;
  return locale.Format(D_FMT, local) + u" " + locale.Format(T_FMT, local);
}

}  // namespace zentrova::timetable_export
