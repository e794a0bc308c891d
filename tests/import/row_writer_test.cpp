#include "import/row_writer.h"

#include <gtest/gtest.h>

#include "import/vetrana_to_orbelin_fixture.h"
#include "text/encoding.h"

namespace zentrova::import {
namespace {

TEST(CompareStoredTest, TellsCutsAndCharactersTheCodePageLacks) {
  const struct {
    std::u16string given, stored;
    bool altered, cut;
    std::vector<std::u16string> replaced;
  } cases[] = {
      {u"Lengua", u"Lengua", false, false, {}},
      // A field keeps no blanks at the end: they are no change.
      {u"Educación ", u"Educación", false, false, {}},
      {u" ESO 1 A", u" ESO 1 A", false, false, {}},
      {u"ABCDEFGHIJK", u"ABCDEFGHIJ", true, true, {}},
      // Cut right after a blank: the field reads back without it.
      {u"ABCDEFGHI JK", u"ABCDEFGHI", true, true, {}},
      {u"Física ŝ ☃ ŝ", u"Física ? ? ?", true, false, {u"ŝ", u"☃"}},
      // A character outside the first plane is one character of the table.
      {u"A\U0001F600B", u"A?B", true, false, {u"\U0001F600"}},
      {u"ŝABCDEFGHIJ", u"?ABCDEFGHI", true, true, {u"ŝ"}},
      // Only what the field keeps is compared character by character.
      {u"ABCDEFGHIJŝ", u"ABCDEFGHIJ", true, true, {}},
      {u"", u"", false, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(text::Utf16ToUtf8(c.given));
    const std::optional<AlteredValue> altered = CompareStored(c.given, c.stored);
    ASSERT_EQ(altered.has_value(), c.altered);
    if (!altered) continue;
    EXPECT_EQ(altered->given, c.given);
    EXPECT_EQ(altered->stored, c.stored);
    EXPECT_EQ(altered->cut, c.cut);
    EXPECT_EQ(altered->replaced, c.replaced);
  }
}

// What the store makes of a value is read back from the table, with the field's width.
class RowWriterTest : public testing::ConverterTest {
 protected:
  struct Told {
    std::vector<AlteredValue> values;
    std::vector<std::pair<std::u16string, size_t>> repeats;
  };
  class Listener : public ConversionObserver {
   public:
    explicit Listener(Told& told) : told_(told) {}
    void ValueAltered(const Record&, std::string_view, const AlteredValue& value) override {
      told_.values.push_back(value);
    }
    void CodeRepeated(const Record&, std::string_view, const std::u16string& code,
                      size_t earlier) override {
      told_.repeats.emplace_back(code, earlier);
    }

   private:
    Told& told_;
  };

  // Writes one row per code into a table whose code field is 4 wide.
  Told Write(const std::vector<std::u16string>& codes, CodeList::Comparison comparison) {
    const auto& document = Load({{"G", {{"a", "b"}, {"c", "d"}, {"e", "f"}}}});
    const std::vector<Record> records = ReadGroup(document, u"G");
    store::Table table(ktemp(), "T.DBF");
    table.Create({{"COD", store::FieldKind::kText, 4}});
    table.Open();
    Told told;
    Listener listener(told);
    RowWriter rows(table, listener);
    CodeList list(comparison);
    for (size_t i = 0; i < codes.size(); ++i) {
      rows.Append(records.at(i));
      rows.SetCode("COD", codes[i], list);
      rows.Post();
    }
    return told;
  }
};

TEST_F(RowWriterTest, ACodeTheFieldHoldsAlreadyIsTold) {
  const Told told = Write({u"AB", u"ABCDE", u"abcd"}, CodeList::Comparison::kIgnoringCase);
  ASSERT_EQ(told.values.size(), 1u);
  EXPECT_EQ(told.values[0].width, 4);
  EXPECT_EQ(told.values[0].stored, u"ABCD");
  EXPECT_EQ(told.repeats, (std::vector<std::pair<std::u16string, size_t>>{{u"abcd", 1}}));
}

// The assumptions CompareStored makes of the store: one byte for each character, surrogate
// pairs included, and "?" for each the code page lacks.
TEST_F(RowWriterTest, WhatTheStoreMakesOfAValueIsTold) {
  const Told told = Write({u"Aŝ", u"A\U0001F600BC", u"é"}, CodeList::Comparison::kExact);
  ASSERT_EQ(told.values.size(), 2u);
  EXPECT_EQ(told.values[0].stored, u"A?");
  EXPECT_EQ(told.values[0].replaced, (std::vector<std::u16string>{u"ŝ"}));
  EXPECT_EQ(told.values[1].stored, u"A?BC");
  EXPECT_FALSE(told.values[1].cut);
  EXPECT_EQ(told.values[1].replaced, (std::vector<std::u16string>{u"\U0001F600"}));
}

TEST_F(RowWriterTest, CodesDifferingInCaseAreTwoWhenTheListComparesExactly) {
  EXPECT_TRUE(Write({u"ABCD", u"abcd"}, CodeList::Comparison::kExact).repeats.empty());
}

}  // namespace
}  // namespace zentrova::import
