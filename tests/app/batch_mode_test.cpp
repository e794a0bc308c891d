#include "app/batch_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "error.h"
#include "support/python.h"
#include "support/temp_folder.h"

namespace zentrova::app {
namespace {

using testing::ReadFile;
using testing::RunPython;
using testing::TempFolder;
using testing::WriteFile;

struct ParameterCase {
  std::vector<std::string> parameters;
  int run_mode;
  BatchDirection direction;
};

TEST(BatchModeTest, ParametersSelectRunModeAndDirection) {
  const ParameterCase cases[] = {
      {{}, 0, BatchDirection::kNone},
      {{"exportar"}, 0, BatchDirection::kNone},
      {{"exportar", "x"}, 2, BatchDirection::kExportar},
      {{"EXPORTAR", "x"}, 2, BatchDirection::kExportar},
      {{"Importar", ""}, 2, BatchDirection::kImportar},
      {{"importar", "x", "y"}, 0, BatchDirection::kNone},
      {{"exportar ", "x"}, 2, BatchDirection::kNone},
      {{"exportarx", "x"}, 2, BatchDirection::kNone},
      {{"x", "exportar"}, 2, BatchDirection::kNone},
      // Only A to Z are lower-cased: an accented capital stays and the word is unknown.
      {{"IMPORTÁR", "x"}, 2, BatchDirection::kNone},
      {{"\xC4\xB0mportar", "x"}, 2, BatchDirection::kNone},  // dotted capital I
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.parameters));
    EXPECT_EQ(RunModeFor(c.parameters), c.run_mode);
    EXPECT_EQ(BatchDirectionFor(c.parameters), c.direction);
  }
}

TEST(BatchModeTest, CreatesTheFileWhenMissing) {
  TempFolder folder;
  WriteResultCode(folder / "Orbelin.ini", -1);
  EXPECT_EQ(ReadFile(folder / "Orbelin.ini"), "[Transformadores]\r\nTransformado=-1\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "Orbelin.ini.zentrova.tmp"));
}

// What a reader of private-profile files sees, via Python's configparser.
std::string ReadWithConfigParser(const std::filesystem::path& ini) {
  const auto result = RunPython(R"(
import configparser, sys
parser = configparser.ConfigParser(strict=False, interpolation=None)
parser.optionxform = str
parser.read(sys.argv[1], encoding='latin-1')
for section in parser.sections():
    for key, value in parser.items(section):
        print(section + '/' + key + '=' + value)
)",
                                {ini.string()});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  return result.out;
}

