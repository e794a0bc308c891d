// The production index: the exact bytes for an empty one-tag table, and a B-tree that stays
// consistent with the table as rows are added (decoded here independently of the writer).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "store/mdx_reader.h"
#include "store/table.h"
#include "support/python.h"
#include "support/temp_folder.h"

namespace zentrova::store {
namespace {

using testing::ReadFile;
using testing::TempFolder;

uint32_t U32(const std::string& b, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
int U16(const std::string& b, size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

std::vector<FieldDef> Diashorast2Fields() {
  return {{"DIA", FieldKind::kText, 10},    {"HORA", FieldKind::kText, 10},
          {"INICIO", FieldKind::kText, 20}, {"FIN", FieldKind::kText, 20},
          {"DIHO", FieldKind::kText, 8},    {"MARCOXML", FieldKind::kText, 15},
          {"HINI", FieldKind::kText, 8},    {"HFIN", FieldKind::kText, 8},
          {"TIPO", FieldKind::kText, 8},    {"RECREO", FieldKind::kLogical},
          {"CODIGO", FieldKind::kText, 10}, {"ORDEN", FieldKind::kWholeNumber}};
}

// The one-tag example index, every byte not set being zero; date bytes masked to zero.
std::string ExampleIndex() {
  std::string x(4096, '\0');
  auto put = [&](size_t at, const std::string& bytes) { x.replace(at, bytes.size(), bytes); };
  put(0x0000, "\x02");
  put(0x0004, "DIASHORAST2");
  put(0x0014, std::string("\x02\x00\x00\x04\x01\x30\x20\x00\x01\x00\x02\x57", 12));
  put(0x0020, std::string("\x08\x00\x00\x00", 4));
  put(0x0211, "\x01");
  put(0x0220, std::string("\x04\x00\x00\x00"
                          "ORDEN",
                          9));
  put(0x022F, std::string("\x10\x00\x00\x00\x02\x4E", 6));
  put(0x0800, std::string("\x06\x00\x00\x00\x02\x00\x00\x00\x10\x4E\x00\x57\x0C\x00\x3F\x00"
                          "\x00\x00\x10\x00\x01\x00\x00\x00",
                          24));
  put(0x0818, "ORDEN");
  put(0x08F8, std::string("\x06\x00\x00\x00\x06\x00\x00\x00", 8));
  put(0x09E0, "\x01");
  return x;
}

std::string MaskDates(std::string mdx) {
  for (size_t at : {0x0001, 0x002C, 0x0901}) mdx.replace(at, 3, 3, '\0');
  return mdx;
}

TEST(MdxTest, EmptyOneTagTableMatchesTheExampleByteForByte) {
  TempFolder folder;
  Table table(folder.path(), "DIASHORAST2.DBF");
  table.Create(Diashorast2Fields(), {{"ORDEN", "ORDEN"}});
  const std::string dbf = ReadFile(folder / "DIASHORAST2.DBF");
  ASSERT_EQ(dbf.size(), 418u);
  EXPECT_EQ(U16(dbf, 8), 417);
  EXPECT_EQ(U16(dbf, 10), 130);
  EXPECT_EQ(dbf[28], 0x01);
  EXPECT_EQ(dbf[32 + 11 * 32 + 31], 0x01);  // ORDEN's descriptor
  EXPECT_EQ(dbf[32 + 10 * 32 + 31], 0x00);
  const std::string mdx = ReadFile(folder / "DIASHORAST2.MDX");
  ASSERT_EQ(mdx.size(), 4096u);
  EXPECT_NE(mdx[1], 0);  // the date is written
  const std::string expected = ExampleIndex();
  const std::string got = MaskDates(mdx);
  for (size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(got[i], expected[i]) << "byte 0x" << std::hex << i;
  }
}

// ---- an independent decoder of the B-tree ----

struct Entry {
  std::string key;
  uint32_t record;
};

// Walks the tree under `page`, appending leaf entries in order; checks on the way that each
// interior key is the greatest key of its child's subtree.
std::string Walk(const std::string& mdx, uint32_t page, int item, std::vector<Entry>& out,
                 int key_length) {
  const std::string block = mdx.substr(page * 512u, 1024);
  const uint32_t keys = U32(block, 0);
  const uint32_t after = U32(block, 8 + item * keys);
  std::string greatest;
  for (uint32_t i = 0; i < keys; ++i) {
    const uint32_t pointer = U32(block, 8 + item * i);
    const std::string key = block.substr(8 + item * i + 4, key_length);
    if (after == 0) {
      out.push_back({key, pointer});
    } else {
      EXPECT_EQ(Walk(mdx, pointer, item, out, key_length), key);
    }
    greatest = key;
  }
  if (after != 0) greatest = Walk(mdx, after, item, out, key_length);
  return greatest;
}

struct Tag {
  std::string name, expression;
  char type;
  std::vector<Entry> entries;
};

std::map<std::string, Tag> DecodeIndex(const std::string& mdx) {
  EXPECT_EQ(U32(mdx, 32) * 512u, mdx.size());
  std::map<std::string, Tag> tags;
  for (int t = 0; t < U16(mdx, 28); ++t) {
    const size_t entry = 544 + 32 * t;
    const std::string header = mdx.substr(U32(mdx, entry) * 512u, 1024);
    Tag tag;
    tag.name = mdx.substr(entry + 4, 11).c_str();
    tag.type = header[9];
    tag.expression = header.substr(24).c_str();
    const int key_length = U16(header, 12);
    const int item = U16(header, 18);
    EXPECT_EQ(U16(header, 14), (1024 - 12) / item);
    Walk(mdx, U32(header, 0), item, tag.entries, key_length);
    EXPECT_EQ(header[246], tag.entries.empty() ? 0 : 1);
    tags[tag.name] = tag;
  }
  return tags;
}

// The number a 12-byte BCD key holds.
double NumberOfKey(const std::string& key) {
  const int digits = (static_cast<unsigned char>(key[1]) >> 2) & 0x1F;
  double value = 0;
  for (int i = 0; i < digits; ++i) {
    const int nibble = (static_cast<unsigned char>(key[2 + i / 2]) >> (i % 2 == 0 ? 4 : 0)) & 15;
    value = value * 10 + nibble;
  }
  const int point = static_cast<unsigned char>(key[0]) - 0x34;
  value *= std::pow(10.0, point - digits);
  return (key[1] & 0x80) != 0 ? -value : value;
}

TEST(MdxTest, NumericKeysAreTheBcdForm) {
  TempFolder folder;
  Table table(folder.path(), "K.DBF");
  table.Create({{"V", FieldKind::kFloat}}, {{"V", "V"}});
  table.Open();
  const std::vector<std::pair<double, std::string>> cases = {
      {0, "\x34\x01"},
      {1, "\x35\x05\x10"},
      {30, "\x36\x05\x30"},
      {123, "\x37\x0D\x12\x30"},
      {1200, "\x38\x09\x12"},
      {-5, "\x35\x85\x50"},
      {12.5, "\x36\x0D\x12\x50"},
      {0.05, "\x33\x05\x50"},
      {-123.45, "\x37\x95\x12\x34\x50"},
  };
  for (const auto& [value, key] : cases) {
    SCOPED_TRACE(::testing::PrintToString(value));
    table.Append();
    table.SetFloat("V", value);
    table.Post();
  }
  table.Close();  // the index is built when the table is closed
  const auto tags = DecodeIndex(ReadFile(folder / "K.MDX"));
  const std::vector<Entry>& entries = tags.at("V").entries;
  ASSERT_EQ(entries.size(), cases.size());
  for (const Entry& entry : entries) {
    std::string expected = cases[entry.record - 1].second;
    expected.resize(12, '\0');
    EXPECT_EQ(entry.key, expected) << cases[entry.record - 1].first;
  }
  EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return NumberOfKey(a.key) < NumberOfKey(b.key);
  }));
}

TEST(MdxTest, AppendingKeepsEveryTagConsistent) {
  TempFolder folder;
  Table table(folder.path(), "GRUPOS.DBF");
  table.Create({{"CODIGO", FieldKind::kText, 6}, {"ORDEN", FieldKind::kWholeNumber}},
               {{"ORDEN", "ORDEN"}, {"CODIGO", "CODIGO"}});
  table.Open(OpenMode::kExclusive);
  const int rows = 300;  // several leaves of 63 keys and an interior root
  for (int i = 0; i < rows; ++i) {
    table.Append();
    table.SetText("CODIGO", u"G" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)));
    table.SetInteger("ORDEN", (i * 37) % 101 - 50);  // duplicates and negatives
    table.Post();
  }
  table.First();
  table.Edit();
  table.SetInteger("ORDEN", 1000);
  table.Next();  // stores the edit, and the index follows it
  table.Close();
  const auto tags = DecodeIndex(ReadFile(folder / "GRUPOS.MDX"));
  const auto& orden = tags.at("ORDEN").entries;
  const auto& codigo = tags.at("CODIGO").entries;
  ASSERT_EQ(orden.size(), static_cast<size_t>(rows));
  ASSERT_EQ(codigo.size(), static_cast<size_t>(rows));
  EXPECT_EQ(tags.at("CODIGO").type, 'C');
  EXPECT_EQ(tags.at("ORDEN").expression, "ORDEN");
  auto value_of = [](int record) { return record == 1 ? 1000 : ((record - 1) * 37) % 101 - 50; };
  for (size_t i = 0; i < orden.size(); ++i) {
    EXPECT_EQ(NumberOfKey(orden[i].key), value_of(static_cast<int>(orden[i].record)));
    if (i > 0) {
      const double a = NumberOfKey(orden[i - 1].key);
      const double b = NumberOfKey(orden[i].key);
      EXPECT_TRUE(a < b || (a == b && orden[i - 1].record < orden[i].record)) << i;
    }
  }
  for (size_t i = 1; i < codigo.size(); ++i) {
    EXPECT_LE(codigo[i - 1].key, codigo[i].key);
    EXPECT_EQ(codigo[i].key.size(), 6u);
  }
  EXPECT_EQ(codigo.front().key, "GA    ");
  // dbfread still reads the table beside its index.
  const auto result =
      testing::RunPython("import sys, dbfread\nprint(len(list(dbfread.DBF(sys.argv[1]))))\n",
                         {(folder / "GRUPOS.DBF").string()});
  EXPECT_EQ(result.out, "300\n") << result.err;
}

