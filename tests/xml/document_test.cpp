#include "xml/document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/python.h"
#include "support/temp_folder.h"

namespace zentrova::xml {
namespace {

using ::testing::HasSubstr;
using testing::ReadFile;
using ::testing::StartsWith;
using testing::TempFolder;
using testing::WriteFile;

// The envelope of an export: two groups share the name MATERIAS, another stands between them.
constexpr char kEnvelope[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- exportación -->
<SERVICIO version="1">
  <BLOQUE_DATOS>
    <dato nombre_dato="ANNO">2024</dato>
    <grupo_datos seq="MATERIAS">
      <grupo_datos><dato nombre_dato="C">M1</dato><dato>Matemáticas</dato></grupo_datos>
      <grupo_datos>
        <dato>M2</dato>
        <dato> Lengua </dato>
        <dato>extra</dato>
      </grupo_datos>
    </grupo_datos>
    <grupo_datos seq="EMPLEADOS"><grupo_datos><dato>E1</dato></grupo_datos></grupo_datos>
    <grupo_datos seq="MATERIAS">
      <grupo_datos><dato>M3</dato><dato>Física</dato></grupo_datos>
    </grupo_datos>
  </BLOQUE_DATOS>
</SERVICIO>
)";

class DocumentTest : public ::testing::Test {
 protected:
  // Writes the bytes to a file and loads it, expecting it to be well formed.
  void LoadBytes(std::string_view bytes) {
    WriteFile(folder_ / "in.xml", bytes);
    const LoadResult result = document_.Load(folder_ / "in.xml");
    ASSERT_TRUE(result.well_formed) << result.message;
  }
  // Saves and returns the bytes written.
  std::string SavedBytes() {
    document_.Save(folder_ / "out.xml");
    return ReadFile(folder_ / "out.xml");
  }

  TempFolder folder_;
  Document document_;
};

std::vector<std::u16string> Texts(const NodeList& list) {
  std::vector<std::u16string> texts;
  for (size_t i = 0; i < list.Length(); ++i) texts.push_back(list.Item(i).Text());
  return texts;
}

// The exit status and complaints of an independent parser.
testing::CommandResult Xmllint(const std::filesystem::path& file) {
  return testing::RunCommand("xmllint --noout " + testing::ShellQuote(file.string()));
}

TEST_F(DocumentTest, GroupQueryGivesTheRecordsOfEveryGroupOfThatNameInDocumentOrder) {
  LoadBytes(kEnvelope);
  const NodeList records =
      document_.SelectNodes(u"/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq=\"MATERIAS\"]/grupo_datos");
  ASSERT_EQ(records.Length(), 3u);
  std::vector<std::u16string> codes;
  for (size_t i = 0; i < records.Length(); ++i) {
    codes.push_back(records.Item(i).SelectNodes(u"dato").Item(0).Text());
  }
  EXPECT_EQ(codes, (std::vector<std::u16string>{u"M1", u"M2", u"M3"}));
  EXPECT_EQ(Texts(records.Item(1).SelectNodes(u"dato")),
            (std::vector<std::u16string>{u"M2", u" Lengua ", u"extra"}));
  EXPECT_EQ(records.Item(0).SelectNodes(u"dato").Item(1).Text(), u"Matemáticas");
  EXPECT_FALSE(records.Item(3));
  EXPECT_FALSE(records.Item(0).SelectNodes(u"dato").Item(2));
  EXPECT_EQ(
      document_.SelectNodes(u"/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq=\"UNIDADES\"]/grupo_datos")
          .Length(),
      0u);
}

TEST_F(DocumentTest, SingleNodesFirstChildAndAttributes) {
  LoadBytes(kEnvelope);
  const Node block = document_.SelectSingleNode(u"/SERVICIO/BLOQUE_DATOS");
  ASSERT_TRUE(block);
  EXPECT_EQ(block.Name(), u"BLOQUE_DATOS");
  // Whitespace between elements is not kept: the first child is the first element.
  EXPECT_EQ(block.FirstChild().Name(), u"dato");
  EXPECT_EQ(block.FirstChild().Text(), u"2024");
  EXPECT_EQ(block.FirstChild().Attribute(u"nombre_dato"), u"ANNO");
  EXPECT_EQ(block.FirstChild().Attribute(u"missing"), u"");
  EXPECT_EQ(document_.DocumentElement().Name(), u"SERVICIO");
  EXPECT_EQ(document_.DocumentElement().Attribute(u"version"), u"1");
  EXPECT_EQ(document_.SelectSingleNode(u"/SERVICIO").Name(), u"SERVICIO");
  EXPECT_FALSE(document_.SelectSingleNode(u"/NADA"));
  EXPECT_EQ(document_.DeclaredEncoding(), u"UTF-8");
}

TEST_F(DocumentTest, TextConcatenatesDescendantTextAndCdataUntrimmed) {
  LoadBytes("<a> x <b>y<![CDATA[<z>&]]><c>1</c></b><!--no--><?pi no?>w&amp;&#233; </a>");
  EXPECT_EQ(document_.DocumentElement().Text(), u" x y<z>&1w&é ");
  EXPECT_EQ(document_.Root().Text(), u" x y<z>&1w&é ");
  EXPECT_EQ(document_.SelectSingleNode(u"/a/b/c").Text(), u"1");
  EXPECT_EQ(document_.SelectSingleNode(u"/a/b/c").FirstChild().Text(), u"1");
}

TEST_F(DocumentTest, InvalidQueryRaises) {
  LoadBytes(kEnvelope);
  EXPECT_THROW(document_.SelectNodes(u"/SERVICIO[@"), Error);
  EXPECT_THROW(document_.SelectNodes(u"count(/SERVICIO)"), Error);
  EXPECT_THROW(document_.SelectNodes(u"//@seq"), Error);
}

}  // namespace
}  // namespace zentrova::xml
