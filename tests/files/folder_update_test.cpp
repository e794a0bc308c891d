// Several files of a folder replaced all at once or not at all, one update at a time, and
// an update that a crash interrupted completed by the next one.

#include "files/folder_update.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/foreign_lock.h"
#include "support/temp_folder.h"

namespace zentrova::files {
namespace {

using ::testing::HasSubstr;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

using Files = std::map<std::string, std::string>;

// The folder's files with their bytes; folders are marked as such.
Files Snapshot(const std::filesystem::path& folder) {
  Files files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] =
        entry.is_directory() ? "<carpeta>" : ReadFile(entry.path());
  }
  return files;
}

void WriteAll(const std::filesystem::path& folder, const Files& files) {
  for (const auto& [name, bytes] : files) WriteFile(folder / name, bytes);
}

const Files kOld = {{"A.DBF", "a viejo"},
                    {"B.MDX", "b viejo"},
                    {"proft.dbf", "proft viejo"},
                    {"OTRO.TXT", "de otro programa"}};

class FolderUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteAll(folder_.path(), kOld); }
  std::string Message(const std::function<void()>& step) {
    try {
      step();
    } catch (const Error& error) {
      return error.what();
    }
    return "";
  }
  TempFolder folder_;
};

TEST_F(FolderUpdateTest, CommitMovesTheNewFilesInAndRemovesTheOldOnes) {
  {
    FolderUpdate update(folder_.path());
    EXPECT_EQ(update.staging(), folder_ / "ZENTROVA.NUEVO");
    WriteAll(update.staging(),
             {{"A.DBF", "a nuevo"}, {"PROFT.DBF", "proft nuevo"}, {"C.DBF", "c nuevo"}});
    update.Commit({"A.DBF", "PROFT.DBF", "C.DBF"}, {"B.MDX", "JORNADAS.DBF"});
  }
  // proft.dbf goes with its new name; JORNADAS.DBF was not there; the other program's file
  // stays; the lock, the journal and the staging folder are gone.
  EXPECT_EQ(Snapshot(folder_.path()), (Files{{"A.DBF", "a nuevo"},
                                             {"PROFT.DBF", "proft nuevo"},
                                             {"C.DBF", "c nuevo"},
                                             {"OTRO.TXT", "de otro programa"}}));
}

TEST_F(FolderUpdateTest, WithoutCommitTheFolderStaysAsItWas) {
  {
    FolderUpdate update(folder_.path());
    WriteAll(update.staging(), {{"A.DBF", "a nuevo"}});
  }
  EXPECT_EQ(Snapshot(folder_.path()), kOld);
}

TEST_F(FolderUpdateTest, OneUpdateAtATime) {
  const std::string in_use = "La carpeta de intercambio " + folder_.path().string() +
                             " está en uso por otra conversión. Espere a que termine y vuelva "
                             "a intentarlo.";
  {
    FolderUpdate first(folder_.path());
    EXPECT_EQ(Message([&] { FolderUpdate second(folder_.path()); }), in_use);
    EXPECT_EQ(Message([&] { LockedFolder reader(folder_.path()); }), in_use);
  }
  {
    // Another process's run: its lock is seen too.
    WriteFile(folder_ / kFolderLockName, "");
    testing::LockHolder other(folder_ / kFolderLockName, testing::ForeignLock::kFlock);
    ASSERT_TRUE(other.holding());
    EXPECT_EQ(Message([&] { FolderUpdate update(folder_.path()); }), in_use);
  }
  { FolderUpdate again(folder_.path()); }  // a lock file left behind is taken over
  EXPECT_EQ(Snapshot(folder_.path()), kOld);

  EXPECT_EQ(Message([&] { FolderUpdate update(folder_ / "falta"); }),
            "No existe la carpeta de intercambio " + (folder_ / "falta").string() + ".");
  EXPECT_THAT(Message([&] { FolderUpdate update(folder_ / "A.DBF"); }),
              HasSubstr("no es una carpeta"));
}