// The index is replaced at every post, not rewritten in place: a second name of the old
// index keeps the old bytes, as a reader that opened it before would.
TEST(MdxTest, TheIndexIsReplacedNotRewritten) {
  TempFolder folder;
  Table table(folder.path(), "K.DBF");
  table.Create({{"ORDEN", FieldKind::kWholeNumber}}, {{"ORDEN", "ORDEN"}});
  const std::string empty_index = ReadFile(folder / "K.MDX");
  std::filesystem::create_hard_link(folder / "K.MDX", folder / "ENLACE.MDX");
  table.Open(OpenMode::kExclusive);
  table.Append();
  table.SetInteger("ORDEN", 7);
  table.Post();
  table.Close();
  EXPECT_EQ(DecodeIndex(ReadFile(folder / "K.MDX")).at("ORDEN").entries.size(), 1u);
  EXPECT_EQ(ReadFile(folder / "ENLACE.MDX"), empty_index);
}

TEST(MdxTest, ATagWeCannotRebuildStopsThePostAndLeavesTheTable) {
  TempFolder folder;
  {
    Table table(folder.path(), "F.DBF");
    table.Create({{"NOMBRE", FieldKind::kText, 10}}, {{"NOMBRE", "NOMBRE"}});
  }
  std::string mdx = ReadFile(folder / "F.MDX");
  const std::string expression = "UPPER(NOMBRE)";
  mdx.replace(4 * 512 + 24, expression.size(), expression);
  testing::WriteFile(folder / "F.MDX", mdx);
  const std::string before = ReadFile(folder / "F.DBF");
  Table table(folder.path(), "F.DBF");
  table.Open();
  table.Append();
  table.SetText("NOMBRE", u"Ana");
  try {
    table.Post();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("F.MDX"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("UPPER(NOMBRE)"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadFile(folder / "F.DBF"), before);
  EXPECT_EQ(ReadFile(folder / "F.MDX"), mdx);
}

// An index another program wrote is read only where its own offsets say it can be: every
// page it points to lies past the tag table and inside the file.
TEST(MdxTest, HostileIndexesAreRefusedBeforeAnyOffsetIsFollowed) {
  const std::filesystem::path file = "/ktemp/T.MDX";
  const std::string good = ExampleIndex();
  const MdxTags tags = ReadMdxTags(good, file);
  ASSERT_EQ(tags.index.tags.size(), 1u);
  EXPECT_EQ(tags.index.tags[0].name, "ORDEN");
  EXPECT_EQ(tags.index.tags[0].expression, "ORDEN");
  EXPECT_EQ(tags.not_rebuildable, "");

  auto with = [&](size_t at, const std::string& bytes) {
    std::string mdx = good;
    mdx.replace(at, bytes.size(), bytes);
    return mdx;
  };
  auto page_of_tag = [&](int tag, uint32_t page) {
    std::string mdx = good;
    if (tag == 2) mdx = with(0x001C, std::string("\x02\x00", 2));
    const size_t entry = 0x0220 + 32 * static_cast<size_t>(tag - 1);
    for (int i = 0; i < 4; ++i) mdx[entry + i] = static_cast<char>((page >> (8 * i)) & 0xFF);
    return mdx;
  };
  // The last page of the file still holds a whole tag header.
  EXPECT_NO_THROW(ReadMdxTags(page_of_tag(1, 7), file));

  struct Case {
    std::string what;
    std::string bytes;
    std::string cause;
  };
  const std::vector<Case> cases = {
      {"shorter than its header and tag table", good.substr(0, 2047),
       "no es un índice de producción dBASE"},
      {"another version", with(0, "\x03"), "no es un índice de producción dBASE"},
      {"more tags than slots", with(0x001C, std::string("\x30\x00", 2)),
       "anuncia 48 etiquetas y solo caben 47"},
      {"a tag count of 65535", with(0x001C, "\xFF\xFF"), "anuncia 65535 etiquetas"},
      {"tag header on the file header", page_of_tag(1, 0),
       "la etiqueta 1 apunta a la página 0, fuera de las que puede ocupar en un archivo de "
       "4096 bytes"},
      {"tag header inside the tag table", page_of_tag(1, 3), "la etiqueta 1 apunta a la página 3"},
      {"tag header past the end", page_of_tag(1, 8), "la etiqueta 1 apunta a la página 8"},
      {"a page number that wraps round in 32 bits", page_of_tag(1, 0x00800000u),
       "la etiqueta 1 apunta a la página 8388608"},
      {"the largest page number", page_of_tag(1, 0xFFFFFFFFu),
       "la etiqueta 1 apunta a la página 4294967295"},
      {"a second tag pointing nowhere", page_of_tag(2, 0), "la etiqueta 2 apunta a la página 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      ReadMdxTags(c.bytes, file);
      ADD_FAILURE() << "read";
    } catch (const Error& e) {
      const std::string message = e.what();
      EXPECT_EQ(message.rfind("El índice /ktemp/T.MDX está dañado: ", 0), 0u) << message;
      EXPECT_NE(message.find(c.cause), std::string::npos) << message;
    }
  }
}

}  // namespace
}  // namespace zentrova::store
