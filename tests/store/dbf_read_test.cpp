// Tables written by others: dBASE III and FoxPro / Visual FoxPro files made by python3-dbf,
// and a level-7 table built byte by byte.

#include <gtest/gtest.h>

#include <optional>

#include "store/code_page.h"
#include "store/table.h"
#include "support/python.h"
#include "support/temp_folder.h"

namespace zentrova::store {
namespace {

using testing::RunPython;
using testing::TempFolder;

// Makes `name` in `folder` with python3-dbf: the given dbf_type and field layout,
// then appends the Python tuples of `rows` (one per line).
void MakeWithPythonDbf(const TempFolder& folder, const std::string& name, const std::string& type,
                       const std::string& layout, const std::string& rows) {
  const auto result = RunPython(R"(
import sys, datetime, dbf
from datetime import date, datetime as dt
t = dbf.Table(sys.argv[1], sys.argv[2], dbf_type=sys.argv[3], codepage='cp1252')
t.open(dbf.READ_WRITE)
for line in sys.argv[4].splitlines():
    if line.strip():
        t.append(eval(line))
t.close()
)",
                                {(folder / name).string(), layout, type, rows});
  ASSERT_EQ(result.exit_code, 0) << result.err;
}

std::vector<std::vector<std::u16string>> AllRows(Table& table) {
  std::vector<std::vector<std::u16string>> rows;
  for (table.First(); !table.Eof(); table.Next()) {
    rows.emplace_back();
    for (const FieldInfo& field : table.Fields()) rows.back().push_back(table.AsText(field.name));
  }
  return rows;
}

std::string Layout(const Table& table) {
  std::string layout;
  for (const FieldInfo& f : table.Fields()) {
    layout +=
        f.name + " " + f.type + std::to_string(f.width) + "." + std::to_string(f.decimals) + ";";
  }
  return layout;
}

TEST(DbfReadTest, DbaseThreeFromPythonDbf) {
  TempFolder folder;
  MakeWithPythonDbf(folder, "d3.dbf", "db3", "NAME C(10); N N(5,1); D D; L L; M M",
                    "('Peña', -2.5, date(2021,3,4), True, 'memo text')\n"
                    "('Ñu', 4, None, False, '')\n"
                    "()\n");
  Table table(folder.path(), "D3.DBF");  // found without regard to case
  table.Open();
  EXPECT_EQ(Layout(table), "NAME C10.0;N N5.1;D D8.0;L L1.0;M M10.0;");
  const std::vector<std::vector<std::u16string>> expected = {
      {u"Peña", u"-2.5", u"2021-03-04", u"T", u""},
      {u"Ñu", u"4", u"", u"F", u""},
      {u"", u"", u"", u"", u""},
  };
  EXPECT_EQ(AllRows(table), expected);
  table.First();
  EXPECT_DOUBLE_EQ(table.AsFloat("n"), -2.5);
  EXPECT_EQ(table.AsInteger("N"), -3);  // rounded
  table.Next();
  table.Next();
  EXPECT_EQ(table.AsText("N"), u"");
  EXPECT_EQ(table.AsInteger("N"), 0);
  EXPECT_EQ(table.RecordCount(), 3);
}

TEST(DbfReadTest, FoxProFromPythonDbf) {
  TempFolder folder;
  MakeWithPythonDbf(folder, "FP.DBF", "fp", "NAME C(10); N N(5,1); F F(10,3); D D; L L; M M",
                    "('Peña', 12.5, -1.25, date(2021,3,4), False, 'x')\n");
  Table table(folder.path(), "FP.DBF");
  table.Open();
  EXPECT_EQ(Layout(table), "NAME C10.0;N N5.1;F F10.3;D D8.0;L L1.0;M M10.0;");
  const std::vector<std::vector<std::u16string>> expected = {
      {u"Peña", u"12.5", u"-1.25", u"2021-03-04", u"F", u""}};
  EXPECT_EQ(AllRows(table), expected);
}

TEST(DbfReadTest, VisualFoxProFromPythonDbf) {
  TempFolder folder;
  MakeWithPythonDbf(folder, "VFP.DBF", "vfp",
                    "NAME C(10) null; N N(5,1); I I; B B; Y Y; T T; D D; L L; M M",
                    "('Peña', 12.5, -7, 43.65, 12.5, dt(2020,2,20,20,20,20), date(2021,3,4), "
                    "True, 'memo')\n"
                    "(None, None, 5, 0, 0, None, None, None, '')\n");
  Table table(folder.path(), "VFP.DBF");
  table.Open();
  // _NullFlags is not shown.
  EXPECT_EQ(Layout(table), "NAME C10.0;N N5.1;I I4.0;B B8.0;Y Y8.0;T T8.0;D D8.0;L L1.0;M M4.0;");
  const std::vector<std::vector<std::u16string>> expected = {
      {u"Peña", u"12.5", u"-7", u"43.65", u"12.5", u"2020-02-20 20:20:20", u"2021-03-04", u"T",
       u""},
      {u"", u"", u"5", u"0", u"0", u"", u"", u"", u""},
  };
  EXPECT_EQ(AllRows(table), expected);
  table.First();
  EXPECT_EQ(table.AsInteger("I"), -7);
  EXPECT_DOUBLE_EQ(table.AsFloat("B"), 43.65);
  EXPECT_DOUBLE_EQ(table.AsFloat("Y"), 12.5);
  // Appending to a Visual FoxPro table keeps it readable for its own library.
  table.Append();
  table.SetText("NAME", u"Nueva");
  table.SetInteger("I", 9);
  table.Post();
  table.Close();
  const auto check = RunPython(R"(
import sys, dbf
t = dbf.Table(sys.argv[1]); t.open()
print(len(t), t[2].name.strip(), t[2].i)
)",
                               {(folder / "VFP.DBF").string()});
  EXPECT_EQ(check.out, "3 Nueva 9\n") << check.err;
}

