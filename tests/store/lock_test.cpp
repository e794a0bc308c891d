// Operating-system locks: a table held exclusively by another process cannot be opened or
// replaced.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/file_replacement.h"
#include "store/table.h"
#include "support/temp_folder.h"

namespace zentrova::store {
namespace {

using testing::TempFolder;

// Another process that opens the table in `mode` and holds it until destroyed.
class OtherProcess {
 public:
  OtherProcess(const std::filesystem::path& folder, const std::string& name, OpenMode mode) {
    int ready[2];
    int release[2];
    EXPECT_EQ(pipe(ready), 0);
    EXPECT_EQ(pipe(release), 0);
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(release[1]);
      char status = 'y';
      try {
        Table table(folder, name);
        table.Open(mode);
        (void)!write(ready[1], &status, 1);
        (void)!read(release[0], &status, 1);
      } catch (...) {
        status = 'n';
        (void)!write(ready[1], &status, 1);
      }
      _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    release_ = release[1];
    char status = 0;
    EXPECT_EQ(read(ready[0], &status, 1), 1);
    EXPECT_EQ(status, 'y');
    close(ready[0]);
  }
  ~OtherProcess() {
    close(release_);
    int status = 0;
    waitpid(pid_, &status, 0);
  }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
};

void MakeTable(const TempFolder& folder) {
  Table table(folder.path(), "PROFT.DBF");
  table.Create({{"NOMBRE", FieldKind::kText, 10}});
}

TEST(LockTest, ExclusiveHolderKeepsOtherProcessesOut) {
  TempFolder folder;
  MakeTable(folder);
  {
    OtherProcess other(folder.path(), "PROFT.DBF", OpenMode::kExclusive);
    for (OpenMode mode : {OpenMode::kShared, OpenMode::kExclusive}) {
      Table table(folder.path(), "proft.dbf");
      try {
        table.Open(mode);
        FAIL() << "opened a held table";
      } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "La tabla " + (folder / "PROFT.DBF").string() +
                                             " está en uso por otro programa.");
      }
      EXPECT_FALSE(table.IsOpen());
    }
    Table table(folder.path(), "PROFT.DBF");
    EXPECT_THROW(table.Create({{"A", FieldKind::kText, 1}}), Error);
    EXPECT_THROW(files::HoldForReplacing(folder / "PROFT.DBF", "la tabla"), files::Error);
  }
  Table table(folder.path(), "PROFT.DBF");
  table.Open(OpenMode::kExclusive);
  EXPECT_TRUE(table.IsOpen());
}

TEST(LockTest, SharedHoldersLetEachOtherIn) {
  TempFolder folder;
  MakeTable(folder);
  OtherProcess other(folder.path(), "PROFT.DBF", OpenMode::kShared);
  Table shared(folder.path(), "PROFT.DBF");
  shared.Open(OpenMode::kShared);
  shared.Append();
  shared.SetText("NOMBRE", u"Ana");
  shared.Post();
  Table exclusive(folder.path(), "PROFT.DBF");
  EXPECT_THROW(exclusive.Open(OpenMode::kExclusive), Error);
}

TEST(LockTest, TwoTablesOfOneProcessConflictToo) {
  TempFolder folder;
  MakeTable(folder);
  Table first(folder.path(), "PROFT.DBF");
  first.Open(OpenMode::kExclusive);
  first.Open(OpenMode::kShared);  // opening an open table changes nothing
  Table second(folder.path(), "PROFT.DBF");
  EXPECT_THROW(second.Open(), Error);
  first.Close();
  first.Close();
  second.Open();
  EXPECT_THROW(files::HoldForReplacing(folder / "PROFT.DBF", "la tabla"), files::Error);
  second.Close();
  EXPECT_TRUE(files::HoldForReplacing(folder / "PROFT.DBF", "la tabla").is_open());
}

}  // namespace
}  // namespace zentrova::store
