#include "export/lookups.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "export/orbelin_to_vetrana_fixture.h"
#include "support/temp_folder.h"

namespace zentrova::timetable_export {
namespace {

using testing::ExchangeRows;
using testing::TempFolder;

class LookupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ExchangeRows rows;
    rows.asigt = {{u"MAT", u"1A", u"M-1", u"C-1"},
                  {u"MAT", u"1B", u"M-2", u"C-2"},
                  {u"MAT", u"1A", u"M-3", u"C-3"},  // same subject and group: never used
                  {u"mat", u"1A", u"M-4", u"C-4"}};
    rows.asignomt = {{u"GUA", u"T-1"}, {u"GUA", u"T-2"}, {u"REC", u""}};
    // Two frames with a slot 11 each, told apart by the frame mark.
    rows.diashorast = {{u"11", u"0", u"1", u"S-0-11", u"08:00", u"08:55"},
                       {u"12", u"0", u"1", u"S-0-12", u"08:55", u"09:50"},
                       {u"11", u"1", u"1", u"S-1-11", u"15:00", u"15:55"},
                       {u"11", u"1", u"1", u"S-1-11b", u"16:00", u"16:55"}};
    rows.grupost = {{u"1A", u"U-1"}, {u"1A", u"U-2"}, {u"1B", u""}};
    testing::WriteExchangeTables(folder_.path(), rows);
    for (store::Table* table : {&asigt_, &asignomt_, &diashorast_, &grupost_}) table->Open();
  }

  TempFolder folder_;
  store::Table asigt_{folder_.path(), "ASIGT.DBF"};
  store::Table asignomt_{folder_.path(), "ASIGNOMT.DBF"};
  store::Table diashorast_{folder_.path(), "DIASHORAST.DBF"};
  store::Table grupost_{folder_.path(), "GRUPOST.DBF"};
  Lookups lookups_{asigt_, asignomt_, diashorast_, grupost_};
};

struct LookupCase {
  const char* what;
  std::function<std::optional<std::u16string>(Lookups&)> look_up;
  std::optional<std::u16string> expected;
};

std::optional<std::u16string> Value(const std::u16string* found) {
  return found ? std::optional<std::u16string>(*found) : std::nullopt;
}

TEST_F(LookupsTest, FirstRecordInRecordOrderAndExactTexts) {
  const std::vector<LookupCase> cases = {
      {"assignment: first of two records with the same key",
       [](Lookups& l) {
         const AssignmentCodes* found = l.Assignment(u"MAT", u"1A");
         return found ? std::optional(found->subject_code + u"/" + found->course_code)
                      : std::nullopt;
       },
       u"M-1/C-1"},
      {"assignment: the group is part of the key",
       [](Lookups& l) {
         const AssignmentCodes* found = l.Assignment(u"MAT", u"1B");
         return found ? std::optional(found->subject_code + u"/" + found->course_code)
                      : std::nullopt;
       },
       u"M-2/C-2"},
      {"assignment: letter case counts",
       [](Lookups& l) {
         const AssignmentCodes* found = l.Assignment(u"mat", u"1A");
         return found ? std::optional(found->subject_code) : std::nullopt;
       },
       u"M-4"},
      {"assignment: no record for the pair",
       [](Lookups& l) {
         return l.Assignment(u"MAT", u"1C") ? std::optional<std::u16string>(u"found")
                                            : std::nullopt;
       },
       std::nullopt},
      {"assignment: a trailing blank is not trimmed away by the look-up",
       [](Lookups& l) {
         return l.Assignment(u"MAT ", u"1A") ? std::optional<std::u16string>(u"found")
                                             : std::nullopt;
       },
       std::nullopt},
      {"activity code: first record", [](Lookups& l) { return Value(l.ActivityCode(u"GUA")); },
       u"T-1"},
      {"activity code: a record with a blank code is still a match",
       [](Lookups& l) { return Value(l.ActivityCode(u"REC")); }, u""},
      {"activity code: missing subject", [](Lookups& l) { return Value(l.ActivityCode(u"LEN")); },
       std::nullopt},
      {"slot: frame 0",
       [](Lookups& l) {
         const SlotValues* found = l.Slot(u"11", u"0");
         return found ? std::optional(found->day + u"|" + found->slot_code + u"|" +
                                      found->start_time + u"|" + found->end_time)
                      : std::nullopt;
       },
       u"1|S-0-11|08:00|08:55"},
      {"slot: frame 1 shares the key, first of its records",
       [](Lookups& l) {
         const SlotValues* found = l.Slot(u"11", u"1");
         return found ? std::optional(found->slot_code + u"|" + found->start_time) : std::nullopt;
       },
       u"S-1-11|15:00"},
      {"slot: key of frame 0 only, asked with mark 1",
       [](Lookups& l) {
         return l.Slot(u"12", u"1") ? std::optional<std::u16string>(u"found") : std::nullopt;
       },
       std::nullopt},
      {"slot: an empty mark matches no frame",
       [](Lookups& l) {
         return l.Slot(u"11", u"") ? std::optional<std::u16string>(u"found") : std::nullopt;
       },
       std::nullopt},
      {"unit: first record", [](Lookups& l) { return Value(l.Unit(u"1A")); }, u"U-1"},
      {"unit: blank code", [](Lookups& l) { return Value(l.Unit(u"1B")); }, u""},
      {"unit: missing group", [](Lookups& l) { return Value(l.Unit(u"1a")); }, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.look_up(lookups_), c.expected) << c.what;
  }
}

TEST_F(LookupsTest, IndexesAreBuiltOnceAndKeepAnswering) {
  ASSERT_NE(lookups_.Unit(u"1A"), nullptr);
  // The table's position moved while the index was built; asking again does not read it.
  grupost_.Close();
  ASSERT_NE(lookups_.Unit(u"1A"), nullptr);
  EXPECT_EQ(*lookups_.Unit(u"1A"), u"U-1");
}

}  // namespace
}  // namespace zentrova::timetable_export
