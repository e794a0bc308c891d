// Tables we write: the header bytes, the stored forms of each field kind, and what an
// independent reader (dbfread) makes of them.

#include <gtest/gtest.h>

#include <ctime>

#include "store/table.h"
#include "support/python.h"
#include "support/temp_folder.h"

namespace zentrova::store {
namespace {

using testing::ReadFile;
using testing::RunPython;
using testing::TempFolder;

const std::vector<FieldDef> kStaffFields = {
    {"NOMBRE", FieldKind::kText, 20}, {"DNI", FieldKind::kWholeNumber},
    {"HORAS", FieldKind::kFloat},     {"ACTIVO", FieldKind::kLogical},
    {"CODIGO", FieldKind::kText, 5},
};

void AppendStaff(Table& table, std::u16string name, long long dni, double hours, bool active) {
  table.Append();
  table.SetText("NOMBRE", name);
  table.SetInteger("dni", dni);
  table.SetFloat("HORAS", hours);
  table.SetLogical("ACTIVO", active);
  table.Post();
}

TEST(DbfWriteTest, NewTableHasTheDbaseFourHeader) {
  TempFolder folder;
  Table table(folder.path(), "PROFT.DBF");
  table.Create(kStaffFields);
  EXPECT_FALSE(table.IsOpen());
  const std::string bytes = ReadFile(folder / "PROFT.DBF");
  const int n = 5;
  ASSERT_EQ(bytes.size(), 32u + 32 * n + 1 + 1);
  EXPECT_EQ(bytes[0], 0x03);
  const std::time_t now = std::time(nullptr);
  const std::tm* today = std::localtime(&now);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), today->tm_year);
  EXPECT_EQ(bytes[2], today->tm_mon + 1);
  EXPECT_EQ(bytes[3], today->tm_mday);
  EXPECT_EQ(bytes.substr(4, 4), std::string(4, '\0'));
  EXPECT_EQ(static_cast<unsigned char>(bytes[8]) + 256 * bytes[9], 32 + 32 * n + 1);
  EXPECT_EQ(bytes[10] + 256 * bytes[11], 1 + 20 + 11 + 20 + 1 + 5);
  EXPECT_EQ(bytes[28], 0);
  EXPECT_EQ(bytes[29], 0x57);
  EXPECT_EQ(bytes.substr(32, 11), std::string("NOMBRE\0\0\0\0\0", 11));
  EXPECT_EQ(bytes[32 + 11], 'C');
  EXPECT_EQ(bytes[64 + 11], 'N');
  EXPECT_EQ(bytes[64 + 16], 11);
  EXPECT_EQ(bytes[96 + 16], 20);
  EXPECT_EQ(bytes[96 + 17], 4);
  EXPECT_EQ(bytes[128 + 11], 'L');
  EXPECT_EQ(bytes[32 + 32 * n], 0x0D);
  EXPECT_EQ(bytes.back(), 0x1A);
}

TEST(DbfWriteTest, RecordsHoldTheDbaseTextForms) {
  TempFolder folder;
  Table table(folder.path(), "PROFT.DBF");
  table.Create(kStaffFields);
  table.Open();
  AppendStaff(table, u"Ruiz Peña, Ángel", 12345678, 4, true);
  AppendStaff(table, u"Un nombre demasiado largo", -42, 2.5, false);
  table.Append();
  table.Post();
  table.Close();
  const std::string bytes = ReadFile(folder / "PROFT.DBF");
  const size_t header = 32 + 32 * 5 + 1;
  const size_t length = 58;
  ASSERT_EQ(bytes.size(), header + 3 * length + 1);
  EXPECT_EQ(bytes[4], 3);
  EXPECT_EQ(bytes.substr(header, length),
            " Ruiz Pe\xF1"
            "a, \xC1ngel    "
            "   12345678"
            "              4.0000"
            "T"
            "     ");
  EXPECT_EQ(bytes.substr(header + length, length),
            " Un nombre demasiado "
            "        -42"
            "              2.5000"
            "F"
            "     ");
  EXPECT_EQ(bytes.substr(header + 2 * length, length), std::string(length, ' '));
  EXPECT_EQ(bytes.back(), 0x1A);
}

// A text longer than its field is cut to it, wherever the field stands: the fields after it
// keep their own values, in the pending row and in the file.
TEST(DbfWriteTest, ATextLongerThanAFieldInTheMiddleLeavesTheNextFieldAlone) {
  TempFolder folder;
  Table table(folder.path(), "T.DBF");
  table.Create(
      {{"A", FieldKind::kText, 3}, {"B", FieldKind::kText, 4}, {"C", FieldKind::kText, 2}});
  table.Open();
  table.Append();
  table.SetText("C", u"zz");
  table.SetText("A", u"a");
  table.SetText("B", u"bbbbbbbbbb");
  EXPECT_EQ(table.AsText("C"), u"zz");
  table.Post();
  table.Append();
  table.SetText("A", u"xyz");
  table.Post();
  table.First();
  EXPECT_EQ(table.AsText("B"), u"bbbb");
  EXPECT_EQ(table.AsText("C"), u"zz");
  table.Next();
  EXPECT_EQ(table.AsText("A"), u"xyz");
  table.Close();
  const std::string bytes = ReadFile(folder / "T.DBF");
  EXPECT_EQ(bytes.substr(32 + 3 * 32 + 1), " a  bbbbzz xyz      \x1A");
}

