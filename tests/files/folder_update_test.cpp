// Several files of a folder replaced all at once or not at all, one update at a time, and
// an update that a crash interrupted completed by the next one.

#include "files/folder_update.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/foreign_lock.h"
#include "support/temp_folder.h"

namespace zentrova::files {
namespace {

using testing::Files;
using ::testing::HasSubstr;
using testing::ReadFile;
using testing::Snapshot;
using testing::TempFolder;
using testing::WriteFile;

void WriteAll(const std::filesystem::path& folder, const Files& files) {
  for (const auto& [name, bytes] : files) WriteFile(folder / name, bytes);
}

// The only files an update of the folder may change.
const std::vector<std::string> kNames = {"A.DBF", "B.MDX", "C.DBF", "PROFT.DBF", "JORNADAS.DBF"};

// What a run killed during its moves leaves: the staging folder with its mark and the files
// it had not moved yet, and the journal, whose steps are `steps` (one per line).
void LeaveInterruptedUpdate(const std::filesystem::path& folder, const std::string& steps,
                            const Files& staged, const std::string& mark = "5eed0f") {
  std::filesystem::create_directory(folder / kStagingFolderName);
  WriteAll(folder / kStagingFolderName, staged);
  WriteFile(folder / kStagingFolderName / kStagingMarkName, mark);
  WriteFile(folder / kJournalName, "ZENTROVA 2\nCARPETA 5eed0f\n" + steps + "FIN\n");
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
    FolderUpdate update(folder_.path(), kNames);
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
    FolderUpdate update(folder_.path(), kNames);
    WriteAll(update.staging(), {{"A.DBF", "a nuevo"}});
  }
  EXPECT_EQ(Snapshot(folder_.path()), kOld);
}

TEST_F(FolderUpdateTest, OneUpdateAtATime) {
  const std::string in_use = "La carpeta de intercambio " + folder_.path().string() +
                             " está en uso por otra conversión. Espere a que termine y vuelva "
                             "a intentarlo.";
  {
    FolderUpdate first(folder_.path(), kNames);
    EXPECT_EQ(Message([&] { FolderUpdate second(folder_.path(), kNames); }), in_use);
    EXPECT_EQ(Message([&] { LockedFolder reader(folder_.path(), kNames); }), in_use);
  }
  {
    // Another process's run: its lock is seen too.
    WriteFile(folder_ / kFolderLockName, "");
    testing::LockHolder other(folder_ / kFolderLockName, testing::ForeignLock::kFlock);
    ASSERT_TRUE(other.holding());
    EXPECT_EQ(Message([&] { FolderUpdate update(folder_.path(), kNames); }), in_use);
  }
  { FolderUpdate again(folder_.path(), kNames); }  // a lock file left behind is taken over
  EXPECT_EQ(Snapshot(folder_.path()), kOld);

  EXPECT_EQ(Message([&] { FolderUpdate update(folder_ / "falta", kNames); }),
            "No existe la carpeta de intercambio " + (folder_ / "falta").string() + ".");
  EXPECT_THAT(Message([&] { FolderUpdate update(folder_ / "A.DBF", kNames); }),
              HasSubstr("no es una carpeta"));
}

TEST_F(FolderUpdateTest, AFileThatCannotBeReplacedStopsTheUpdateBeforeAnythingMoves) {
  for (testing::ForeignLock kind : testing::kEveryForeignLock) {
    SCOPED_TRACE(testing::NameOf(kind));
    testing::LockHolder other(folder_ / "B.MDX", kind);
    ASSERT_TRUE(other.holding());
    FolderUpdate update(folder_.path(), kNames);
    update.Hold("A.DBF", "la tabla");
    EXPECT_EQ(Message([&] { update.Hold("b.mdx", "el índice"); }),
              "No se puede reemplazar el índice " + (folder_ / "B.MDX").string() +
                  ": está en uso por otro programa.");
  }
  // A file that another program took after the update began is seen at the commit.
  {
    FolderUpdate update(folder_.path(), kNames);
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
  WriteFile(folder_ / "A.DBF", "a nuevo");  // already moved
  LeaveInterruptedUpdate(folder_.path(),
                         "MUEVE A.DBF\nMUEVE PROFT.DBF\nBORRA proft.dbf\nBORRA B.MDX\n",
                         {{"PROFT.DBF", "proft nuevo"}});
  { LockedFolder next_run(folder_.path(), kNames); }
  EXPECT_EQ(Snapshot(folder_.path()), (Files{{"A.DBF", "a nuevo"},
                                             {"PROFT.DBF", "proft nuevo"},
                                             {"OTRO.TXT", "de otro programa"}}));
}

TEST_F(FolderUpdateTest, WhatAnUpdateLeftBeforeItsJournalIsRemoved) {
  std::filesystem::create_directory(folder_ / kStagingFolderName);
  WriteAll(folder_ / kStagingFolderName, {{"A.DBF", "a a medias"}});
  WriteFile(folder_ / "ZENTROVA.JNL.zentrova.tmp", "ZENTROVA 2\nMUEVE A.D");
  { FolderUpdate next_run(folder_.path(), kNames); }
  EXPECT_EQ(Snapshot(folder_.path()), kOld);
}

// A journal that this program could not have written for this folder is not carried out: it
// goes, with the program's files in the staging folder, and every other file stays as it was.
TEST_F(FolderUpdateTest, AJournalThatIsNotOursIsNotFollowed) {
  TempFolder outside;
  WriteFile(outside / "ajeno", "intacto");
  const std::string escape = "../" + outside.path().filename().string() + "/ajeno";
  const std::string mark = "ZENTROVA 2\nCARPETA 5eed0f\n";
  const struct {
    const char* what;
    std::string journal;
  } cases[] = {
      {"a file outside the folder", mark + "BORRA " + escape + "\nFIN\n"},
      {"a file no update changes", mark + "BORRA OTRO.TXT\nFIN\n"},
      {"the folder's lock", mark + "BORRA ZENTROVA.LCK\nFIN\n"},
      {"the staging folder", mark + "BORRA ZENTROVA.NUEVO\nFIN\n"},
      {"cut short", mark + "BORRA A.DBF\n"},
      {"more after its end", mark + "BORRA A.DBF\nFIN\nBORRA B.MDX\n"},
      {"another program's", "OTRO 1\nBORRA A.DBF\nFIN\n"},
      {"an older journal, without a mark", "ZENTROVA 1\nBORRA A.DBF\nFIN\n"},
      {"another staging folder's", "ZENTROVA 2\nCARPETA 0ther\nBORRA A.DBF\nFIN\n"},
      {"an unknown step", mark + "COPIA A.DBF\nFIN\n"},
      {"larger than any journal",
       mark + "BORRA A.DBF\n" + std::string(kMaxJournalBytes, ' ') + "\nFIN\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LeaveInterruptedUpdate(folder_.path(), "", {{"A.DBF", "a nuevo"}});
    WriteFile(folder_ / kJournalName, c.journal);
    { LockedFolder next_run(folder_.path(), kNames); }
    EXPECT_EQ(Snapshot(folder_.path()), kOld);
  }
  EXPECT_EQ(ReadFile(outside / "ajeno"), "intacto");
}

// The staging folder a journal moves files in from must be the one it was written for, and
// every file moved in one of its own: no link, no second name of another file.
TEST_F(FolderUpdateTest, AJournalMovesInOnlyFilesOfItsOwnStagingFolder) {
  TempFolder outside;
  WriteFile(outside / "A.DBF", "ajeno");
  const std::filesystem::path staging = folder_ / kStagingFolderName;
  const struct {
    const char* what;
    std::function<void()> change;
  } cases[] = {
      {"a staged file that is a second name of another file",
       [&] {
         std::filesystem::remove(staging / "A.DBF");
         std::filesystem::create_hard_link(outside / "A.DBF", staging / "A.DBF");
       }},
      {"no mark", [&] { std::filesystem::remove(staging / kStagingMarkName); }},
      {"another mark", [&] { WriteFile(staging / kStagingMarkName, "0ther"); }},
#ifndef _WIN32  // links that Windows programs see as such need the right to make them
      {"a staging folder that is a link",
       [&] {
         std::filesystem::copy_file(staging / kStagingMarkName, outside / kStagingMarkName);
         std::filesystem::remove_all(staging);
         std::filesystem::create_directory_symlink(outside.path(), staging);
       }},
      {"a staged file that is a link",
       [&] {
         std::filesystem::remove(staging / "A.DBF");
         std::filesystem::create_symlink(outside / "A.DBF", staging / "A.DBF");
       }},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LeaveInterruptedUpdate(folder_.path(), "MUEVE A.DBF\nBORRA B.MDX\n", {{"A.DBF", "a nuevo"}});
    c.change();
    { LockedFolder next_run(folder_.path(), kNames); }
    EXPECT_EQ(Snapshot(folder_.path()), kOld);
    EXPECT_EQ(Snapshot(outside.path()).at("A.DBF"), "ajeno");
    std::filesystem::remove(outside / kStagingMarkName);
  }
}

// The lock is the run's own: no journal removes it, so a second run stays out for the whole
// of the first.
TEST_F(FolderUpdateTest, NoJournalTakesTheLockAway) {
  LeaveInterruptedUpdate(folder_.path(), "BORRA ZENTROVA.LCK\nBORRA ZENTROVA.lck\n", {});
  FolderUpdate first(folder_.path(), kNames);
  EXPECT_TRUE(std::filesystem::exists(folder_ / kFolderLockName));
  EXPECT_THAT(Message([&] { FolderUpdate second(folder_.path(), kNames); }),
              HasSubstr("está en uso por otra conversión"));
}

TEST_F(FolderUpdateTest, AnUpdateNeverChangesTheProgramsOwnNames) {
  TempFolder other;
  for (const char* name :
       {"ZENTROVA.LCK", "zentrova.jnl", "ZENTROVA.NUEVO", "ZENTROVA.ID", "A.DBF.zentrova.tmp"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Message([&] { FolderUpdate update(other.path(), {name}); }),
              "No se puede guardar el archivo " + (other / name).string() +
                  ": Zentrova usa ese nombre para sí. Elija otro nombre.");
  }
}

// A move that no later run could make (a folder stands where the file goes) is given up once,
// with a message naming the file, instead of blocking every later run.
TEST_F(FolderUpdateTest, AMoveThatCanNeverBeMadeIsGivenUpWithAMessage) {
  std::filesystem::remove(folder_ / "A.DBF");
  std::filesystem::create_directory(folder_ / "A.DBF");
  WriteFile(folder_ / "A.DBF" / "dentro", "de otro");
  LeaveInterruptedUpdate(folder_.path(), "MUEVE A.DBF\nMUEVE PROFT.DBF\nBORRA proft.dbf\n",
                         {{"A.DBF", "a nuevo"}, {"PROFT.DBF", "proft nuevo"}});
  EXPECT_EQ(Message([&] { LockedFolder next_run(folder_.path(), kNames); }),
            "No se ha podido poner en su sitio el archivo " + (folder_ / "A.DBF").string() +
                " de una conversión interrumpida: en su lugar hay una carpeta. El resto de la "
                "conversión se ha completado; vuelva a convertir cuando haya quitado la carpeta.");
  EXPECT_EQ(Snapshot(folder_.path()), (Files{{"A.DBF", "<carpeta>"},
                                             {"B.MDX", "b viejo"},
                                             {"PROFT.DBF", "proft nuevo"},
                                             {"OTRO.TXT", "de otro programa"}}));
  { LockedFolder after(folder_.path(), kNames); }  // not tried again
  EXPECT_EQ(ReadFile(folder_ / "A.DBF" / "dentro"), "de otro");
}

// What stands at the program's own names but the program did not make: cleared when nothing
// but the name goes, else named with what to do.
TEST_F(FolderUpdateTest, LeftoversAtTheProgramsNamesAreClearedOrNamed) {
  TempFolder outside;
  WriteFile(outside / "ajeno", "intacto");
  const auto empty_folder = [](const std::filesystem::path& at) {
    std::filesystem::create_directory(at);
  };
  const auto folder_with_a_file = [](const std::filesystem::path& at) {
    std::filesystem::create_directory(at);
    WriteFile(at / "dentro", "de otro");
  };
#ifndef _WIN32
  const auto link_outside = [&](const std::filesystem::path& at) {
    std::filesystem::create_symlink(outside / "ajeno", at);
  };
#endif
  const struct {
    const char* name;
    std::function<void(const std::filesystem::path&)> leave;
    std::string message;  // empty: cleared, and the update goes on
  } cases[] = {
      {"ZENTROVA.LCK", empty_folder, ""},
      {"ZENTROVA.JNL", empty_folder, ""},
      {"ZENTROVA.JNL", folder_with_a_file, "su diario"},
      {"ZENTROVA.JNL.zentrova.tmp", folder_with_a_file, "escribir su diario"},
      {"ZENTROVA.NUEVO", folder_with_a_file, "escribir aparte los archivos nuevos"},
      {"ZENTROVA.LCK", folder_with_a_file, "su archivo de bloqueo"},
#ifndef _WIN32
      {"ZENTROVA.LCK", link_outside, ""},
      {"ZENTROVA.JNL", link_outside, ""},
      {"ZENTROVA.NUEVO", link_outside, ""},
      {"ZENTROVA.JNL.zentrova.tmp", link_outside, ""},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.message);
    const std::filesystem::path at = folder_ / c.name;
    c.leave(at);
    const std::string message = Message([&] {
      FolderUpdate update(folder_.path(), kNames);
      WriteAll(update.staging(), {{"A.DBF", "a nuevo"}});
      update.Commit({"A.DBF"}, {});
    });
    if (c.message.empty()) {
      EXPECT_EQ(message, "");
      EXPECT_EQ(ReadFile(folder_ / "A.DBF"), "a nuevo");
      EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(at)));
    } else {
      EXPECT_THAT(message, HasSubstr(at.string()));
      EXPECT_THAT(message, HasSubstr(c.message));
      EXPECT_THAT(message, HasSubstr("Muévalo a otro sitio o bórrelo, y vuelva a intentarlo."));
      EXPECT_EQ(ReadFile(at / "dentro"), "de otro");
      std::filesystem::remove_all(at);
    }
    WriteAll(folder_.path(), kOld);
  }
  EXPECT_EQ(ReadFile(outside / "ajeno"), "intacto");
}

}  // namespace
}  // namespace zentrova::files
