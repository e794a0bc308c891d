#include "xml/streaming_save.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "files/file_replacement.h"
#include "support/temp_folder.h"
#include "text/encoding.h"
#include "text/integer.h"
#include "xml/document.h"

namespace zentrova::xml {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// A loaded file whose root is replaced by a new one, as the second direction does.
struct Source {
  const char* name;
  std::string bytes;
};

std::string Utf16LittleEndian(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

const std::vector<Source> kSources = {
    {"Latin1WithCommentsAround",
     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- antes -->\n<SERVICIO>"
     "<BLOQUE_DATOS/></SERVICIO>\n<!-- despu\xe9s -->\n<?fin de archivo?>"},
    {"DeclarationInSingleQuotes",
     "<?xml version='1.0'  encoding='windows-1252' standalone='yes' ?><SERVICIO/>"},
    {"Utf8WithoutDeclaration", "<SERVICIO/>"},
    {"Utf16", Utf16LittleEndian(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><!--\u00F1-->"
                                u"<SERVICIO/>")},
    {"DocumentType",
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE SERVICIO>\n<SERVICIO/>"},
};

// Texts that test what the writing does with each character: references for what the
// encodings lack, escapes, carriage returns.
const std::vector<std::u16string> kValues = {
    u"Educación Física", u"a < b & c > d \"e\" 'f'", u"dos\r\nlíneas\rmás", u"€ Łódź 😀", u"",
};

// Appends the envelope to a document emptied of its root; gives the element the children go
// into, `depth` levels below the new root (0: the root itself).
Node AppendEnvelope(Document& document, int depth) {
  Node open = document.Root().AppendElement(u"SERVICIO");
  open.SetAttribute(u"modulo", u"HORARIOS");
  open.SetAttribute(u"fecha", u"01/02/25 10:00:00");
  for (int level = 0; level < depth; ++level) {
    Node before = open.AppendElement(u"grupo_datos");
    before.SetAttribute(u"seq", u"ANTES\r" + text::IntegerText(level));
    before.AppendElement(u"dato").SetText(kValues[level % kValues.size()]);
    open = open.AppendElement(u"grupo_datos");
    open.SetAttribute(u"seq", u"Horarios <\"" + text::IntegerText(level) + u"\">");
  }
  return open;
}

void AppendChild(Node open, int number) {
  Node child = open.AppendElement(u"grupo_datos");
  child.SetAttribute(u"seq", u"HIJO_" + text::IntegerText(number));
  for (const std::u16string& value : kValues) {
    Node dato = child.AppendElement(u"dato");
    dato.SetAttribute(u"nombre_dato", value);
    dato.SetText(value);
  }
  child.AppendElement(u"vacio");
}

// Loads `source` and removes its root, keeping what stands around it.
void LoadEmptied(Document& document, const TempFolder& folder, const Source& source) {
  WriteFile(folder / "in.xml", source.bytes);
  ASSERT_TRUE(document.Load(folder / "in.xml").well_formed);
  document.Root().RemoveChild(document.DocumentElement());
}

// The same document built whole and saved, then built again and saved as it is built, one
// child after another: the two files are the same byte for byte.
TEST(StreamingSaveTest, WritesWhatSaveWritesForTheWholeDocument) {
  for (const Source& source : kSources) {
    for (const int depth : {0, 2}) {
      // Enough children for several pieces of the file, in every encoding.
      for (const int children : {0, 1, 3, 400}) {
        SCOPED_TRACE(std::string(source.name) + ", depth " + std::to_string(depth) + ", " +
                     std::to_string(children) + " children");
        TempFolder folder;
        Document whole;
        LoadEmptied(whole, folder, source);
        const Node whole_open = AppendEnvelope(whole, depth);
        for (int i = 0; i < children; ++i) AppendChild(whole_open, i);
        whole.Save(folder / "whole.xml");

        Document streamed;
        LoadEmptied(streamed, folder, source);
        const Node open = AppendEnvelope(streamed, depth);
        files::FileReplacement file(folder / "streamed.xml");
        StreamingSave save(streamed, open, file);
        for (int i = 0; i < children; ++i) {
          AppendChild(open, i);
          save.Write(open.FirstChild());
          EXPECT_FALSE(open.FirstChild()) << "a written child stays in the document";
        }
        save.Finish();
        EXPECT_EQ(ReadFile(folder / "streamed.xml"), ReadFile(folder / "whole.xml"));
      }
    }
  }
}

// Misuse is refused, and whatever stops the writing before Finish leaves the file as it was
// and no temporary beside it.
TEST(StreamingSaveTest, WhatStopsTheWritingLeavesTheOldFile) {
  struct Case {
    const char* name;
    // Builds on an emptied document and writes it through `file`, until it raises.
    std::function<void(Document&, files::FileReplacement&)> run;
  };
  const std::vector<Case> cases = {
      {"an open element followed by another",
       [](Document& document, files::FileReplacement& file) {
         Node root = document.Root().AppendElement(u"SERVICIO");
         const Node open = root.AppendElement(u"abierto");
         root.AppendElement(u"despues");
         StreamingSave save(document, open, file);
       }},
      {"an open element with a child already",
       [](Document& document, files::FileReplacement& file) {
         Node open = document.Root().AppendElement(u"SERVICIO");
         open.AppendElement(u"hijo");
         StreamingSave save(document, open, file);
       }},
      {"a node that is not a child of the open element",
       [](Document& document, files::FileReplacement& file) {
         Node open = document.Root().AppendElement(u"SERVICIO");
         StreamingSave save(document, open, file);
         save.Write(open.AppendElement(u"hijo").AppendElement(u"nieto"));
       }},
      {"an element appended after the open one",
       [](Document& document, files::FileReplacement& file) {
         Node root = document.Root().AppendElement(u"SERVICIO");
         const Node open = root.AppendElement(u"abierto");
         StreamingSave save(document, open, file);
         AppendChild(open, 1);
         save.Write(open.FirstChild());
         root.AppendElement(u"despues");
         save.Finish();
       }},
      // After enough children for some of them to be in the temporary already.
      {"a value XML cannot carry",
       [](Document& document, files::FileReplacement& file) {
         Node open = document.Root().AppendElement(u"SERVICIO");
         StreamingSave save(document, open, file);
         for (int i = 0; i < 400; ++i) {
           AppendChild(open, i);
           save.Write(open.FirstChild());
         }
         open.AppendElement(u"dato").SetText(u"A\x01");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    WriteFile(folder / "result.xml", "el resultado anterior");
    Document document;
    LoadEmptied(document, folder, kSources[0]);
    {
      files::FileReplacement file(folder / "result.xml");
      EXPECT_THROW(c.run(document, file), Error);
    }
    EXPECT_EQ(ReadFile(folder / "result.xml"), "el resultado anterior");
    EXPECT_FALSE(std::filesystem::exists(files::TemporaryOf(folder / "result.xml")));
  }
}

}  // namespace
}  // namespace zentrova::xml