TEST(DbfWriteTest, DbfreadReadsOurTable) {
  TempFolder folder;
  {
    Table table(folder.path(), "PROFT.DBF");
    table.Create(kStaffFields);
    table.Open(OpenMode::kExclusive);
    AppendStaff(table, u"Ruiz Peña, Ángel", 12345678, 4, true);
    AppendStaff(table, u"Gómez", -42, 2.5, false);
    table.Append();
    table.SetInteger("CODIGO", 305);
    table.Close();  // stores the pending row
  }
  const auto result = RunPython(R"(
import sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1252')
for f in t.fields:
    print(f.name, f.type, f.length, f.decimal_count)
for r in t:
    print(repr(list(r.values())))
)",
                                {(folder / "PROFT.DBF").string()});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out,
            "NOMBRE C 20 0\nDNI N 11 0\nHORAS N 20 4\nACTIVO L 1 0\nCODIGO C 5 0\n"
            "['Ruiz Peña, Ángel', 12345678, 4.0, True, '']\n"
            "['Gómez', -42, 2.5, False, '']\n"
            "['', None, None, None, '305']\n");
}

// A table object learns where each field stands when it first writes one; made again with
// other fields and opened, it writes where the new fields stand.
TEST(DbfWriteTest, ATableMadeAgainWithOtherFieldsIsWrittenWhereTheyStand) {
  TempFolder folder;
  Table table(folder.path(), "T.DBF");
  table.Create({{"A", FieldKind::kText, 5}, {"B", FieldKind::kText, 10}});
  table.Open(OpenMode::kExclusive);
  table.Append();
  table.SetText("B", u"uno");
  table.Post();
  table.Close();
  table.Create(
      {{"B", FieldKind::kText, 3}, {"N", FieldKind::kWholeNumber}, {"A", FieldKind::kText, 12}});
  table.Open(OpenMode::kExclusive);
  table.Append();
  table.SetText("A", u"dos");
  table.SetText("B", u"tres");
  table.Post();
  table.Append();
  table.Post();
  table.Close();
  const auto result = RunPython(R"(
import sys, dbfread
for r in dbfread.DBF(sys.argv[1], encoding='cp1252'):
    print(repr(list(r.values())))
)",
                                {(folder / "T.DBF").string()});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "['tre', None, 'dos']\n['', None, '']\n");
}

TEST(DbfWriteTest, NumberWiderThanTheFieldIsRefused) {
  TempFolder folder;
  Table table(folder.path(), "T.DBF");
  table.Create({{"N", FieldKind::kWholeNumber}, {"C", FieldKind::kText, 3}});
  table.Open();
  table.Append();
  table.SetInteger("N", -9999999999);  // 11 characters: fits exactly
  try {
    table.SetInteger("N", 123456789012);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("N (N 11,0)"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("T.DBF"), std::string::npos) << e.what();
  }
  table.SetText("C", u"abcdef");  // text is cut to the width
  table.Post();
  table.First();
  EXPECT_EQ(table.AsText("N"), u"-9999999999");
  EXPECT_EQ(table.AsText("C"), u"abc");
}

TEST(DbfWriteTest, CreateReplacesTheTableAndItsIndex) {
  TempFolder folder;
  testing::WriteFile(folder / "proft.dbf", "old");
  testing::WriteFile(folder / "Proft.mdx", "old index");
  Table table(folder.path(), "PROFT.DBF");
  table.Create({{"A", FieldKind::kText, 3}});
  EXPECT_FALSE(std::filesystem::exists(folder / "proft.dbf"));
  EXPECT_FALSE(std::filesystem::exists(folder / "Proft.mdx"));
  table.Open();
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_TRUE(table.Eof());
}

TEST(DbfWriteTest, BadDefinitionsAreRefusedBeforeAnythingIsDeleted) {
  TempFolder folder;
  testing::WriteFile(folder / "T.DBF", "old");
  const std::vector<std::vector<FieldDef>> bad = {
      {},
      {{"NOMBRE_LARGO", FieldKind::kText, 3}},
      {{"A", FieldKind::kText, 0}},
      {{"A", FieldKind::kText, 255}},
      {{"A", FieldKind::kText, 3}, {"a", FieldKind::kLogical}},
      {{"1A", FieldKind::kLogical}},
  };
  for (const auto& fields : bad) {
    SCOPED_TRACE("definition " + std::to_string(&fields - &bad[0]));
    Table table(folder.path(), "T.DBF");
    EXPECT_THROW(table.Create(fields), Error);
    EXPECT_EQ(ReadFile(folder / "T.DBF"), "old");
  }
  Table table(folder.path(), "T.DBF");
  EXPECT_THROW(table.Create({{"A", FieldKind::kText, 3}}, {{"A", "A"}}, Level::kDbase7), Error);
  EXPECT_THROW(table.Create({{"A", FieldKind::kText, 3}}, {{"A", "B"}}), Error);
  EXPECT_EQ(ReadFile(folder / "T.DBF"), "old");
}

}  // namespace
}  // namespace zentrova::store