TEST_F(FolderUpdateTest, AFileThatCannotBeReplacedStopsTheUpdateBeforeAnythingMoves) {
  for (testing::ForeignLock kind : testing::kEveryForeignLock) {
    SCOPED_TRACE(testing::NameOf(kind));
    testing::LockHolder other(folder_ / "B.MDX", kind);
    ASSERT_TRUE(other.holding());
    FolderUpdate update(folder_.path());
    update.Hold("A.DBF", "la tabla");
    EXPECT_EQ(Message([&] { update.Hold("b.mdx", "el índice"); }),
              "No se puede reemplazar el índice " + (folder_ / "B.MDX").string() +
                  ": está en uso por otro programa.");
  }
  // A file that another program took after the update began is seen at the commit.
  {
    FolderUpdate update(folder_.path());
    WriteAll(update.staging(), {{"A.DBF", "a nuevo"}});
    WriteFile(folder_ / "JORNADAS.DBF", "de otro");
    testing::LockHolder other(folder_ / "JORNADAS.DBF", testing::ForeignLock::kPosixRecord);
    ASSERT_TRUE(other.holding());
    EXPECT_THAT(Message([&] { update.Commit({"A.DBF"}, {"JORNADAS.DBF"}); }),
                HasSubstr("está en uso por otro programa"));
  }
  Files expected = kOld;
  expected["JORNADAS.DBF"] = "de otro";
  EXPECT_EQ(Snapshot(folder_.path()), expected);
}

// What a run killed during its moves leaves: the journal, some files moved, some not.
TEST_F(FolderUpdateTest, AnUpdateInterruptedAfterItsJournalIsCompletedByTheNextRun) {
  std::filesystem::create_directory(folder_ / kStagingFolderName);
  WriteAll(folder_ / kStagingFolderName, {{"PROFT.DBF", "proft nuevo"}});
  WriteFile(folder_ / "A.DBF", "a nuevo");  // already moved
  WriteFile(folder_ / kJournalName,
            "ZENTROVA 1\nMUEVE A.DBF\nMUEVE PROFT.DBF\nBORRA proft.dbf\nBORRA B.MDX\nFIN\n");
  { LockedFolder next_run(folder_.path()); }
  EXPECT_EQ(Snapshot(folder_.path()), (Files{{"A.DBF", "a nuevo"},
                                             {"PROFT.DBF", "proft nuevo"},
                                             {"OTRO.TXT", "de otro programa"}}));
}

TEST_F(FolderUpdateTest, WhatAnUpdateLeftBeforeItsJournalIsRemoved) {
  std::filesystem::create_directory(folder_ / kStagingFolderName);
  WriteAll(folder_ / kStagingFolderName, {{"A.DBF", "a a medias"}});
  WriteFile(folder_ / "ZENTROVA.JNL.zentrova.tmp", "ZENTROVA 1\nMUEVE A.D");
  { FolderUpdate next_run(folder_.path()); }
  EXPECT_EQ(Snapshot(folder_.path()), kOld);
}

TEST_F(FolderUpdateTest, AJournalThatIsNotOursIsNotFollowed) {
  TempFolder outside;
  WriteFile(outside / "ajeno", "intacto");
  const std::string escape = "../" + outside.path().filename().string() + "/ajeno";
  const std::string journals[] = {
      "ZENTROVA 1\nBORRA " + escape + "\nFIN\n",  // a file outside the folder
      "ZENTROVA 1\nBORRA A.DBF\n",                // cut short
      "OTRO 1\nBORRA A.DBF\nFIN\n",               // another program's
      "ZENTROVA 1\nCOPIA A.DBF\nFIN\n",           // an unknown step
  };
  for (const std::string& journal : journals) {
    SCOPED_TRACE(journal);
    WriteFile(folder_ / kJournalName, journal);
    { LockedFolder next_run(folder_.path()); }
    EXPECT_EQ(Snapshot(folder_.path()), kOld);
  }
  EXPECT_EQ(ReadFile(outside / "ajeno"), "intacto");
}

}  // namespace
}  // namespace zentrova::files