// A level-7 table as dBASE writes it: 68-byte header part, 48-byte descriptors, names
// longer than 10 characters, I/O/@/+ binary fields and the driver name for the code page.
std::string LevelSevenTable() {
  struct Field {
    std::string name;
    char type;
    int width, decimals;
  };
  const std::vector<Field> fields = {{"X_OFERTAMATRIG", 'I', 4, 0}, {"NIVEL_ABREV", 'C', 10, 0},
                                     {"IMPORTE", 'O', 8, 0},        {"ALTA", '@', 8, 0},
                                     {"NUMERO", '+', 4, 0},         {"PRECIO", 'N', 6, 2}};
  std::string h(68, '\0');
  h[0] = 0x04;
  h[1] = 124;
  h[2] = 5;
  h[3] = 6;
  h[4] = 3;
  const int header_length = 68 + 48 * static_cast<int>(fields.size()) + 1;
  h[8] = static_cast<char>(header_length & 0xFF);
  h[9] = static_cast<char>(header_length >> 8);
  h[10] = 1 + 4 + 10 + 8 + 8 + 4 + 6;
  h.replace(32, 8, "DB850ES0");  // code page 850
  for (const Field& f : fields) {
    std::string d(48, '\0');
    d.replace(0, f.name.size(), f.name);
    d[32] = f.type;
    d[33] = static_cast<char>(f.width);
    d[34] = static_cast<char>(f.decimals);
    h += d;
  }
  h += '\x0D';
  const std::string ms1970("\x42\xCC\x41\x8B\xA9\x9A\x00\x00", 8);
  const std::string ms2020("\x42\xCC\xF9\xBD\xCA\xA9\xD0\x00", 8);
  h += std::string(" ") + std::string("\x80\x00\x01\x31", 4) +
       "ESO\xA5"
       "A     " +
       std::string("\xC0\x45\xD3\x33\x33\x33\x33\x33", 8) + ms2020 +
       std::string("\x80\x00\x00\x01", 4) + "  1.50";
  h += std::string("*") + std::string("\x80\x00\x00\x02", 4) + "BORRADA   " + std::string(8, '\0') +
       ms1970 + std::string("\x80\x00\x00\x02", 4) + "      ";
  h += std::string(" ") + std::string("\x7F\xFF\xFF\xFF", 4) + "          " +
       std::string("\x3F\x97\x00\x51\xEB\x85\x1E\xB7", 8) + std::string(8, '\0') +
       std::string("\x80\x00\x00\x03", 4) + "-12.00";
  return h + '\x1A';
}

