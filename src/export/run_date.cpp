#include "export/run_date.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "text/encoding.h"
#endif

namespace zentrova::timetable_export {
namespace {

#ifdef _WIN32

SYSTEMTIME LocalTime(std::chrono::system_clock::time_point moment) {
  // FILETIME counts 100-nanosecond intervals from 1 January 1601, UTC.
  using Ticks = std::chrono::duration<long long, std::ratio<1, 10000000>>;
  constexpr long long kFrom1601To1970 = 116444736000000000LL;
  ULARGE_INTEGER ticks;
  ticks.QuadPart = static_cast<ULONGLONG>(
      std::chrono::duration_cast<Ticks>(moment.time_since_epoch()).count() + kFrom1601To1970);
  FILETIME utc_file_time{ticks.LowPart, ticks.HighPart};
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  FileTimeToSystemTime(&utc_file_time, &utc);
  SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
  return local;
}

std::u16string WideText(const wchar_t* text, int length_with_null) {
  if (length_with_null <= 1) return std::u16string();
  return std::u16string(reinterpret_cast<const char16_t*>(text), length_with_null - 1);
}

#else

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

#endif

}  // namespace

std::u16string RunDateText(std::chrono::system_clock::time_point moment) {
#ifdef _WIN32
  const SYSTEMTIME local = LocalTime(moment);
  wchar_t date[128];
  wchar_t time[128];
  const int date_length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr,
                                          date, 128, nullptr);
  const int time_length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &local, nullptr, time, 128);
  return WideText(date, date_length) + u" " + WideText(time, time_length);
#else
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  localtime_r(&seconds, &local);
  const TimeLocale locale;
  return locale.Format(D_FMT, local) + u" " + locale.Format(T_FMT, local);
#endif
}

}  // namespace zentrova::timetable_export
