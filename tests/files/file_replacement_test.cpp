// Replacing a file: the old one or the new one, whole, whatever happens; nothing left beside.

#include "files/file_replacement.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/foreign_lock.h"
#include "support/python.h"
#include "support/temp_folder.h"
#include "text/encoding.h"
#ifndef _WIN32
#include "support/small_disk.h"
#endif

namespace zentrova::files {
namespace {

using ::testing::HasSubstr;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

std::set<std::string> Names(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::string ReplaceError(const std::filesystem::path& target, std::string_view bytes) {
  try {
    ReplaceFile(target, bytes);
  } catch (const Error& error) {
    return error.what();
  }
  return "";
}

#ifndef _WIN32
// An immutable file: even root cannot write, rename over or remove it. Not every file
// system takes the attribute; then the case is not tried.
class Immutable {
 public:
  explicit Immutable(const std::filesystem::path& file) : file_(file) {
    set_ = testing::RunCommand("chattr +i " + testing::ShellQuote(file.string())).exit_code == 0;
  }
  ~Immutable() {
    if (set_) testing::RunCommand("chattr -i " + testing::ShellQuote(file_.string()));
  }
  bool set() const { return set_; }

 private:
  std::filesystem::path file_;
  bool set_ = false;
};
#endif

TEST(FileReplacementTest, TheNewFileTakesTheNameAndTheOldOneStaysWhole) {
  TempFolder folder;
  const auto target = folder / "Orbelin.ini";
  WriteFile(target, "viejo");
  // A second name of the old file: a file rewritten in place would change under it too.
  std::filesystem::create_hard_link(target, folder / "enlace");
  ReplaceFile(target, "nuevo");
  EXPECT_EQ(ReadFile(target), "nuevo");
  EXPECT_EQ(ReadFile(folder / "enlace"), "viejo");
  EXPECT_EQ(Names(folder.path()), (std::set<std::string>{"Orbelin.ini", "enlace"}));

  ReplaceFile(folder / "nuevo.xml", "creado");  // a target that does not exist yet
  EXPECT_EQ(ReadFile(folder / "nuevo.xml"), "creado");
}

TEST(FileReplacementTest, ATargetThatCannotBeReplacedStaysAsItWas) {
  for (testing::ForeignLock kind : testing::kEveryForeignLock) {
    SCOPED_TRACE(testing::NameOf(kind));
    TempFolder folder;
    WriteFile(folder / "SOLUC.DBF", "viejo");
    {
      testing::LockHolder other(folder / "SOLUC.DBF", kind);
      ASSERT_TRUE(other.holding());
      EXPECT_EQ(ReplaceError(folder / "SOLUC.DBF", "nuevo"),
                "No se puede guardar el archivo " + (folder / "SOLUC.DBF").string() +
                    ": está en uso por otro programa.");
    }
    // Read once the holder has let go (on Windows it keeps readers out too).
    EXPECT_EQ(ReadFile(folder / "SOLUC.DBF"), "viejo");
    EXPECT_EQ(Names(folder.path()), std::set<std::string>{"SOLUC.DBF"});
  }

  TempFolder folder;
  std::filesystem::create_directory(folder / "carpeta.xml");
  EXPECT_THAT(ReplaceError(folder / "carpeta.xml", "nuevo"), HasSubstr(": es una carpeta."));
  EXPECT_EQ(Names(folder.path()), std::set<std::string>{"carpeta.xml"});

#ifndef _WIN32
  WriteFile(folder / "fijo.xml", "viejo");
  Immutable immutable(folder / "fijo.xml");
  if (immutable.set()) {
    EXPECT_THAT(ReplaceError(folder / "fijo.xml", "nuevo"), HasSubstr(": es de solo lectura."));
    EXPECT_EQ(ReadFile(folder / "fijo.xml"), "viejo");
  }
  EXPECT_EQ(Names(folder.path()), (std::set<std::string>{"carpeta.xml", "fijo.xml"}));
#endif
}

#ifndef _WIN32  // a tmpfs
TEST(FileReplacementTest, AFullDiskLeavesTheOldFileAndNoTemporary) {
  testing::SmallDisk disk(64 * 1024);
  if (!disk.mounted()) GTEST_SKIP() << "a small disk cannot be mounted here";
  const auto target = disk.path() / "ResultadoOrbelin.xml";
  const std::string old_bytes(20 * 1024, 'v');
  WriteFile(target, old_bytes);
  EXPECT_EQ(
      ReplaceError(target, std::string(100 * 1024, 'n')),
      "No se puede guardar el archivo " + target.string() + ": no queda espacio en el disco.");
  EXPECT_EQ(ReadFile(target), old_bytes);
  EXPECT_EQ(Names(disk.path()), std::set<std::string>{"ResultadoOrbelin.xml"});
}
#endif

TEST(FileReplacementTest, WhatAKilledRunLeftIsTakenOverUnlessARunIsWritingIt) {
  TempFolder folder;
  const auto target = folder / "Orbelin.ini";
  const auto temporary = TemporaryOf(target);
  EXPECT_EQ(temporary, folder / "Orbelin.ini.zentrova.tmp");

  WriteFile(temporary, "a medio escribir");
  ReplaceFile(target, "nuevo");
  EXPECT_EQ(Names(folder.path()), std::set<std::string>{"Orbelin.ini"});

  WriteFile(temporary, "a medio escribir");
  RemoveStaleTemporary(target);
  EXPECT_FALSE(std::filesystem::exists(temporary));

  WriteFile(temporary, "escribiéndose");
  {
    testing::LockHolder writer(temporary, testing::ForeignLock::kFlock);
    ASSERT_TRUE(writer.holding());
    EXPECT_EQ(ReplaceError(target, "otro"),
              "No se puede guardar el archivo " + target.string() +
                  ": otra conversión lo está guardando en este momento.");
    RemoveStaleTemporary(target);
  }
  EXPECT_EQ(ReadFile(temporary), "escribiéndose");
  EXPECT_EQ(ReadFile(target), "nuevo");
}

// A file too large to hold whole is given a piece at a time: the old file stays until the
// last piece is committed, and what a killed run left in the temporary is not kept.
TEST(FileReplacementTest, AFileWrittenInPiecesReplacesTheOldOneWhole) {
  struct Case {
    const char* name;
    std::vector<std::string> pieces;
    std::string file;
  };
  const std::vector<Case> cases = {
      {"several pieces", {"<a>", "", "uno", " dos</a>"}, "<a>uno dos</a>"},
      {"one empty piece", {""}, ""},
      {"no piece", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const auto target = folder / "ResultadoOrbelin.xml";
    WriteFile(target, "viejo");
    WriteFile(TemporaryOf(target), "lo que dejó una ejecución interrumpida, más largo");
    FileReplacement replacement(target);
    for (const std::string& piece : c.pieces) {
      replacement.Append(piece);
      // By its size: Windows lets nobody open a file the replacement holds.
      EXPECT_EQ(std::filesystem::file_size(target), std::string("viejo").size());
    }
    replacement.Commit();
    EXPECT_EQ(ReadFile(target), c.file);
    EXPECT_EQ(Names(folder.path()), std::set<std::string>{"ResultadoOrbelin.xml"});
  }
}

// A temporary's name fits wherever the target's fits: the suffix goes after the whole name
// while that fits, else after the name's first characters and digits of the whole name.
TEST(FileReplacementTest, ATemporaryNameFitsWhereverTheNameFits) {
  TempFolder folder;
  const size_t longest = LongestNameIn(folder.path());
  const std::string suffix = kTemporarySuffix;
  for (const size_t length :
       {size_t{1}, longest - suffix.size(), longest - suffix.size() + 1, longest - 1, longest}) {
    SCOPED_TRACE(std::to_string(length) + " units");
    const std::string name(length, 'r');
    const std::filesystem::path temporary = TemporaryOf(folder / name);
    EXPECT_EQ(temporary.parent_path(), folder.path());
    EXPECT_LE(NameLength(temporary.filename()), longest);
    EXPECT_TRUE(temporary.filename().string().ends_with(suffix));
    if (length + suffix.size() <= longest) {
      EXPECT_EQ(temporary.filename().string(), name + suffix);
    }
    ReplaceFile(folder / name, "nuevo");
    EXPECT_EQ(ReadFile(folder / name), "nuevo");
    EXPECT_EQ(Names(folder.path()), std::set<std::string>{name});
    std::filesystem::remove(folder / name);
  }
  // Two long names that differ only at their end have temporaries of their own.
  const std::string stem(longest - 2, 'r');
  EXPECT_NE(TemporaryOf(folder / (stem + "ab")), TemporaryOf(folder / (stem + "ba")));
  EXPECT_EQ(TemporaryOf(folder / (stem + "ab")), TemporaryOf(folder / (stem + "ab")));
#ifndef _WIN32
  // A name is cut between characters, never inside one: the temporary is still UTF-8.
  std::string accented;
  while (accented.size() < longest - 1) accented += "\xC3\xB1";  // ñ
  const std::string cut = TemporaryOf(folder / accented).filename().string();
  EXPECT_EQ(text::Utf8ToUtf16(cut).find(u'\uFFFD'), std::u16string::npos);
#endif
  // A name that does not fit is refused before anything is written, naming the file.
  const std::filesystem::path too_long = folder / std::string(longest + 1, 'r');
  EXPECT_EQ(ReplaceError(too_long, "nuevo"), "No se puede guardar el archivo " + too_long.string() +
                                                 ": el nombre es demasiado largo.");
  EXPECT_TRUE(Names(folder.path()).empty());
}

TEST(FileReplacementTest, AReplacementNotCommittedLeavesNothing) {
  TempFolder folder;
  WriteFile(folder / "a.xml", "viejo");
  {
    FileReplacement replacement(folder / "a.xml");
    EXPECT_TRUE(std::filesystem::exists(TemporaryOf(folder / "a.xml")));
    // Held for the replacement's whole life: nobody else replaces it meanwhile.
    EXPECT_THROW(ReplaceFile(folder / "a.xml", "otro"), Error);
  }
  EXPECT_EQ(Names(folder.path()), std::set<std::string>{"a.xml"});
  EXPECT_EQ(ReadFile(folder / "a.xml"), "viejo");
}

}  // namespace
}  // namespace zentrova::files