TEST(DbfReadTest, LevelSevenBuiltByteByByte) {
  TempFolder folder;
  testing::WriteFile(folder / "NIVELEX.DBF", LevelSevenTable());
  Table table(folder.path(), "nivelex.dbf");
  table.Open();
  EXPECT_EQ(Layout(table),
            "X_OFERTAMATRIG I4.0;NIVEL_ABREV C10.0;IMPORTE O8.0;ALTA @8.0;NUMERO +4.0;"
            "PRECIO N6.2;");
  const std::vector<std::vector<std::u16string>> expected = {
      {u"305", u"ESOÑA", u"43.65", u"2020-02-20 20:20:20", u"1", u"1.5"},
      {u"-1", u"", u"-199.99", u"", u"3", u"-12"},
  };
  EXPECT_EQ(AllRows(table), expected);  // the deleted row is never shown
  EXPECT_EQ(table.RecordCount(), 2);
  ASSERT_TRUE(table.Locate("x_ofertamatrig", {u"305"}));
  EXPECT_EQ(table.AsInteger("X_OFERTAMATRIG"), 305);
  EXPECT_DOUBLE_EQ(table.AsFloat("IMPORTE"), 43.65);
}

TEST(DbfReadTest, LevelSevenRoundTripThroughOurWriter) {
  TempFolder folder;
  Table table(folder.path(), "L7.DBF");
  table.Create({{"X_OFERTAMATRIG", FieldKind::kWholeNumber},
                {"ESTUDIO", FieldKind::kText, 60},
                {"HORAS", FieldKind::kFloat},
                {"ACTIVO", FieldKind::kLogical}},
               {}, Level::kDbase7);
  const std::string bytes = testing::ReadFile(folder / "L7.DBF");
  EXPECT_EQ(bytes[0], 0x04);
  EXPECT_EQ(bytes[29], 0);
  EXPECT_EQ(bytes.substr(32, 9), std::string("DBWINUS0\0", 9));
  EXPECT_EQ(bytes.size(), 68u + 48 * 4 + 1 + 1);
  EXPECT_EQ(bytes.substr(68 + 32, 3), std::string("I\x04\x00", 3));
  table.Open();
  table.Append();
  table.SetInteger("X_OFERTAMATRIG", 305);
  table.SetText("ESTUDIO", u"1º de Educación Secundaria Obligatoria");
  table.SetFloat("HORAS", 2.5);
  table.SetLogical("ACTIVO", true);
  table.Append();
  table.SetInteger("X_OFERTAMATRIG", -2147483647);
  EXPECT_THROW(table.SetInteger("X_OFERTAMATRIG", -2147483648LL), Error);  // the empty value
  table.Close();
  const std::string written = testing::ReadFile(folder / "L7.DBF");
  EXPECT_EQ(written.substr(68 + 48 * 4 + 1, 5), std::string(" \x80\x00\x01\x31", 5));
  table.Open();
  EXPECT_EQ(table.AsText("X_OFERTAMATRIG"), u"305");
  EXPECT_EQ(table.AsText("ESTUDIO"), u"1º de Educación Secundaria Obligatoria");
  EXPECT_EQ(table.AsText("HORAS"), u"2.5");
  EXPECT_EQ(table.AsText("ACTIVO"), u"T");
  table.Next();
  EXPECT_EQ(table.AsInteger("X_OFERTAMATRIG"), -2147483647);
  EXPECT_EQ(table.AsText("ESTUDIO"), u"");
}

