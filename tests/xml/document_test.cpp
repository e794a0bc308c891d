#include "xml/document.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/python.h"
#include "support/temp_folder.h"
#include "text/encoding.h"
#include "xml/file_io.h"

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
  // Writes the bytes to a file and loads it; a failure when it is not well formed, for
  // ASSERT_TRUE, so that a test stops at a failed load.
  ::testing::AssertionResult LoadBytes(std::string_view bytes) {
    WriteFile(folder_ / "in.xml", bytes);
    const LoadResult result = document_.Load(folder_ / "in.xml");
    if (result.well_formed) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << result.message;
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

#ifndef _WIN32
// The exit status and complaints of an independent parser. xmllint is Linux's: the Windows
// build leaves its checks out; the saved bytes they check are compared all the same, and
// the Linux build checks the same bytes with xmllint.
testing::CommandResult Xmllint(const std::filesystem::path& file) {
  return testing::RunCommand("xmllint --noout " + testing::ShellQuote(file.string()));
}
#endif

TEST_F(DocumentTest, GroupQueryGivesTheRecordsOfEveryGroupOfThatNameInDocumentOrder) {
  ASSERT_TRUE(LoadBytes(kEnvelope));
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
  ASSERT_TRUE(LoadBytes(kEnvelope));
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
  ASSERT_TRUE(
      LoadBytes("<a> x <b>y<![CDATA[<z>&]]><c>1</c></b><!--no--><?pi no?>w&amp;&#233; </a>"));
  EXPECT_EQ(document_.DocumentElement().Text(), u" x y<z>&1w&é ");
  EXPECT_EQ(document_.Root().Text(), u" x y<z>&1w&é ");
  EXPECT_EQ(document_.SelectSingleNode(u"/a/b/c").Text(), u"1");
  EXPECT_EQ(document_.SelectSingleNode(u"/a/b/c").FirstChild().Text(), u"1");
}

TEST_F(DocumentTest, InvalidQueryRaises) {
  ASSERT_TRUE(LoadBytes(kEnvelope));
  EXPECT_THROW(document_.SelectNodes(u"/SERVICIO[@"), Error);
  EXPECT_THROW(document_.SelectNodes(u"count(/SERVICIO)"), Error);
  EXPECT_THROW(document_.SelectNodes(u"//@seq"), Error);
}

// UTF-16 bytes written by hand, so that the test does not lean on the converter it checks.
std::string Utf16Bytes(std::u16string_view text, bool little_endian, bool bom) {
  std::string bytes;
  std::u16string all = bom ? u"\uFEFF" + std::u16string(text) : std::u16string(text);
  for (const char16_t c : all) {
    const char low = static_cast<char>(c & 0xFF);
    const char high = static_cast<char>(c >> 8);
    bytes += little_endian ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

// Latin-1 bytes as UTF-32LE with its byte-order mark.
std::string Utf32LittleEndianWithBom(std::string_view latin1) {
  std::string bytes("\xFF\xFE\0\0", 4);
  for (const char c : latin1) bytes += std::string{c, '\0', '\0', '\0'};
  return bytes;
}

struct EncodingCase {
  const char* label;
  std::string file;           // bytes loaded
  std::u16string encoding;    // DeclaredEncoding()
  std::u16string text;        // text of the root element
  std::u16string attribute;   // its attribute t
  std::string saved;          // bytes saved back when nothing changed
  bool xmllint_reads = true;  // libxml2 has no UTF-32
};

// Cases show as their label in test names and failures, not as their bytes.
void PrintTo(const EncodingCase& c, std::ostream* out) { *out << c.label; }

std::string PrintCase(const ::testing::TestParamInfo<EncodingCase>& info) {
  return info.param.label;
}

class EncodingRoundTrip : public ::testing::TestWithParam<EncodingCase> {};

const std::u16string kUtf16Document =
    u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><!--inicio--><a t=\"\u20AC\">Educaci\u00F3n "
    u"\u0141\u00F3d\u017A \U0001F600</a><!--fin-->";

const EncodingCase kEncodingCases[] = {
    {"Latin1",
     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!--c\xF3mo--><a t=\"\xE1\">Educaci\xF3n</a>"
     "<?fin x?>",
     u"ISO-8859-1", u"Educación", u"á",
     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!--c\xF3mo--><a t=\"\xE1\">Educaci\xF3n</a>"
     "<?fin x?>"},
    {"Latin1WhitespaceBetweenElementsDropped",
     "<?xml version='1.0' encoding='iso-8859-1'?>\r\n<!-- c -->\r\n<a t=\"x\">\r\n  "
     "<b>Educaci\xF3n</b>\r\n</a>\r\n",
     u"iso-8859-1", u"Educación", u"x",
     "<?xml version='1.0' encoding='iso-8859-1'?><!-- c --><a t=\"x\"><b>Educaci\xF3n</b></a>"},
    // The declaration as the file spells it, and the document type, stay as they were.
    {"DeclarationSpellingAndDocumentTypeKept",
     "<?xml version='1.0'  encoding='UTF-8' standalone='yes' ?>\n"
     "<!DOCTYPE a [<!ELEMENT a (#PCDATA)><!ATTLIST a t CDATA #IMPLIED>]>\n<a t=\"x\">é</a>",
     u"UTF-8", u"é", u"x",
     "<?xml version='1.0'  encoding='UTF-8' standalone='yes' ?>"
     "<!DOCTYPE a [<!ELEMENT a (#PCDATA)><!ATTLIST a t CDATA #IMPLIED>]><a t=\"x\">é</a>"},
    {"Latin9", "<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><a t=\"\xA4\">\xBD\xE9</a>",
     u"ISO-8859-15", u"œé", u"€",
     "<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><a t=\"\xA4\">\xBD\xE9</a>"},
    {"Windows1252",
     "<?xml version=\"1.0\" encoding=\"windows-1252\"?><!--a--><a t=\"\x80\">\x93hola\x94 "
     "ni\xF1o</a>",
     u"windows-1252", u"“hola” niño", u"€",
     "<?xml version=\"1.0\" encoding=\"windows-1252\"?><!--a--><a t=\"\x80\">\x93hola\x94 "
     "ni\xF1o</a>"},
    {"Utf8",
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!--ñ--><a t=\"€\">Educación 😀</a><!--fin-->",
     u"UTF-8", u"Educación 😀", u"€",
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!--ñ--><a t=\"€\">Educación 😀</a><!--fin-->"},
    {"Utf8BomIsNotWrittenBack",
     "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?><a t=\"\">é</a>", u"utf-8", u"é", u"",
     "<?xml version=\"1.0\" encoding=\"utf-8\"?><a t=\"\">é</a>"},
    {"Utf8WithoutDeclaration", "<a t=\"1\">Educación</a>", u"", u"Educación", u"1",
     "<a t=\"1\">Educación</a>"},
    // A declaration readable as ASCII was not written in UTF-16: the bytes are UTF-8.
    {"Utf16DeclaredInUtf8Bytes", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a t=\"€\">ó</a>",
     u"UTF-16", u"ó", u"€",
     Utf16Bytes(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a t=\"\u20AC\">\u00F3</a>", true,
                true)},
    {"EbcdicDeclaredInUtf8Bytes", "<?xml version=\"1.0\" encoding=\"IBM037\"?><a t=\"x\">ó</a>",
     u"IBM037", u"ó", u"x",
     "\x4C\x6F\xA7\x94\x93\x40\xA5\x85\x99\xA2\x89\x96\x95\x7E\x7F\xF1\x4B\xF0\x7F\x40"
     "\x85\x95\x83\x96\x84\x89\x95\x87\x7E\x7F\xC9\xC2\xD4\xF0\xF3\xF7\x7F\x6F\x6E"
     "\x4C\x81\x40\xA3\x7E\x7F\xA7\x7F\x6E\xCE\x4C\x61\x81\x6E"},
    {"Utf32DeclaredInUtf8Bytes", "<?xml version=\"1.0\" encoding=\"UTF-32\"?><a t=\"x\">é</a>",
     u"UTF-32", u"é", u"x",
     Utf32LittleEndianWithBom("<?xml version=\"1.0\" encoding=\"UTF-32\"?><a t=\"x\">\xE9</a>"),
     false},
    {"Utf16LittleEndian", Utf16Bytes(kUtf16Document, true, true), u"UTF-16", u"Educación Łódź 😀",
     u"€", Utf16Bytes(kUtf16Document, true, true)},
    {"Utf16BigEndianSavedLittleEndian", Utf16Bytes(kUtf16Document, false, true), u"UTF-16",
     u"Educación Łódź 😀", u"€", Utf16Bytes(kUtf16Document, true, true)},
    {"Utf16WithoutBomSavedWithBom", Utf16Bytes(kUtf16Document, true, false), u"UTF-16",
     u"Educación Łódź 😀", u"€", Utf16Bytes(kUtf16Document, true, true)},
    {"Utf16BigEndianDeclared",
     Utf16Bytes(u"<?xml version=\"1.0\" encoding=\"UTF-16BE\"?><a t=\"\u20AC\">\u00F3</a>", false,
                false),
     u"UTF-16BE", u"ó", u"€",
     Utf16Bytes(u"<?xml version=\"1.0\" encoding=\"UTF-16BE\"?><a t=\"\u20AC\">\u00F3</a>", false,
                true)},
};

TEST_P(EncodingRoundTrip, LoadsAndSavesInTheDeclaredEncoding) {
  const EncodingCase& c = GetParam();
  TempFolder folder;
  WriteFile(folder / "in.xml", c.file);
  Document document;
  const LoadResult result = document.Load(folder / "in.xml");
  ASSERT_TRUE(result.well_formed) << result.message;
  EXPECT_EQ(document.DeclaredEncoding(), c.encoding);
  EXPECT_EQ(document.DocumentElement().Text(), c.text);
  EXPECT_EQ(document.DocumentElement().Attribute(u"t"), c.attribute);

  document.Save(folder / "out.xml");
  EXPECT_EQ(ReadFile(folder / "out.xml"), c.saved);
#ifndef _WIN32
  if (c.xmllint_reads) {
    const testing::CommandResult lint = Xmllint(folder / "out.xml");
    EXPECT_EQ(lint.exit_code, 0) << lint.err;
  }
#endif

  Document again;
  ASSERT_TRUE(again.Load(folder / "out.xml").well_formed);
  EXPECT_EQ(again.DocumentElement().Text(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Encodings, EncodingRoundTrip, ::testing::ValuesIn(kEncodingCases),
                         PrintCase);

TEST(LongDocument, CharactersSplitBetweenDecodedPiecesSurvive) {
  // Decoding goes 65536 UTF-16 units at a time: put a surrogate pair across every boundary
  // position near the first one.
  for (size_t filler = 65530; filler < 65536; ++filler) {
    const std::u16string text = std::u16string(filler, u'x') + u"\U0001F600\u00E9";
    TempFolder folder;
    WriteFile(folder / "in.xml", Utf16Bytes(u"<a>" + text + u"</a>", true, true));
    Document document;
    ASSERT_TRUE(document.Load(folder / "in.xml").well_formed);
    ASSERT_EQ(document.DocumentElement().Text(), text) << filler;
  }
}

struct MissingCharacterCase {
  const char* label;
  const char* encoding;
  std::u16string text;
  std::string saved_element;
};
void PrintTo(const MissingCharacterCase& c, std::ostream* out) { *out << c.label; }

class MissingCharacter : public ::testing::TestWithParam<MissingCharacterCase> {};

TEST_P(MissingCharacter, IsWrittenAsADecimalReference) {
  const MissingCharacterCase& c = GetParam();
  TempFolder folder;
  WriteFile(folder / "in.xml",
            std::string("<?xml version=\"1.0\" encoding=\"") + c.encoding + "\"?><a/>");
  Document document;
  ASSERT_TRUE(document.Load(folder / "in.xml").well_formed);
  document.DocumentElement().SetText(c.text);
  document.DocumentElement().SetAttribute(u"t", c.text);
  document.Save(folder / "out.xml");
  EXPECT_EQ(ReadFile(folder / "out.xml"), std::string("<?xml version=\"1.0\" encoding=\"") +
                                              c.encoding + "\"?><a t=\"" + c.saved_element + "\">" +
                                              c.saved_element + "</a>");
#ifndef _WIN32
  const testing::CommandResult lint = Xmllint(folder / "out.xml");
  EXPECT_EQ(lint.exit_code, 0) << lint.err;
#endif
  Document again;
  ASSERT_TRUE(again.Load(folder / "out.xml").well_formed);
  EXPECT_EQ(again.DocumentElement().Text(), c.text);
  EXPECT_EQ(again.DocumentElement().Attribute(u"t"), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, MissingCharacter,
    ::testing::Values(MissingCharacterCase{"Latin1Euro", "ISO-8859-1", u"5 € ñ", "5 &#8364; \xF1"},
                      MissingCharacterCase{"Windows1252Polish", "windows-1252", u"Łódź €",
                                           "&#321;\xF3"
                                           "d&#378; \x80"},
                      MissingCharacterCase{"AsciiOutsidePlane0", "US-ASCII", u"a😀b",
                                           "a&#128512;b"}),
    [](const auto& info) { return std::string(info.param.label); });

struct IllFormedCase {
  const char* label;
  std::string file;
  size_t line;
  size_t column;
};
void PrintTo(const IllFormedCase& c, std::ostream* out) { *out << c.label; }

class IllFormed : public ::testing::TestWithParam<IllFormedCase> {};

TEST_P(IllFormed, LeavesTheDocumentEmptyAndSaysWhere) {
  const IllFormedCase& c = GetParam();
  TempFolder folder;
  WriteFile(folder / "in.xml", c.file);
  Document document;
  const LoadResult result = document.Load(folder / "in.xml");
  EXPECT_FALSE(result.well_formed);
  EXPECT_FALSE(result.message.empty());
  EXPECT_EQ(result.line, c.line);
  EXPECT_EQ(result.column, c.column);
  EXPECT_FALSE(document.DocumentElement());
  EXPECT_FALSE(document.Root().FirstChild());
  EXPECT_EQ(document.DeclaredEncoding(), u"");
}

INSTANTIATE_TEST_SUITE_P(
    Forms, IllFormed,
    ::testing::Values(
        IllFormedCase{"UnclosedTag", "<?xml version=\"1.0\"?>\n<a>\n  <b>texto</b>\n", 3, 15},
        IllFormedCase{"MismatchedTag", "<?xml version=\"1.0\"?>\n<a>\n  <bé>x</c>\n</a>", 3, 10},
        IllFormedCase{"BrokenAttribute", "<a\n b=c/>", 2, 4}, IllFormedCase{"Empty", "", 1, 1},
        IllFormedCase{"NulCharacter", std::string("<a>\n x\0</a>", 11), 2, 3},
        IllFormedCase{"ControlCharacter", "<a>\n  é\x0B</a>", 2, 4},
        IllFormedCase{"ControlCharacterInAComment", "<a/><!-- \x1B -->", 1, 10},
        IllFormedCase{"NonCharacter", "<a>\xEF\xBF\xBF</a>", 1, 4},
        IllFormedCase{"ReferenceToAControlCharacter", "<a t=\"&#x1;\"/>", 1, 7},
        IllFormedCase{"ReferenceBeyondUnicode", "<a>\n&#61180306;</a>", 2, 1},
        IllFormedCase{"ReferenceOfManyDigits", "<a>&#99999999999999999999;</a>", 1, 4},
        IllFormedCase{"TwoRootElements", "<?xml version=\"1.0\"?>\n<a/>\n<b><c/></b>", 3, 1},
        IllFormedCase{"TextAfterTheRoot", "<a></a>\n x", 2, 2},
        IllFormedCase{"TextBeforeTheRoot", "x<a/>", 1, 1},
        // Parsing changes the text before the fault (references, line ends, the ends of
        // names): the position is that of the file as it was.
        IllFormedCase{"AfterTextTheParserRewrote",
                      "<a\r\n t=\"1&amp;\r\n2\">\r\n<b\n>x&lt;\r\ny</b>\r\n<c>&#233;\n</d></a>", 8,
                      3}),
    [](const auto& info) { return std::string(info.param.label); });

// A reference to an entity pugixml does not know would be read as its own text.
INSTANTIATE_TEST_SUITE_P(
    EntityReferences, IllFormed,
    ::testing::Values(
        IllFormedCase{"ExternalEntity",
                      "<?xml version=\"1.0\"?>\n<!DOCTYPE a [\n"
                      "  <!ENTITY xxe SYSTEM \"file:///etc/passwd\">\n]>\n<a>\n  <b>x&xxe;</b></a>",
                      6, 7},
        IllFormedCase{"InternalEntity",
                      "<!DOCTYPE a [<!ENTITY lol \"lol\"><!ENTITY lol1 \"&lol;&lol;\">]>"
                      "<a>&lol1;</a>",
                      1, 65},
        IllFormedCase{"UndeclaredEntity", "<a>\n<b t=\"1\">&lol9;</b></a>", 2, 10},
        IllFormedCase{"InAnAttributeValue", "<a t='&amp;&nbsp;'/>", 1, 12},
        IllFormedCase{"UpperCasePredefinedName", "<a>&AMP;</a>", 1, 4},
        IllFormedCase{"NonAsciiName", "<a>Educación &año;</a>", 1, 14},
        IllFormedCase{"OutsideTheRoot", "<a/>&x;", 1, 5},
        // The document type ends where pugixml ends it, not at a bracket.
        IllFormedCase{"AfterADocumentTypeWithoutItsBracket",
                      "<!DOCTYPE a [ <!ELEMENT a ANY> > <a>&xxe;</a>", 1, 37},
        IllFormedCase{"AfterMarkupInTheDocumentType",
                      "<!DOCTYPE a [<!ENTITY e \"x>y\"><![IGNORE[<!ENTITY f 'z'>]]>"
                      "<!-- > --><?p > ?>]><a>&e;</a>",
                      1, 82}),
    [](const auto& info) { return std::string(info.param.label); });

// What cannot be read is named with the attribute and element where it stands, so that it
// can be found in the file.
TEST_F(DocumentTest, AFaultNamesWhereItStands) {
  const struct {
    std::string file;
    std::string message;
  } cases[] = {
      {"<!DOCTYPE a SYSTEM \"a.dtd\"><a>&xxe;</a>",
       "la referencia a la entidad 'xxe' en el elemento 'a' no se admite: solo se leen &amp;, "
       "&lt;, &gt;, &quot;, &apos; y las referencias numéricas a caracteres"},
      {"<a><dato nombre_dato=\"X\">A\x01</dato></a>",
       "carácter de control U+0001 en el elemento 'dato', que XML no admite"},
      {"<a><b/>\x02</a>", "carácter de control U+0002 en el elemento 'a', que XML no admite"},
      {"<a><b></b><!-- \x03 --></a>",
       "carácter de control U+0003 en el elemento 'a', que XML no admite"},
      {"<a><año t = 'x' u=\"&#x1;\"/></a>",
       "la referencia &#x1; en el atributo 'u' del elemento 'año' nombra el carácter U+0001, que "
       "XML no admite"},
      {"<a t='&e;'/>",
       "la referencia a la entidad 'e' en el atributo 't' del elemento 'a' no se admite: solo se "
       "leen &amp;, &lt;, &gt;, &quot;, &apos; y las referencias numéricas a caracteres"},
      {"<a\x04/>", "carácter de control U+0004 en el elemento 'a', que XML no admite"},
      {"<a/>\x05", "carácter de control U+0005, que XML no admite"},
      {"\xEF\xBF\xBE<a/>", "carácter U+FFFE, que XML no admite"},
  };
  for (const auto& c : cases) {
    WriteFile(folder_ / "in.xml", c.file);
    const LoadResult result = document_.Load(folder_ / "in.xml");
    EXPECT_FALSE(result.well_formed) << c.file;
    EXPECT_EQ(result.message, c.message) << c.file;
  }
  // A name of any length is cut short in the message.
  for (const std::string& file : {"<a>&" + std::string(100000, 'n') + ";</a>",
                                  "<" + std::string(100000, 'n') + ">\x01</a>"}) {
    WriteFile(folder_ / "in.xml", file);
    EXPECT_LT(document_.Load(folder_ / "in.xml").message.size(), 300u);
  }
}

TEST_F(DocumentTest, PredefinedEntitiesAndReferenceLikeTextLoad) {
  // Entity values and defaults of the document type are never used; comments, CDATA sections
  // and processing instructions hold plain text; an ampersand that begins no reference is
  // text, as pugixml reads it.
  ASSERT_TRUE(
      LoadBytes("<!DOCTYPE a [<!ENTITY e \"&f;\"><!ATTLIST a t CDATA '&g;'><!-- &h; -->]>"
                "<a t=\"&lt;&gt;&quot;&apos;&amp;\">&amp;lol;<![CDATA[&cdata;]]><!--&comment;-->"
                "<?pi &pi;?> AT&T &amp &#65;</a>"));
  EXPECT_EQ(document_.DocumentElement().Attribute(u"t"), u"<>\"'&");
  EXPECT_EQ(document_.DocumentElement().Text(), u"&lol;&cdata; AT&T &amp A");
}

// `levels` elements each inside the one before, the innermost holding `text`.
std::string Nested(size_t levels, std::string_view text) {
  std::string xml;
  xml.reserve(levels * 7 + text.size());
  for (size_t i = 0; i < levels; ++i) xml += "<a>";
  xml += text;
  for (size_t i = 0; i < levels; ++i) xml += "</a>";
  return xml;
}

TEST_F(DocumentTest, NestingDeeperThanTheLimitIsRefused) {
  // A million levels: neither the check nor pugixml may run out of stack on them.
  WriteFile(folder_ / "in.xml", "<r>\n" + Nested(1000000, "x") + "</r>");
  LoadResult result = document_.Load(folder_ / "in.xml");
  EXPECT_FALSE(result.well_formed);
  EXPECT_EQ(result.message,
            "los elementos están anidados a más de 256 niveles, el máximo que se admite");
  EXPECT_EQ(result.line, 2u);
  EXPECT_EQ(result.column, 255u * 3 + 1);  // the 257th level, the root being the first
  EXPECT_FALSE(document_.Root().FirstChild());

  // Siblings and elements closed before do not add up.
  ASSERT_TRUE(LoadBytes("<r>" + Nested(kMaxElementDepth - 2, "<b/><b></b>x") +
                        Nested(kMaxElementDepth - 1, "y") + "</r>"));
  EXPECT_EQ(document_.SelectNodes(u"//a").Length(), 2 * kMaxElementDepth - 3);
  for (const std::string_view deeper : {"<b>x</b>", "<b/>"}) {
    WriteFile(folder_ / "in.xml", Nested(kMaxElementDepth, deeper));
    EXPECT_FALSE(document_.Load(folder_ / "in.xml").well_formed) << deeper;
  }
}

TEST_F(DocumentTest, NestingIsLimitedWhenBuildingToo) {
  Node node = document_.Root();
  for (size_t depth = 1; depth <= kMaxElementDepth; ++depth) node = node.AppendElement(u"a");
  EXPECT_THROW(node.AppendElement(u"b"), Error);
  document_.Root().RemoveChild(document_.DocumentElement());
  EXPECT_FALSE(document_.DocumentElement());
}

TEST_F(DocumentTest, ReferencesXmlAllowsAndReferenceLikeTextLoad) {
  WriteFile(folder_ / "in.xml",
            "<a t=\"&#9;&#x10FFFF;\">&#10;&#13;&#xD7FF;<!-- &#1; --><![CDATA[&#0;]]>"
            "<?pi &#2;?></a>");
  const LoadResult result = document_.Load(folder_ / "in.xml");
  ASSERT_TRUE(result.well_formed) << result.message;
  EXPECT_EQ(document_.DocumentElement().Attribute(u"t"), u"\t\U0010FFFF");
}

TEST_F(DocumentTest, FailedLoadEmptiesADocumentLoadedBefore) {
  ASSERT_TRUE(LoadBytes(kEnvelope));
  WriteFile(folder_ / "bad.xml", "<a><b></a>");
  EXPECT_FALSE(document_.Load(folder_ / "bad.xml").well_formed);
  EXPECT_FALSE(document_.DocumentElement());
  EXPECT_EQ(document_.SelectNodes(u"//dato").Length(), 0u);
}

TEST_F(DocumentTest, UnsupportedEncodingNamesTheFileAndTheEncoding) {
  const std::filesystem::path file = folder_ / "in.xml";
  WriteFile(file, "<?xml version=\"1.0\" encoding=\"foo-bar\"?><a/>");
  try {
    document_.Load(file);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "El archivo " + file.string() +
                                         " declara la codificación 'foo-bar', que no se admite.");
  }
}

TEST_F(DocumentTest, UnsupportedEncodingAfterAByteOrderMarkRaisesToo) {
  // The mark decides the reading, but the document could not be saved in what it declares.
  const std::filesystem::path file = folder_ / "in.xml";
  WriteFile(file, "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"foo-bar\"?><a/>");
  EXPECT_THROW(document_.Load(file), Error);
  EXPECT_FALSE(document_.DocumentElement());
  // ICU would match this to windows-1252 by skipping what is not a letter or digit.
  WriteFile(file, "<?xml version=\"1.0\" encoding=\"win dows-1252\"?><a/>");
  EXPECT_THROW(document_.Load(file), Error);
}

struct InvalidBytesCase {
  const char* label;
  std::string file;
  std::string encoding_and_byte;  // in the message
  size_t line;
  size_t column;
};
void PrintTo(const InvalidBytesCase& c, std::ostream* out) { *out << c.label; }

class InvalidBytes : public ::testing::TestWithParam<InvalidBytesCase> {};

// Bytes that do not fit the encoding make the file one that cannot be read, like any fault of
// form: the document stays empty and the result says where, as a line and column and as a byte.
TEST_P(InvalidBytes, LeaveTheDocumentEmptyAndSayWhere) {
  const InvalidBytesCase& c = GetParam();
  TempFolder folder;
  WriteFile(folder / "in.xml", c.file);
  Document document;
  const LoadResult result = document.Load(folder / "in.xml");
  EXPECT_FALSE(result.well_formed);
  EXPECT_THAT(result.message,
              HasSubstr("bytes que no son válidos en la codificación " + c.encoding_and_byte));
  EXPECT_EQ(result.line, c.line);
  EXPECT_EQ(result.column, c.column);
  EXPECT_FALSE(document.Root().FirstChild());
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, InvalidBytes,
    ::testing::Values(
        // Latin-1 bytes in a file that says nothing, so UTF-8.
        InvalidBytesCase{"Latin1InUndeclaredUtf8", "<a>\n<b>Educaci\xF3n</b></a>",
                         "'UTF-8' (byte 15 del archivo)", 2, 11},
        InvalidBytesCase{"StrayByteInDeclaredUtf8",
                         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a>Mar\xE9"
                         "a</a>",
                         "'UTF-8' (byte 46 del archivo)", 2, 7},
        InvalidBytesCase{"EightBitByteInAscii",
                         "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\n<a>\xE9</a>",
                         "'US-ASCII' (byte 46 del archivo)", 2, 4},
        InvalidBytesCase{"UnpairedSurrogateInUtf16", std::string("\xFF\xFE<\0a\0>\0\0\xD8<\0", 10),
                         "'UTF-16LE' (byte 9 del archivo)", 1, 4},
        // 0x81 stands for no character in windows-1252, though ICU reads it as U+0081.
        InvalidBytesCase{"ByteWindows1252LeavesUndefined",
                         "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<a t=\"\x80\">\r\n"
                         "Ni\xF1o \x81</a>",
                         "'windows-1252' (byte 63 del archivo)", 3, 6},
        InvalidBytesCase{"ByteWindows1250LeavesUndefined",
                         "<?xml version=\"1.0\" encoding=\"Windows-1250\"?><a>\x83</a>",
                         "'Windows-1250' (byte 49 del archivo)", 1, 49}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(InvalidBytesOfWindows1252, AreExactlyTheFiveItLeavesUndefined) {
  TempFolder folder;
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"cp1252\"?>";
  std::string every_defined_byte;
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const char c = static_cast<char>(byte);
    Document document;
    if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) {
      WriteFile(folder / "in.xml", declaration + "<a>" + c + "</a>");
      const LoadResult result = document.Load(folder / "in.xml");
      EXPECT_FALSE(result.well_formed) << byte;
      EXPECT_EQ(result.column, declaration.size() + 4) << byte;
    } else {
      every_defined_byte += c;
    }
  }
  Document document;
  WriteFile(folder / "in.xml", declaration + "<a>" + every_defined_byte + "</a>");
  const LoadResult result = document.Load(folder / "in.xml");
  ASSERT_TRUE(result.well_formed) << result.message;
  EXPECT_EQ(document.DocumentElement().Text().size(), every_defined_byte.size());
}

TEST(InvalidBytesOfLatin1, ThereAreNone) {
  TempFolder folder;
  std::string every_byte;
  for (int byte = 0xA0; byte <= 0xFF; ++byte) every_byte += static_cast<char>(byte);
  // C1 controls are characters of ISO-8859-1 too, and XML allows them.
  for (int byte = 0x80; byte <= 0x9F; ++byte) every_byte += static_cast<char>(byte);
  WriteFile(folder / "in.xml",
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>" + every_byte + "</a>");
  Document document;
  const LoadResult result = document.Load(folder / "in.xml");
  ASSERT_TRUE(result.well_formed) << result.message;
  const std::u16string text = document.DocumentElement().Text();
  ASSERT_EQ(text.size(), every_byte.size());
  for (size_t i = 0; i < text.size(); ++i) {
    EXPECT_EQ(text[i], static_cast<unsigned char>(every_byte[i]));
  }
}

// ICU's reading of `bytes` in the code page, whole, stopping at the first byte it does not
// read; nothing then.
std::optional<std::u16string> IcuReading(const char* code_page, std::string_view bytes) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(code_page, &status);
  ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  std::u16string text(bytes.size() * 2 + 1, u'\0');
  const int32_t length = ucnv_toUChars(converter, text.data(), static_cast<int32_t>(text.size()),
                                       bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  ucnv_close(converter);
  if (U_FAILURE(status)) return std::nullopt;
  text.resize(static_cast<size_t>(length));
  return text;
}

// A code page of one byte per character is read byte by byte through a table: the text is
// what ICU reads from the whole of it, and a byte ICU reads as no character is refused where
// it stands.
TEST(SingleByteCodePages, ReadAsIcuReadsTheWholeText) {
  int with_unread_bytes = 0;
  for (const char* code_page : {"ISO-8859-15", "ISO-8859-7", "ISO-8859-8", "KOI8-R", "IBM850"}) {
    SCOPED_TRACE(code_page);
    std::string read;
    std::optional<char> unread;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
      const std::string one(1, static_cast<char>(byte));
      if (IcuReading(code_page, one)) {
        read += one;
      } else if (!unread) {
        unread = one[0];
      }
    }
    TempFolder folder;
    const std::string declaration =
        std::string("<?xml version=\"1.0\" encoding=\"") + code_page + "\"?>";
    WriteFile(folder / "in.xml", declaration +
                                     "<a>Pe\xF1"
                                     "a " +
                                     read + "</a>");
    Document document;
    const LoadResult result = document.Load(folder / "in.xml");
    ASSERT_TRUE(result.well_formed) << result.message;
    EXPECT_EQ(document.DocumentElement().Text(), IcuReading(code_page,
                                                            "Pe\xF1"
                                                            "a " +
                                                                read));
    if (!unread) continue;
    ++with_unread_bytes;
    WriteFile(folder / "in.xml", declaration + "<a>" + read + *unread + "</a>");
    const LoadResult refused = document.Load(folder / "in.xml");
    EXPECT_FALSE(refused.well_formed);
    EXPECT_EQ(refused.column, declaration.size() + 3 + read.size() + 1);
    EXPECT_THAT(refused.message,
                HasSubstr("byte " + std::to_string(declaration.size() + 3 + read.size() + 1)));
  }
  EXPECT_GT(with_unread_bytes, 0) << "no code page tried has a byte ICU does not read";
}

TEST_F(DocumentTest, AFileThatCannotBeReadRaisesWithTheReasonInSpanish) {
  // Larger than any document read: refused before any of it is read.
  const std::filesystem::path huge = folder_ / "enorme.xml";
  WriteFile(huge, "<a/>");
  std::filesystem::resize_file(huge, kMaxDocumentBytes + 1);
  struct Case {
    std::filesystem::path file;
    std::string reason;
  };
  std::vector<Case> cases = {
      {folder_ / "missing.xml", "no existe."},
      {folder_.path(), "no es un archivo normal, sino una carpeta."},
      {huge, "es demasiado grande: tiene " + std::to_string(kMaxDocumentBytes + 1) +
                 " bytes, y no puede pasar de " + std::to_string(kMaxDocumentBytes) + "."},
  };
#ifndef _WIN32
  // Never waited for: a FIFO without a writer, a device that never ends.
  const std::filesystem::path fifo = folder_ / "tuberia.xml";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  cases.push_back({fifo, "no es un archivo normal, sino una tubería (FIFO)."});
  cases.push_back({"/dev/zero", "no es un archivo normal, sino un dispositivo."});
#endif
  for (const auto& c : cases) {
    try {
      document_.Load(c.file);
      ADD_FAILURE() << "no error for " << c.file;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()),
                "No se puede leer el archivo " + c.file.string() + ": " + c.reason);
    }
  }
}

TEST_F(DocumentTest, RemovingTheRootKeepsTheDeclarationAndComments) {
  ASSERT_TRUE(LoadBytes(kEnvelope));
  document_.Root().RemoveChild(document_.DocumentElement());
  EXPECT_FALSE(document_.DocumentElement());
  EXPECT_EQ(document_.DeclaredEncoding(), u"UTF-8");
  EXPECT_EQ(SavedBytes(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!-- exportación -->");

  Node root = document_.Root().AppendElement(u"SERVICIO");
  root.AppendElement(u"BLOQUE_DATOS").SetText(u"x");
  EXPECT_EQ(SavedBytes(),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!-- exportación --><SERVICIO>"
            "<BLOQUE_DATOS>x</BLOQUE_DATOS></SERVICIO>");
  EXPECT_EQ(document_.SelectSingleNode(u"/SERVICIO/BLOQUE_DATOS").Text(), u"x");
}

// What the query "dato" selects from a node, found without it: child elements of that name
// only, in document order, whatever stands between them.
TEST_F(DocumentTest, ChildElementsAreWhatTheQueryOfTheirNameSelects) {
  ASSERT_TRUE(
      LoadBytes("<r><g>x<dato>1</dato><!--c--><otro><dato>no</dato></otro><dato/>y<?p q?>"
                "<dato><dato>2</dato></dato><![CDATA[z]]></g><g/><g>solo texto</g></r>"));
  const NodeList groups = document_.SelectNodes(u"/r/g");
  ASSERT_EQ(groups.Length(), 3u);
  for (size_t g = 0; g < groups.Length(); ++g) {
    SCOPED_TRACE("group " + std::to_string(g));
    const Node group = groups.Item(g);
    const NodeList selected = group.SelectNodes(u"dato");
    EXPECT_EQ(group.ChildElementCount(u"dato"), selected.Length());
    for (size_t i = 0; i <= selected.Length(); ++i) {
      const Node child = group.ChildElement(u"dato", i);
      EXPECT_EQ(static_cast<bool>(child), static_cast<bool>(selected.Item(i)));
      if (child) EXPECT_EQ(child.Text(), selected.Item(i).Text());
    }
  }
  EXPECT_EQ(groups.Item(0).ChildElementCount(u"dato"), 3u);
  EXPECT_EQ(groups.Item(0).ChildElement(u"otro", 0).Text(), u"no");
  EXPECT_FALSE(Node().ChildElement(u"dato", 0));
  EXPECT_EQ(Node().ChildElementCount(u"dato"), 0u);
}

// A loaded element keeps the text it begins with in itself; as a child it is a node like any
// other, which can be read, replaced and removed.
TEST_F(DocumentTest, TheTextAnElementBeginsWithIsItsFirstChild) {
  ASSERT_TRUE(LoadBytes("<a>uno<b>dos</b>tres</a>"));
  Node a = document_.DocumentElement();
  EXPECT_EQ(a.Text(), u"unodostres");
  const Node first = a.FirstChild();
  EXPECT_EQ(first.Name(), u"");
  EXPECT_EQ(first.Text(), u"uno");
  EXPECT_EQ(a.FirstChild().Text(), u"uno");  // asked again, the same text once
  EXPECT_EQ(a.Text(), u"unodostres");
  a.RemoveChild(first);
  EXPECT_EQ(a.Text(), u"dostres");
  EXPECT_EQ(SavedBytes(), "<a><b>dos</b>tres</a>");

  ASSERT_TRUE(LoadBytes("<a>uno<b>dos</b></a>"));
  document_.DocumentElement().SetText(u"otro");
  EXPECT_EQ(document_.DocumentElement().Text(), u"otro");
  EXPECT_EQ(SavedBytes(), "<a>otro</a>");

  ASSERT_TRUE(LoadBytes("<a><b>dos</b></a>"));
  Node b = document_.SelectSingleNode(u"/a/b");
  b.FirstChild().SetText(u"tres");
  EXPECT_EQ(SavedBytes(), "<a><b>tres</b></a>");
}

TEST_F(DocumentTest, RemovingAChildOfAnElement) {
  ASSERT_TRUE(LoadBytes("<a><b>1</b><c>2</c><b>3</b></a>"));
  Node a = document_.DocumentElement();
  a.RemoveChild(a.SelectSingleNode(u"b"));
  EXPECT_EQ(a.Text(), u"23");
  EXPECT_THROW(a.RemoveChild(document_.DocumentElement()), Error);
  EXPECT_THROW(a.RemoveChild(Node()), Error);
}

TEST_F(DocumentTest, BuildingADocumentFromNothing) {
  Node root = document_.Root().AppendElement(u"SERVICIO");
  root.SetAttribute(u"b", u"2");
  root.SetAttribute(u"a", u"<1> & \"x\"");
  root.SetAttribute(u"b", u"3");  // replaced where it stands
  Node block = root.AppendElement(u"BLOQUE_DATOS");
  Node value = block.AppendElement(u"dato");
  value.SetText(u"a<b & c>");
  value.SetText(u"Educación & <más>");  // replaces the text node
  block.AppendElement(u"vacío").SetText(u"");
  Node replaced = block.AppendElement(u"x");
  replaced.AppendElement(u"y");
  replaced.SetText(u"z");
  EXPECT_EQ(SavedBytes(),
            "<SERVICIO b=\"3\" a=\"&lt;1> &amp; &quot;x&quot;\"><BLOQUE_DATOS><dato>"
            "Educación &amp; &lt;más&gt;</dato><vacío/><x>z</x></BLOQUE_DATOS></SERVICIO>");
#ifndef _WIN32
  const testing::CommandResult lint = Xmllint(folder_ / "out.xml");
  EXPECT_EQ(lint.exit_code, 0) << lint.err;
#endif
  EXPECT_EQ(root.Attribute(u"a"), u"<1> & \"x\"");
  EXPECT_EQ(document_.SelectSingleNode(u"//x").Text(), u"z");
  EXPECT_FALSE(document_.SelectSingleNode(u"//x/y"));
  EXPECT_THROW(document_.Root().AppendElement(u"OTRO"), Error);  // one root only
  EXPECT_THROW(block.AppendElement(u""), Error);
  for (const std::u16string_view name : {u"a b", u"1a", u"-a", u"a<b", u"a=b", u"a\tb"}) {
    SCOPED_TRACE(zentrova::text::Utf16ToUtf8(name));
    EXPECT_THROW(block.AppendElement(name), Error);
    EXPECT_THROW(root.SetAttribute(name, u"v"), Error);
  }
  EXPECT_NO_THROW(block.AppendElement(u"año_2.º-x"));
}

TEST_F(DocumentTest, NullNodeReadsEmptyAndRefusesChanges) {
  ASSERT_TRUE(LoadBytes(kEnvelope));
  Node none = document_.SelectSingleNode(u"/NADA");
  ASSERT_FALSE(none);
  EXPECT_EQ(none.Name(), u"");
  EXPECT_EQ(none.Text(), u"");
  EXPECT_EQ(none.Attribute(u"seq"), u"");
  EXPECT_FALSE(none.FirstChild());
  EXPECT_EQ(none.SelectNodes(u"dato").Length(), 0u);
  EXPECT_FALSE(none.SelectSingleNode(u"dato"));
  EXPECT_THROW(none.AppendElement(u"a"), Error);
  EXPECT_THROW(none.SetAttribute(u"a", u"1"), Error);
  EXPECT_THROW(none.SetText(u"a"), Error);
  EXPECT_THROW(none.RemoveChild(document_.DocumentElement()), Error);
  EXPECT_THROW(document_.Root().SetAttribute(u"a", u"1"), Error);
}

TEST_F(DocumentTest, TextsXmlCannotCarryAreRefused) {
  struct Case {
    std::u16string text;
    std::string code;  // the character named in the message, empty for a text that is taken
  };
  const std::vector<Case> cases = {
      {u"A\u0001", "0001"},
      {std::u16string(u"a\0b", 3), "0000"},
      {u"\u001F", "001F"},
      {u"x\uFFFE", "FFFE"},
      {u"\uFFFF", "FFFF"},
      {std::u16string(1, char16_t(0xD83D)) + u"x", "D83D"},
      {std::u16string(1, char16_t(0xDE00)), "DE00"},
      {u"tab\tline\ncr\r", ""},
      {u"\U0001F600 \u00E9 \uFFFD", ""},
  };
  ASSERT_TRUE(LoadBytes("<a/>"));
  Node a = document_.DocumentElement();
  for (const Case& c : cases) {
    if (c.code.empty()) {
      a.SetText(c.text);
      a.SetAttribute(u"t", c.text);
      EXPECT_EQ(a.Text(), c.text);
      continue;
    }
    for (const bool attribute : {false, true}) {
      try {
        attribute ? a.SetAttribute(u"t", c.text) : a.SetText(c.text);
        ADD_FAILURE() << "taken: U+" << c.code << (attribute ? " in an attribute" : "");
      } catch (const Error& e) {
        EXPECT_THAT(e.what(), HasSubstr("U+" + c.code + " no es válido en XML")) << e.what();
      }
    }
  }
  // What was refused never reached the document.
  document_.Save(folder_ / "out.xml");
#ifndef _WIN32
  EXPECT_EQ(Xmllint(folder_ / "out.xml").exit_code, 0);
#endif
}

// The refusal says where the text was to go: the element's path, each step with its first
// attribute, which in an export tells a group or a value from its siblings.
TEST_F(DocumentTest, ARefusedTextNamesItsElement) {
  Node root = document_.Root().AppendElement(u"SERVICIO");
  root.SetAttribute(u"modulo", u"HORARIOS");
  Node group = root.AppendElement(u"BLOQUE_DATOS").AppendElement(u"grupo_datos");
  group.SetAttribute(u"seq", u"ACTIVIDAD_" + std::u16string(50, u'ñ'));
  Node dato = group.AppendElement(u"dato");
  dato.SetAttribute(u"nombre_dato", u"X_DEPENDENCIA");
  // A long value is cut after 40 bytes, not inside a character.
  std::string cut = "ACTIVIDAD_";
  for (int i = 0; i < 15; ++i) cut += "ñ";
  const std::string path = "/SERVICIO[@modulo=\"HORARIOS\"]/BLOQUE_DATOS/grupo_datos[@seq=\"" +
                           cut + "…\"]/dato[@nombre_dato=\"X_DEPENDENCIA\"]";
  try {
    dato.SetText(u"A\u0001");
    ADD_FAILURE() << "taken";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "No se puede guardar en el elemento " + path +
                                         " el texto 'A?': el carácter U+0001 no es válido en XML.");
  }
  try {
    dato.SetAttribute(u"t", u"\u0002");
    ADD_FAILURE() << "taken";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "No se puede dar al atributo 't' del elemento " + path +
                                         " el valor '?': el carácter U+0002 no es válido en XML.");
  }
}

TEST_F(DocumentTest, CarriageReturnsInTextReadBackTheSame) {
  // The document type and the processing instruction keep theirs as they are.
  ASSERT_TRUE(LoadBytes("<!DOCTYPE a [\r\n<!ELEMENT a ANY>]><?p q\rr?><a><b/><!--c--></a>"));
  Node a = document_.DocumentElement();
  a.SetAttribute(u"t", u"x\ry>\"");
  Node b = a.SelectSingleNode(u"b");
  b.SetText(u"1\r\n2\r");
  b.SetAttribute(u"u", u"\r");
  EXPECT_EQ(SavedBytes(),
            "<!DOCTYPE a [\r\n<!ELEMENT a ANY>]><?p q\rr?><a t=\"x&#13;y>&quot;\">"
            "<b u=\"&#13;\">1&#13;\n2&#13;</b><!--c--></a>");
#ifndef _WIN32
  EXPECT_EQ(Xmllint(folder_ / "out.xml").exit_code, 0);
#endif
  Document again;
  ASSERT_TRUE(again.Load(folder_ / "out.xml").well_formed);
  EXPECT_EQ(again.SelectSingleNode(u"/a/b").Text(), u"1\r\n2\r");
  EXPECT_EQ(again.SelectSingleNode(u"/a/b").Attribute(u"u"), u"\r");
  EXPECT_EQ(again.DocumentElement().Attribute(u"t"), u"x\ry>\"");
}

TEST_F(DocumentTest, SaveReplacesAnExistingFile) {
  ASSERT_TRUE(LoadBytes("<a>nuevo</a>"));
  WriteFile(folder_ / "out.xml", std::string(10000, 'x'));
  // A second name of the old file keeps the old bytes: the file is replaced, not rewritten.
  std::filesystem::create_hard_link(folder_ / "out.xml", folder_ / "enlace.xml");
  EXPECT_EQ(SavedBytes(), "<a>nuevo</a>");
  EXPECT_EQ(ReadFile(folder_ / "enlace.xml"), std::string(10000, 'x'));
}

// Files in the folder other than the input, to see that no temporary file was left behind.
std::vector<std::string> Leftovers(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename() != "in.xml") names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST_F(DocumentTest, SaveFailureNamesTheTargetAndLeavesNoFile) {
  ASSERT_TRUE(LoadBytes(kEnvelope));
  // The target is a folder: the temporary file is written, the rename fails.
  const std::filesystem::path folder_target = folder_ / "carpeta";
  std::filesystem::create_directory(folder_target);
  try {
    document_.Save(folder_target);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_THAT(e.what(),
                StartsWith("No se puede guardar el archivo " + folder_target.string() + ": "));
  }
  EXPECT_EQ(Leftovers(folder_.path()), std::vector<std::string>{"carpeta"});
  EXPECT_TRUE(std::filesystem::is_empty(folder_target));

  EXPECT_THROW(document_.Save(folder_ / "no_existe" / "out.xml"), Error);
  EXPECT_EQ(Leftovers(folder_.path()), std::vector<std::string>{"carpeta"});
}

TEST_F(DocumentTest, SaveIntoAReadOnlyFolderFails) {
  ASSERT_TRUE(LoadBytes(kEnvelope));
  const std::filesystem::path locked = folder_ / "locked";
  std::filesystem::create_directory(locked);
  std::filesystem::permissions(
      locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  {
    // Root ignores permissions: find out by trying.
    if (std::ofstream(locked / "probe")) {
      std::filesystem::remove(locked / "probe");
      std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
      GTEST_SKIP() << "permissions are not enforced for this user";
    }
  }
  EXPECT_THROW(document_.Save(locked / "out.xml"), Error);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  EXPECT_TRUE(std::filesystem::is_empty(locked));
}

TEST_F(DocumentTest, DeclarationWithoutEncodingSavesUtf8) {
  ASSERT_TRUE(LoadBytes("<?xml version=\"1.0\"?><a>é</a>"));
  EXPECT_EQ(document_.DeclaredEncoding(), u"");
  EXPECT_EQ(SavedBytes(), "<?xml version=\"1.0\"?><a>é</a>");
}

}  // namespace
}  // namespace zentrova::xml
