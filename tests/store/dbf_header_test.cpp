// Headers written by other programs are checked against themselves before a record is read:
// small tables built byte by byte, each case changing what one header says.

#include "store/dbf_header.h"

#include <gtest/gtest.h>

#include <functional>

#include "store/table.h"

namespace zentrova::store {
namespace {

const std::filesystem::path kFile = "/ktemp/T.DBF";

struct Field {
  std::string name;
  char type;
  int width;
  int decimals = 0;
};

const std::vector<Field> kFields = {{"NOMBRE", 'C', 5}, {"NUM", 'N', 3}};
const std::vector<std::string> kRecords = {" Ana   12", " Luis  -3"};

void PutLittle16(std::string& bytes, size_t at, int value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

int RecordLength(const std::vector<Field>& fields) {
  int length = 1;
  for (const Field& f : fields) length += f.width;
  return length;
}

// The records and the end marker after a header whose length covers everything before them.
std::string Finish(std::string header, const std::vector<Field>& fields,
                   const std::vector<std::string>& records) {
  header[4] = static_cast<char>(records.size());
  PutLittle16(header, 8, static_cast<int>(header.size()));
  PutLittle16(header, 10, RecordLength(fields));
  for (const std::string& record : records) header += record;
  return header + '\x1A';
}

// A dBASE III/IV or FoxPro table; `after_terminator` stands between the 0x0D and the first
// record (a backlink, say) and the header length counts it.
std::string DbaseTable(uint8_t version, const std::string& after_terminator = "",
                       const std::vector<Field>& fields = kFields,
                       const std::vector<std::string>& records = kRecords) {
  std::string header(32, '\0');
  header[0] = static_cast<char>(version);
  header[1] = 124;
  header[2] = 1;
  header[3] = 2;
  header[29] = 0x57;
  for (const Field& f : fields) {
    std::string d(32, '\0');
    d.replace(0, f.name.size(), f.name);
    d[11] = f.type;
    d[16] = static_cast<char>(f.width);
    d[17] = static_cast<char>(f.decimals);
    header += d;
  }
  return Finish(header + '\x0D' + after_terminator, fields, records);
}

// A level-7 table with byte 29 = 0 and this driver name.
std::string Level7Table(const std::string& driver_name, const std::string& after_terminator = "") {
  std::string header(68, '\0');
  header[0] = 0x04;
  header.replace(32, driver_name.size(), driver_name);
  for (const Field& f : kFields) {
    std::string d(48, '\0');
    d.replace(0, f.name.size(), f.name);
    d[32] = f.type;
    d[33] = static_cast<char>(f.width);
    d[34] = static_cast<char>(f.decimals);
    header += d;
  }
  return Finish(header + '\x0D' + after_terminator, kFields, kRecords);
}

// A level-7 field-properties structure of `size` bytes holding `standard` standard
// properties (15 bytes each) right after its 16-byte header, then a data area.
std::string FieldProperties(int size, int standard, int data_start) {
  std::string structure(static_cast<size_t>(size), '\0');
  PutLittle16(structure, 0, standard);
  PutLittle16(structure, 2, 16);
  PutLittle16(structure, 12, data_start);
  PutLittle16(structure, 14, size);
  return structure;
}

std::string With(std::string bytes, size_t at, char value) {
  bytes[at] = value;
  return bytes;
}

std::string WithHeaderLength(std::string bytes, int length) {
  PutLittle16(bytes, 8, length);
  return bytes;
}

std::string Layout(const TableHeader& header) {
  std::string layout;
  for (const FieldLayout& f : header.fields) {
    layout += f.info.name + " " + f.info.type + std::to_string(f.info.width) + "@" +
              std::to_string(f.offset) + ";";
  }
  return layout + " " + header.code_page;
}

const std::string kBacklinkPath = "..\\datos\\horarios.dbc";

TEST(DbfHeaderTest, HeadersThatAgreeWithThemselvesAreRead) {
  const std::string backlink(263, '\0');
  const std::string named_backlink = kBacklinkPath + std::string(263 - kBacklinkPath.size(), '\0');
  // A dBASE IV character field of 300 bytes: the decimals byte holds the width's high byte.
  const std::vector<Field> wide = {{"TEXTO", 'C', 300 - 256, 1}, {"NUM", 'N', 3}};
  std::string wide_table = DbaseTable(0x03, "", wide, {});
  PutLittle16(wide_table, 10, 1 + 300 + 3);
  struct Case {
    std::string what;
    std::string bytes;
    std::string layout;
  };
  const std::string plain = "NOMBRE C5@1;NUM N3@6; windows-1252";
  const std::vector<Case> cases = {
      {"dBASE IV", DbaseTable(0x03), plain},
      {"dBASE III with memo", DbaseTable(0x83), plain},
      {"FoxPro 2", DbaseTable(0xF5), plain},
      {"FoxPro 2 with a blank backlink", DbaseTable(0xF5, backlink), plain},
      {"FoxPro 2 with a backlink path", DbaseTable(0xF5, named_backlink), plain},
      {"Visual FoxPro", DbaseTable(0x30, backlink), plain},
      {"Visual FoxPro of a database", DbaseTable(0x30, named_backlink), plain},
      {"wide character field", wide_table, "TEXTO C300@1;NUM N3@301; windows-1252"},
      {"level 7, ANSI", Level7Table("DBWINUS0"), plain},
      {"level 7, cp850", Level7Table("DB850ES0"), "NOMBRE C5@1;NUM N3@6; ibm-850"},
      {"level 7, no driver name", Level7Table(""), plain},
      {"level 7, an unknown name but a driver id", With(Level7Table("QQQ"), 29, 0x64),
       "NOMBRE C5@1;NUM N3@6; ibm-852"},
      {"level 7 with field properties", Level7Table("DBWINUS0", FieldProperties(16, 0, 16)), plain},
      {"level 7 with a standard property and data",
       Level7Table("DBWINUS0", FieldProperties(16 + 15 + 4, 1, 31)), plain},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      EXPECT_EQ(Layout(ReadHeader(c.bytes, kFile)), c.layout);
    } catch (const Error& e) {
      ADD_FAILURE() << e.what();
    }
  }
}

TEST(DbfHeaderTest, HeadersThatContradictThemselvesAreRefused) {
  const std::string dbase = DbaseTable(0x03);          // header 97, records of 9 bytes
  const std::string level7 = Level7Table("DBWINUS0");  // header 165
  std::string wide_mismatch = DbaseTable(0x03, "", {{"TEXTO", 'C', 44, 1}, {"NUM", 'N', 3}}, {});
  PutLittle16(wide_mismatch, 10, 1 + 300 + 4);
  // Bytes a misaligned header length would take for a backlink: a record's text.
  const std::string not_a_backlink(263, ' ');
  struct Case {
    std::string what;
    std::string bytes;
    std::string cause;
  };
  const std::string long_header =
      "la longitud de cabecera (98 bytes) no cuadra con sus 2 campos, que piden 97 bytes";
  const std::vector<Case> cases = {
      {"header one byte long", WithHeaderLength(dbase, 98), long_header},
      {"header one byte short", WithHeaderLength(dbase, 96),
       "la longitud de cabecera (96 bytes) no cuadra con sus 2 campos, que piden 97 bytes"},
      {"FoxPro 2, header one byte long", WithHeaderLength(DbaseTable(0xF5), 98), long_header},
      {"FoxPro 2 with a gap that is no backlink", DbaseTable(0xF5, not_a_backlink),
       "la longitud de cabecera (360 bytes) no cuadra con sus 2 campos, que piden 97 bytes"},
      {"Visual FoxPro without its backlink", DbaseTable(0x30),
       "la longitud de cabecera (97 bytes) no cuadra con sus 2 campos, que piden 360 bytes"},
      {"level 7, header one byte long", WithHeaderLength(level7, 166),
       "la longitud de cabecera (166 bytes) no cuadra con sus 2 campos, que piden 165 bytes"},
      {"level 7, field properties of another size",
       Level7Table("DBWINUS0", FieldProperties(16, 0, 16) + '\0'),
       "la longitud de cabecera (182 bytes) no cuadra con sus 2 campos, que piden 165 bytes"},
      {"level 7, property array outside the structure",
       Level7Table("DBWINUS0", FieldProperties(20, 1, 16)),
       "la longitud de cabecera (185 bytes) no cuadra"},
      {"level 7, data area outside the structure",
       Level7Table("DBWINUS0", FieldProperties(16, 0, 17)),
       "la longitud de cabecera (181 bytes) no cuadra"},
      {"record length", With(dbase, 10, 10),
       "la longitud de registro de la cabecera (10) no cuadra con sus campos (9)"},
      {"wide character field that does not add up either", wide_mismatch,
       "la longitud de registro de la cabecera (305) no cuadra con sus campos (48)"},
      {"more records than the file holds", With(dbase, 4, 3),
       "está truncada: su cabecera anuncia 3 registros de 9 bytes, que con la cabecera ocupan "
       "124 bytes, y el archivo tiene 116 bytes"},
      {"field of width 0", With(With(dbase, 32 + 32 + 16, 0), 10, 6),
       "el campo NUM tiene anchura 0"},
      {"descriptors without terminator", With(dbase, 96, '\0'),
       "la lista de campos de la cabecera no termina con el byte 0x0D"},
      {"no fields", With(dbase, 32, 0x0D), "no tiene campos"},
      {"level 7, many digits in the driver name", Level7Table("DB12345678901234567890US0"),
       "usa el controlador de idioma 'DB12345678901234567890US0', que no corresponde a ninguna "
       "página de códigos conocida"},
      {"level 7, a code page ICU lacks", Level7Table("DB9999US0"),
       "controlador de idioma 'DB9999US0'"},
      {"level 7, a name of another form", Level7Table("PARADOX"), "controlador de idioma"},
      {"level 7, no code page after DB", Level7Table("DBXXUS0"), "controlador de idioma"},
      {"level 7, control bytes in the name", Level7Table("DB\x01\x02"),
       "controlador de idioma 'DB?"
       "?'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      ReadHeader(c.bytes, kFile);
      ADD_FAILURE() << "read";
    } catch (const Error& e) {
      const std::string message = e.what();
      EXPECT_EQ(message.rfind("La tabla " + kFile.string() + " ", 0), 0u) << message;
      EXPECT_NE(message.find(c.cause), std::string::npos) << message;
    }
  }
}

}  // namespace
}  // namespace zentrova::store