TEST(DbfReadTest, WritingIntoATableOfAnotherWriterKeepsItsForms) {
  TempFolder folder;
  MakeWithPythonDbf(folder, "D3.DBF", "db3", "NAME C(10); N N(6,2); D D; L L", "");
  {
    Table table(folder.path(), "D3.DBF");
    table.Open();
    table.Append();
    table.SetText("NAME", u"Peña");
    table.SetText("N", u"12.5");
    table.SetText("D", u"2021-03-04");
    table.SetText("L", u"T");
    table.Append();
    table.SetText("N", u"-3");
    table.SetLogical("L", false);
    EXPECT_THROW(table.SetText("N", u"doce"), Error);
    EXPECT_THROW(table.SetText("D", u"4/3/2021"), Error);
    EXPECT_THROW(table.SetText("N", u"1234.5"), Error);  // 7 characters in a width of 6
    table.Close();
  }
  const auto result = RunPython(R"(
import sys, dbfread
for r in dbfread.DBF(sys.argv[1], encoding='cp1252'):
    print(repr(list(r.values())))
)",
                                {(folder / "D3.DBF").string()});
  EXPECT_EQ(result.out,
            "['Peña', 12.5, datetime.date(2021, 3, 4), True]\n"
            "['', -3.0, None, False]\n")
      << result.err;
}

TEST(DbfReadTest, CodePageComesFromTheDriverIdOrName) {
  const std::vector<std::pair<int, std::string>> ids = {
      {0x57, "windows-1252"}, {0x58, "windows-1252"}, {0x59, "windows-1252"},
      {0x03, "windows-1252"}, {0x01, "ibm-437"},      {0x1B, "ibm-437"},
      {0x02, "ibm-850"},      {0x64, "ibm-852"},      {0xC8, "windows-1250"},
      {0xC9, "windows-1251"}, {0x00, "windows-1252"}, {0x7E, "windows-1252"},
  };
  for (const auto& [id, code_page] : ids) {
    EXPECT_EQ(CodePageOfDriverId(static_cast<uint8_t>(id)), code_page) << id;
  }
  const std::vector<std::pair<std::string, std::optional<std::string>>> names = {
      {"DBWINUS0", "windows-1252"},
      {"DBWINES0", "windows-1252"},
      {"DB437US0", "ibm-437"},
      {"DB850ES0", "ibm-850"},
      {"DB866RU0", "ibm-866"},
      {"DB1250CZ0", "windows-1250"},
      {"FOX..WIN", "windows-1252"},
      {"FOX..437", "ibm-437"},
      // Names that give no code page: the table's text cannot be read.
      {"", std::nullopt},
      {"XYZ", std::nullopt},
      {"DBXXUS0", std::nullopt},
      {"DB9999US0", std::nullopt},
      {"DB12345678901234567890US0", std::nullopt},
      {"FOX", std::nullopt},
  };
  for (const auto& [name, code_page] : names) {
    EXPECT_EQ(CodePageOfDriverName(name), code_page) << name;
  }
  // A cp437 table from another writer reads in its own code page.
  TempFolder folder;
  MakeWithPythonDbf(folder, "OEM.DBF", "db3", "NAME C(10)", "('Peña',)");
  std::string bytes = testing::ReadFile(folder / "OEM.DBF");
  bytes[29] = 0x01;
  const size_t at = bytes.find("Pe");
  bytes[at + 2] = '\xA4';  // n with tilde in cp437
  testing::WriteFile(folder / "OEM.DBF", bytes);
  Table table(folder.path(), "OEM.DBF");
  table.Open();
  EXPECT_EQ(table.AsText("NAME"), u"Peña");
}

}  // namespace
}  // namespace zentrova::store
