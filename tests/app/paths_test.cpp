// Where a run looks for the level table, and where batch mode leaves its result.

#include "app/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/batch_mode.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "app/paths_posix.h"
#endif

#include "app/batch_mode.h"
#include "support/temp_folder.h"
#include "text/encoding.h"

namespace zentrova::app {
namespace {

using testing::TempFolder;
using testing::WriteFile;

struct LevelTableCase {
  const char* name;
  std::optional<std::string> school;   // the name of the school's table, when it has one
  std::optional<std::string> shipped;  // the name of the table beside the program
  bool school_is_folder = false;       // the school's place holds a folder of that name
  std::string expected;                // "school/NAME" or "shipped/NAME"
};

TEST(PathsTest, TheSchoolsTableComesBeforeTheShippedOne) {
  const LevelTableCase cases[] = {
      {"both", "NIVELEX.DBF", "NIVELEX.DBF", false, "school/NIVELEX.DBF"},
      {"the shipped one alone", std::nullopt, "NIVELEX.DBF", false, "shipped/NIVELEX.DBF"},
      {"names in another case", "nivelex.dbf", "Nivelex.Dbf", false, "school/nivelex.dbf"},
      {"neither", std::nullopt, std::nullopt, false, "shipped/NIVELEX.DBF"},
      // Reported as the school's, not passed over for the shipped table.
      {"a folder in the school's place", "NIVELEX.DBF", "NIVELEX.DBF", true, "school/NIVELEX.DBF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder root;
    std::filesystem::create_directories(root / "school");
    std::filesystem::create_directories(root / "shipped");
    if (c.school && c.school_is_folder)
      std::filesystem::create_directory(root / "school" / *c.school);
    if (c.school && !c.school_is_folder) WriteFile(root / "school" / *c.school, "x");
    if (c.shipped) WriteFile(root / "shipped" / *c.shipped, "x");

    const RunPaths paths = RunPathsLookingIn(root / "ktemp", {root / "school", root / "shipped"});
    EXPECT_EQ(paths.ktemp, root / "ktemp");
    EXPECT_EQ(paths.nivelex, root.path() / text::PathFromUtf8(c.expected));
    EXPECT_EQ(paths.nivelex_places.size(), 2u);
  }
}

TEST(PathsTest, TheMissingTableMessageNamesWhereItWasLookedFor) {
  TempFolder root;
  const RunPaths searched = RunPathsLookingIn(root / "ktemp", {root / "datos", root / "programa"});
  EXPECT_EQ(LevelTableMissingMessage(searched),
            u"ATENCIÓN - NIVELEX.DBF No encontrado - Reinstale ZENTROVA\nSe ha buscado en «" +
                text::PathText(root / "datos" / "NIVELEX.DBF") + u"» y en «" +
                text::PathText(root / "programa" / "NIVELEX.DBF") + u"».");

  const RunPaths named{root / "ktemp", root / "mía.dbf"};
  EXPECT_EQ(LevelTableMissingMessage(named),
            u"ATENCIÓN - NIVELEX.DBF No encontrado - Reinstale ZENTROVA\nSe ha buscado en «" +
                text::PathText(root / "mía.dbf") + u"».");
}

#ifndef _WIN32

// Sets an environment variable for the life of the object (unset with nullopt).
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedVariable() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(PathsTest, TheUsersSettingsFolderFollowsXdgConfigHome) {
  const struct {
    std::optional<std::string> xdg_config_home;
    std::string expected;
  } cases[] = {
      {"/srv/ajustes", "/srv/ajustes/zentrova"},
      {std::nullopt, "/home/secretaria/.config/zentrova"},
      {"", "/home/secretaria/.config/zentrova"},
      {"relativa", "/home/secretaria/.config/zentrova"},  // only an absolute one counts
  };
  const ScopedVariable home("HOME", "/home/secretaria");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.xdg_config_home.value_or("<unset>"));
    const ScopedVariable config("XDG_CONFIG_HOME", c.xdg_config_home);
    EXPECT_EQ(UserSettingsFolder(), std::filesystem::path(c.expected));
  }
}

// The user nobody for the life of the object when the test runs as root, for whom no
// permission is checked.
class AsAnotherUser {
 public:
  AsAnotherUser() : changed_(geteuid() == 0 && seteuid(kNobody) == 0) {}
  ~AsAnotherUser() {
    if (changed_) {
      EXPECT_EQ(seteuid(0), 0);
    }
  }
  static constexpr uid_t kNobody = 65534;

 private:
  bool changed_;
};

// A folder the user of AsAnotherUser owns when the test runs as root.
void MakeOwnFolder(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(folder.c_str(), AsAnotherUser::kNobody, -1), 0);
  }
}

struct PlaceCase {
  const char* name;
  bool program_folder_writable;
  std::optional<std::string> existing;  // a result file already in the program folder
  bool existing_writable;
  std::string expected;  // relative to the test's folder
};

TEST(PathsTest, TheResultGoesBesideTheProgramWhereTheUserCanWriteIt) {
  const PlaceCase cases[] = {
      {"a folder of the user's", true, std::nullopt, false, "programa/Orbelin.ini"},
      {"its file in another case", true, "ORBELIN.INI", false, "programa/ORBELIN.INI"},
      {"an installed package", false, std::nullopt, false, "home/.config/zentrova/Orbelin.ini"},
      {"a file the user may write", false, "Orbelin.ini", true, "programa/Orbelin.ini"},
      {"a file the user may not write", false, "Orbelin.ini", false,
       "home/.config/zentrova/Orbelin.ini"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder root;
    const auto program = root / "programa";
    const auto fallback = root / "home" / ".config" / "zentrova";
    MakeOwnFolder(root / "home");
    if (c.program_folder_writable) {
      MakeOwnFolder(program);
    } else {
      std::filesystem::create_directories(program);
    }
    if (c.existing) {
      WriteFile(program / *c.existing, "[Otro]\r\n");
      chmod((program / *c.existing).c_str(), c.existing_writable ? 0666 : 0444);
    }
    chmod(program.c_str(), c.program_folder_writable ? 0755 : 0555);

    std::filesystem::path place;
    {
      const AsAnotherUser user;
      place = WritablePlace(program, fallback, "Orbelin.ini");
    }
    EXPECT_EQ(place, root.path() / c.expected);
    if (place.parent_path() == fallback) {
      // Made for the user alone, as settings folders are, and only by the run that writes.
      EXPECT_FALSE(std::filesystem::exists(fallback));
      {
        const AsAnotherUser user;
        WriteResultCode(place, 1);
      }
      EXPECT_EQ(testing::ReadFile(place), "[Transformadores]\r\nTransformado=1\r\n");
      struct stat made {};
      ASSERT_EQ(stat(fallback.c_str(), &made), 0);
      EXPECT_EQ(made.st_mode & 0777, 0700u);
    }
    chmod(program.c_str(), 0755);
  }
}

#endif

}  // namespace
}  // namespace zentrova::app
