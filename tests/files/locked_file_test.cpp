// Locks that other programs see, and locks of theirs that we see.

#include "files/locked_file.h"

#include <gtest/gtest.h>

#include "support/foreign_lock.h"
#include "support/temp_folder.h"

namespace zentrova::files {
namespace {

using testing::ForeignLock;
using testing::kEveryForeignLock;
using testing::LockHolder;
using testing::NameOf;
using testing::OtherProcessCanLock;
using testing::TempFolder;

TEST(LockedFileTest, ALockOfAnyKindHeldElsewhereKeepsUsOut) {
  TempFolder folder;
  const auto file = folder / "PROFT.DBF";
  testing::WriteFile(file, "x");
  for (ForeignLock kind : kEveryForeignLock) {
    SCOPED_TRACE(NameOf(kind));
    {
      LockHolder other(file, kind, /*exclusive=*/true);
      ASSERT_TRUE(other.holding());
      for (LockKind ours : {LockKind::kShared, LockKind::kExclusive}) {
        LockedFile locked;
        EXPECT_EQ(locked.Open(file, ours), OpenStatus::kHeld);
        EXPECT_FALSE(locked.is_open());
      }
    }
    {
      LockHolder shared(file, kind, /*exclusive=*/false);
      ASSERT_TRUE(shared.holding());
      LockedFile reader;
      EXPECT_EQ(reader.Open(file, LockKind::kShared), OpenStatus::kOpened);
      LockedFile writer;
      EXPECT_EQ(writer.Open(file, LockKind::kExclusive), OpenStatus::kHeld);
    }
  }
}

TEST(LockedFileTest, OurLocksKeepEveryKindOfOtherLockOut) {
  TempFolder folder;
  const auto file = folder / "PROFT.DBF";
  testing::WriteFile(file, "x");
  LockedFile exclusive;
  ASSERT_EQ(exclusive.Open(file, LockKind::kExclusive), OpenStatus::kOpened);
  for (ForeignLock kind : kEveryForeignLock) {
    SCOPED_TRACE(NameOf(kind));
    EXPECT_FALSE(OtherProcessCanLock(file, kind, /*exclusive=*/false));
  }
  exclusive.Close();

  LockedFile shared;
  ASSERT_EQ(shared.Open(file, LockKind::kShared), OpenStatus::kOpened);
  for (ForeignLock kind : kEveryForeignLock) {
    SCOPED_TRACE(NameOf(kind));
    EXPECT_TRUE(OtherProcessCanLock(file, kind, /*exclusive=*/false));
    EXPECT_FALSE(OtherProcessCanLock(file, kind, /*exclusive=*/true));
  }
}

TEST(LockedFileTest, ANewFileIsNeverMadeThroughALink) {
  TempFolder folder;
  testing::WriteFile(folder / "victima", "intacta");
  std::error_code refused;
  std::filesystem::create_symlink(folder / "victima", folder / "nuevo", refused);
  if (refused) GTEST_SKIP() << "this file system takes no symbolic link: " << refused.message();
  LockedFile file;
  EXPECT_NE(file.Open(folder / "nuevo", LockKind::kExclusive, /*create=*/true),
            OpenStatus::kOpened);
  EXPECT_EQ(testing::ReadFile(folder / "victima"), "intacta");
}

}  // namespace
}  // namespace zentrova::files
