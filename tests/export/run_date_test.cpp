#include "export/run_date.h"

#include <gtest/gtest.h>

#include <string>

#include "export/orbelin_to_vetrana_fixture.h"
#include "support/python.h"
#include "support/temp_folder.h"
#include "text/encoding.h"

namespace zentrova::timetable_export {
namespace {

#ifndef _WIN32

// 3 February 2025, 14:05:09 UTC.
const std::chrono::system_clock::time_point kMoment =
    std::chrono::system_clock::from_time_t(1738591509);

TEST(RunDateTest, ShortDateSpaceLongTimeOfTheTimeLocale) {
  struct Case {
    const char* lc_all;
    const char* lc_time;
    const char* lang;
    std::u16string expected;
  };
  // The C locale's formats are %m/%d/%y and %H:%M:%S.
  const std::vector<Case> cases = {
      {nullptr, nullptr, nullptr, u"02/03/25 14:05:09"},
      {"C", nullptr, nullptr, u"02/03/25 14:05:09"},
      {nullptr, "C.UTF-8", "xx_YY.nothing", u"02/03/25 14:05:09"},
      // A locale the system has not generated: Spain's formats, day first.
      {nullptr, "xx_YY.nothing", nullptr, u"03/02/25 14:05:09"},
      {nullptr, nullptr, "es_ES.no-generado", u"03/02/25 14:05:09"},
      {"", "", "POSIX", u"02/03/25 14:05:09"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lc_all);
    testing::ScopedEnvironment environment;
    environment.Set("TZ", "UTC");
    environment.Set("LC_ALL", c.lc_all);
    environment.Set("LC_TIME", c.lc_time);
    environment.Set("LANG", c.lang);
    EXPECT_EQ(RunDateText(kMoment), c.expected) << (c.lc_time ? c.lc_time : "-");
  }
}

TEST(RunDateTest, LocalTimeOfTheMoment) {
  testing::ScopedEnvironment environment;
  environment.Set("LC_ALL", "C");
  environment.Set("TZ", "UTC-02");  // two hours east of UTC
  EXPECT_EQ(RunDateText(kMoment), u"02/03/25 16:05:09");
  environment.Set("TZ", "UTC+15");
  EXPECT_EQ(RunDateText(kMoment), u"02/02/25 23:05:09");
}

// Locales built for the test (LOCPATH), so that the formats are not those of C: a Spanish
// one in ISO-8859-1 and a Japanese one in EUC-JP, whose formats hold characters of their
// own code set.
TEST(RunDateTest, FormatsAndCodeSetOfOtherLocales) {
  testing::TempFolder locales;
  for (const char* definition : {"es_ES ISO-8859-1", "ja_JP EUC-JP"}) {
    const std::string locale = definition;
    const std::string name = locale.substr(0, 5) + "." + locale.substr(6);
    testing::RunCommand("localedef -i " + locale.substr(0, 5) + " -f " + locale.substr(6) + " " +
                        testing::ShellQuote((locales / name).string()));
    if (!std::filesystem::is_directory(locales / name)) GTEST_SKIP() << "localedef " << locale;
  }
  testing::ScopedEnvironment environment;
  environment.Set("TZ", "UTC");
  environment.Set("LOCPATH", locales.path().c_str());
  environment.Set("LC_ALL", nullptr);
  environment.Set("LANG", "C");
  environment.Set("LC_TIME", "es_ES.ISO-8859-1");
  EXPECT_EQ(RunDateText(kMoment), u"03/02/25 14:05:09");
  environment.Set("LC_TIME", "ja_JP.EUC-JP");
  EXPECT_EQ(RunDateText(kMoment), u"2025年02月03日 14時05分09秒");
  // LC_ALL goes before LC_TIME.
  environment.Set("LC_ALL", "es_ES.ISO-8859-1");
  EXPECT_EQ(RunDateText(kMoment), u"03/02/25 14:05:09");
}

#endif

}  // namespace
}  // namespace zentrova::timetable_export
