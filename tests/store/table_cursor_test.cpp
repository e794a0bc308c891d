// The cursor over a table: moving, reading, changing, locating and filtering.

#include <gtest/gtest.h>

#include "store/table.h"
#include "support/temp_folder.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::store {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

class TableCursorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    table_.Create({{"PROF", FieldKind::kText, 10},
                   {"DIHO", FieldKind::kText, 4},
                   {"HORAS", FieldKind::kFloat},
                   {"N", FieldKind::kWholeNumber}});
    table_.Open();
    Add(u"ANA", u"L1", 4, 1);
    Add(u"O'BRIEN", u"L2", 2.5, 2);
    Add(u"ANA", u"M1", -0.5, 3);
    Add(u"ana", u"M2", 0, 4);
  }

  void Add(std::u16string prof, std::u16string diho, double hours, int n) {
    table_.Append();
    table_.SetText("PROF", prof);
    table_.SetText("DIHO", diho);
    table_.SetFloat("HORAS", hours);
    table_.SetInteger("N", n);
    table_.Post();
  }

  std::vector<int> Shown() {
    std::vector<int> shown;
    for (table_.First(); !table_.Eof(); table_.Next()) shown.push_back(table_.AsInteger("N"));
    return shown;
  }

  TempFolder folder_;
  Table table_{folder_.path(), "SOLUC.DBF"};
};

TEST_F(TableCursorTest, ReadsNumbersWithoutPadding) {
  table_.First();
  EXPECT_EQ(table_.AsText("HORAS"), u"4");
  EXPECT_EQ(table_.AsText("N"), u"1");
  table_.Next();
  EXPECT_EQ(table_.AsText("HORAS"), u"2.5");
  EXPECT_DOUBLE_EQ(table_.AsFloat("HORAS"), 2.5);
  table_.Next();
  EXPECT_EQ(table_.AsText("HORAS"), u"-0.5");
  table_.Next();
  EXPECT_EQ(table_.AsText("HORAS"), u"0");
  table_.Next();
  EXPECT_TRUE(table_.Eof());
  table_.Next();
  EXPECT_TRUE(table_.Eof());
  EXPECT_EQ(table_.RecordCount(), 4);
}

TEST_F(TableCursorTest, LocateFindsTheFirstExactMatch) {
  ASSERT_TRUE(table_.Locate("PROF", {u"ANA"}));
  EXPECT_EQ(table_.AsInteger("N"), 1);
  ASSERT_TRUE(table_.Locate("DIHO;prof", {u"M1", u"ANA"}));
  EXPECT_EQ(table_.AsInteger("N"), 3);
  EXPECT_FALSE(table_.Locate("DIHO;PROF", {u"M2", u"ANA"}));  // case-sensitive
  EXPECT_EQ(table_.AsInteger("N"), 3);                        // position unchanged
  EXPECT_THROW(table_.Locate("DIHO;PROF", {u"M2"}), Error);
}

TEST_F(TableCursorTest, EditIsStoredByNextAndByClose) {
  table_.First();
  table_.Edit();
  table_.SetText("PROF", u"LUIS");
  EXPECT_EQ(table_.AsText("PROF"), u"LUIS");  // the pending row reads as set
  table_.Next();
  EXPECT_EQ(table_.AsText("PROF"), u"O'BRIEN");
  table_.Edit();
  table_.SetInteger("PROF", -17);  // a whole number on a text field: its decimal text
  table_.Close();
  table_.Open();
  EXPECT_EQ(table_.AsText("PROF"), u"LUIS");
  table_.Next();
  EXPECT_EQ(table_.AsText("PROF"), u"-17");
  EXPECT_EQ(table_.AsInteger("PROF"), -17);
}

TEST_F(TableCursorTest, TextFieldsReadAsIntegersStrictly) {
  table_.Append();
  table_.SetText("PROF", u"  42");
  table_.Post();
  EXPECT_EQ(table_.AsInteger("PROF"), 42);
  table_.Append();
  table_.Post();
  EXPECT_EQ(table_.AsInteger("PROF"), 0);
  EXPECT_EQ(table_.AsText("PROF"), u"");
  EXPECT_EQ(table_.AsText("N"), u"");
  EXPECT_EQ(table_.AsFloat("HORAS"), 0);
  // The message says where the value stands: table, record number (deleted rows counted, a
  // pending row after the last) and field.
  auto conversion_error = [&] {
    try {
      table_.AsInteger("PROF");
    } catch (const text::ConversionError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  const std::string table = (folder_ / "SOLUC.DBF").string();
  table_.First();
  EXPECT_EQ(conversion_error(),
            "'ANA' is not a valid integer value\r\nTabla " + table + ", registro 1, campo PROF.");
  table_.Append();
  table_.SetText("PROF", u" 4x");
  EXPECT_EQ(conversion_error(),
            "'4x' is not a valid integer value\r\nTabla " + table + ", registro 7, campo PROF.");
  table_.Close();
  std::string bytes = ReadFile(folder_ / "SOLUC.DBF");
  bytes[32 + 4 * 32 + 1] = '*';  // the first record is deleted
  WriteFile(folder_ / "SOLUC.DBF", bytes);
  table_.Open();
  EXPECT_EQ(conversion_error(), "'O'BRIEN' is not a valid integer value\r\nTabla " + table +
                                    ", registro 2, campo PROF.");
}

TEST_F(TableCursorTest, UnknownFieldsAndMissingModesAreErrors) {
  table_.First();
  try {
    table_.AsText("NOEXISTE");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "La tabla " + (folder_ / "SOLUC.DBF").string() + " no tiene el campo NOEXISTE.");
  }
  EXPECT_THROW(table_.SetText("PROF", u"x"), Error);  // neither Append nor Edit
  EXPECT_THROW(table_.Append(); table_.SetText("NOEXISTE", u"x"), Error);
  EXPECT_THROW(table_.SetLogical("N", true), Error);
  table_.Close();
  EXPECT_THROW(table_.First(), Error);
  EXPECT_THROW(table_.RecordCount(), Error);
}

TEST_F(TableCursorTest, HeaderCountFollowsEveryPostAndDeletedRowsStayHidden) {
  table_.Close();
  std::string bytes = ReadFile(folder_ / "SOLUC.DBF");
  const size_t header = 32 + 4 * 32 + 1;
  const size_t length = 1 + 10 + 4 + 20 + 11;
  ASSERT_EQ(bytes.size(), header + 4 * length + 1);
  EXPECT_EQ(bytes[4], 4);
  bytes[header + length] = '*';  // row 2 deleted
  bytes.pop_back();              // and no end marker, as some writers leave it
  WriteFile(folder_ / "SOLUC.DBF", bytes);
  table_.Open();
  EXPECT_EQ(Shown(), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(table_.RecordCount(), 3);
  Add(u"EVA", u"X1", 1, 5);
  const std::string after = ReadFile(folder_ / "SOLUC.DBF");
  EXPECT_EQ(after.size(), header + 5 * length + 1);
  EXPECT_EQ(after[4], 5);
  EXPECT_EQ(after.back(), 0x1A);
  EXPECT_EQ(Shown(), (std::vector<int>{1, 3, 4, 5}));
}

}  // namespace
}  // namespace zentrova::store