TEST(BatchModeTest, ReplacesOnlyTheResultKey) {
  TempFolder folder;
  const auto ini = folder / "Orbelin.ini";
  WriteFile(ini,
            "; Configuración de Orbelin\r\n"
            "[General]\r\n"
            "Ruta=C:\\KTEMP\r\n"
            "; nombre del centro en ANSI\r\n"
            "Centro=IES Mar\xEDtimo\r\n"
            "\r\n"
            "[transformadores]\r\n"
            "Transformado=1\r\n"
            "Fecha=2024\r\n"
            "\r\n"
            "[Ventana]\r\n"
            "Alto=300\r\n"
            "; fin de la configuración\r\n");
  WriteResultCode(ini, 0);

  const std::string bytes = ReadFile(ini);
  EXPECT_NE(bytes.find("; Configuración de Orbelin\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("; nombre del centro en ANSI\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("; fin de la configuración\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("Centro=IES Mar\xEDtimo\r\n"), std::string::npos);
  for (size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1)) {
    ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "line ends stay CRLF";
  }
  EXPECT_EQ(ReadWithConfigParser(ini),
            "General/Ruta=C:\\KTEMP\n"
            "General/Centro=IES Mar\xC3\xADtimo\n"
            "transformadores/Transformado=0\n"
            "transformadores/Fecha=2024\n"
            "Ventana/Alto=300\n");
}

// Replaced, never rewritten in place: a second name of the old file keeps the old bytes (so
// does a reader that opened it before).
TEST(BatchModeTest, TheFileIsReplacedNotRewritten) {
  TempFolder folder;
  const auto ini = folder / "Orbelin.ini";
  WriteFile(ini, "[Transformadores]\r\nTransformado=0\r\n");
  std::filesystem::create_hard_link(ini, folder / "enlace.ini");
  WriteResultCode(ini, 1);
  EXPECT_EQ(ReadFile(ini), "[Transformadores]\r\nTransformado=1\r\n");
  EXPECT_EQ(ReadFile(folder / "enlace.ini"), "[Transformadores]\r\nTransformado=0\r\n");
}

TEST(BatchModeTest, AddsTheSectionToAFileWithoutIt) {
  TempFolder folder;
  const auto ini = folder / "Orbelin.ini";
  WriteFile(ini, "[Otro]\nclave=valor\n");
  WriteResultCode(ini, 1);
  EXPECT_EQ(ReadWithConfigParser(ini), "Otro/clave=valor\nTransformadores/Transformado=1\n");
  EXPECT_EQ(ReadFile(ini).find('\r'), std::string::npos) << "a LF file stays LF";

  WriteResultCode(ini, -1);  // every closing writes again
  EXPECT_EQ(ReadWithConfigParser(ini), "Otro/clave=valor\nTransformadores/Transformado=-1\n");
}

TEST(BatchModeTest, KeepsTheSignatureOfAUtf8File) {
  TempFolder folder;
  const auto ini = folder / "Orbelin.ini";
  WriteFile(ini, "\xEF\xBB\xBF[Transformadores]\r\nTransformado=1\r\n");
  WriteResultCode(ini, -1);
  EXPECT_EQ(ReadFile(ini), "\xEF\xBB\xBF[Transformadores]\r\nTransformado=-1\r\n");
}

TEST(BatchModeTest, RewritesInPlaceWhenNoFileCanBeAddedBeside) {
  TempFolder folder;
  const auto ini = folder / "Orbelin.ini";
  WriteFile(ini, "[Otro]\r\nclave=valor\r\n");
  std::filesystem::create_directory(folder / "Orbelin.ini.zentrova.tmp");  // the name is taken
  WriteResultCode(ini, 1);
  EXPECT_EQ(ReadWithConfigParser(ini), "Otro/clave=valor\nTransformadores/Transformado=1\n");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Orbelin.ini.zentrova.tmp"));
}

// A UTF-16 file, as Windows programs write INI files, is read and written as UTF-16: a reader
// of that encoding finds the new value and every other setting.
TEST(BatchModeTest, AUtf16FileStaysUtf16) {
  TempFolder folder;
  const auto ini = folder / "Orbelin.ini";
  const std::u16string text =
      u"\uFEFF[Orbelin]\r\nCentro=IES Mar\u00edtimo\r\n[Transformadores]\r\n"
      u"Transformado=0\r\n";
  std::string bytes;
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  WriteFile(ini, bytes);
  WriteResultCode(ini, 1);
  const auto result = RunPython(R"(
import configparser, sys
parser = configparser.ConfigParser(interpolation=None)
parser.optionxform = str
raw = open(sys.argv[1], 'rb').read()
assert raw.startswith(b'\xff\xfe'), raw[:4]
parser.read_string(raw.decode('utf-16'))
print(parser['Orbelin']['Centro'], parser['Transformadores']['Transformado'])
)",
                                {ini.string()});
  EXPECT_EQ(result.out, "IES Mar\xC3\xADtimo 1\n") << result.err;
}

// What stands at the file's name but is none is named, in Spanish, and nothing is written.
TEST(BatchModeTest, WhatIsNotAFileIsAnErrorNamingIt) {
  TempFolder folder;
  const auto ini = folder / "Orbelin.ini";
  const auto message = [&] {
    try {
      WriteResultCode(ini, 1);
    } catch (const Error& error) {
      return std::string(error.what());
    }
    return std::string();
  };
  std::filesystem::create_directory(ini);
  EXPECT_EQ(message(), "No se puede leer el archivo de resultado " + ini.string() +
                           ": no es un archivo normal, sino una carpeta. El código de resultado 1 "
                           "no se ha escrito.");
  std::filesystem::remove(ini);
  WriteFile(ini, "");
  std::filesystem::resize_file(ini, std::uintmax_t{3} << 30);
  EXPECT_EQ(message(), "No se puede leer el archivo de resultado " + ini.string() +
                           ": es demasiado grande: tiene 3221225472 bytes, y no puede pasar de "
                           "1048576. El código de resultado 1 no se ha escrito.");
  std::filesystem::remove(ini);
  ASSERT_EQ(RunPython("import os, sys; os.mkfifo(sys.argv[1])", {ini.string()}).exit_code, 0);
  EXPECT_EQ(message(), "No se puede leer el archivo de resultado " + ini.string() +
                           ": no es un archivo normal, sino una tubería (FIFO). El código de "
                           "resultado 1 no se ha escrito.");
}

TEST(BatchModeTest, AFolderThatCannotBeMadeIsAnErrorNamingTheFile) {
  TempFolder folder;
  WriteFile(folder / "archivo", "no es una carpeta");
  const auto ini = folder / "archivo" / "zentrova" / "Orbelin.ini";
  try {
    WriteResultCode(ini, 1);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find(ini.string()), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace zentrova::app
