// Faults a school PC meets, tried on the real zentrova-cli: a table held by another program,
// a table that cannot be replaced, a full disk, the process killed, two runs at once. After
// each, the exchange folder is wholly the old one or wholly the new one, every table in it
// reads with an independent reader (python3-dbfread), and nothing is left behind.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "support/bundled_files.h"
#include "support/foreign_lock.h"
#include "support/python.h"
#include "support/small_disk.h"
#include "support/temp_folder.h"

namespace zentrova::testing {
namespace {

using ::testing::HasSubstr;

const std::string kScale = std::string(ZENTROVA_SOURCE_DIR) + "/bench/scale_export.py";
constexpr char kNothingChanged[] = "No se ha modificado ninguna tabla.";

std::string Names(const Files& files) {
  std::string names;
  for (const auto& [name, bytes] : files) names += name + " ";
  return names;
}

// Every table of the folder, read whole by python3-dbfread.
constexpr char kReadEveryTable[] = R"PY(
import glob, os, sys
from dbfread import DBF
for path in sorted(glob.glob(os.path.join(sys.argv[1], '*.DBF'))):
    rows = len(list(DBF(path, encoding='cp1252')))
print('OK')
)PY";

CommandResult Exportar(const std::string& export_file, const std::filesystem::path& ktemp,
                       const std::string& marcos, const std::string& prefix = "") {
  return RunCommand(prefix + ShellQuote(kCli) + " exportar " + ShellQuote(export_file) +
                    " --ktemp " + ShellQuote(ktemp.string()) + " --nivelex " +
                    ShellQuote(kNivelex) + " --marcos " + marcos);
}

class ExchangeFaultsTest : public ::testing::Test {
 protected:
  // The old folder: the sample with one frame. The new one: the sample grown twenty times
  // with both frames, so that a run lasts long enough to be killed in its middle.
  static void SetUpTestSuite() {
    work_ = new TempFolder;
    for (auto [times, file] : {std::pair{"20", big_export()}, std::pair{"2", small_export()}}) {
      const CommandResult grown =
          RunCommand(ShellQuote(ZENTROVA_PYTHON) + " " + ShellQuote(kScale) + " " +
                     ShellQuote(kSample) + " " + times + " " + ShellQuote(file));
      ASSERT_EQ(grown.exit_code, 0) << grown.err;
    }
    WriteFile(*work_ / "roto.xml", "<SERVICIO><BLOQUE_DATOS>");
    for (auto [files, source, marcos] :
         {std::tuple{&old_, kSample, "M"}, std::tuple{&new_, big_export(), "M,T"},
          std::tuple{&new_small_, small_export(), "M,T"}}) {
      TempFolder ktemp;
      const CommandResult run = Exportar(source, ktemp.path(), marcos);
      ASSERT_EQ(run.exit_code, 0) << run.err;
      // A table the run removes, as an older version of the timetabling product left it.
      if (files == &old_)
        std::filesystem::copy_file(ktemp / "PERIODOS.DBF", ktemp / "JORNADAS.DBF");
      *files = Snapshot(ktemp.path(), StoredDates::kZeroed);
    }
    ASSERT_NE(old_, new_);
  }
  static void TearDownTestSuite() { delete work_; }

  static std::string big_export() { return (*work_ / "grande.xml").string(); }
  static std::string small_export() { return (*work_ / "doble.xml").string(); }
  static std::string broken_export() { return (*work_ / "roto.xml").string(); }

  // A run of the new export into a folder holding the old tables.
  CommandResult ConvertOverOld(const std::filesystem::path& ktemp, const std::string& prefix = "") {
    return Exportar(big_export(), ktemp, "M,T", prefix);
  }

  void ExpectWhollyOld(const std::filesystem::path& ktemp) {
    const Files now = Snapshot(ktemp, StoredDates::kZeroed);
    EXPECT_TRUE(now == old_) << "left: " << Names(now);
  }

  static TempFolder* work_;
  static Files old_;
  static Files new_;
  static Files new_small_;  // from small_export()
};

TempFolder* ExchangeFaultsTest::work_ = nullptr;
Files ExchangeFaultsTest::old_;
Files ExchangeFaultsTest::new_;
Files ExchangeFaultsTest::new_small_;

// The first table, one in the middle, the last one, the index, and a file the run removes,
// each held with every kind of lock that other programs take.
TEST_F(ExchangeFaultsTest, ATableHeldByAnotherProgramStopsTheRunBeforeAnythingChanges) {
  TempFolder ktemp;
  const std::pair<const char*, const char*> held_files[] = {{"ASIGNOMT.DBF", "la tabla"},
                                                            {"CURSOST.DBF", "la tabla"},
                                                            {"PERIODOS.DBF", "la tabla"},
                                                            {"DIASHORAST2.MDX", "el índice"},
                                                            {"JORNADAS.DBF", "la tabla"}};
  for (const auto& [name, what] : held_files) {
    for (ForeignLock kind : kEveryForeignLock) {
      SCOPED_TRACE(std::string(name) + " " + NameOf(kind));
      PutFiles(ktemp.path(), old_);
      LockHolder other(ktemp / name, kind);
      ASSERT_TRUE(other.holding());
      const CommandResult run = ConvertOverOld(ktemp.path());
      EXPECT_EQ(run.exit_code, 3);
      EXPECT_EQ(run.err, "No se puede reemplazar " + std::string(what) + " " +
                             (ktemp / name).string() + ": está en uso por otro programa. " +
                             kNothingChanged + "\n");
      ExpectWhollyOld(ktemp.path());
    }
  }
}

TEST_F(ExchangeFaultsTest, ATableThatCannotBeReplacedStopsTheRunBeforeAnythingChanges) {
  TempFolder ktemp;
  PutFiles(ktemp.path(), old_);
  const std::string file = ShellQuote((ktemp / "CURSOST.DBF").string());
  if (RunCommand("chattr +i " + file).exit_code != 0) {
    GTEST_SKIP() << "this file system takes no immutable files";
  }
  const CommandResult run = ConvertOverOld(ktemp.path());
  RunCommand("chattr -i " + file);
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_THAT(run.err, HasSubstr((ktemp / "CURSOST.DBF").string() + ": es de solo lectura."));
  ExpectWhollyOld(ktemp.path());
}

// Disks from too small for anything to big enough: each run ends with the new folder, or
// with a message and the old one.
TEST_F(ExchangeFaultsTest, AFullDiskLeavesTheOldTables) {
  int completed = 0;
  for (uint64_t kilobytes = 96; kilobytes <= 1024; kilobytes += 64) {
    SCOPED_TRACE(std::to_string(kilobytes) + " KB");
    SmallDisk disk(kilobytes * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "a small disk cannot be mounted here";
    PutFiles(disk.path(), old_);
    const CommandResult run = ConvertOverOld(disk.path());
    if (run.exit_code == 0) {
      ++completed;
      EXPECT_EQ(Snapshot(disk.path(), StoredDates::kZeroed), new_);
    } else {
      EXPECT_EQ(run.exit_code, 3);
      EXPECT_THAT(run.err, HasSubstr("no queda espacio en el disco"));
      EXPECT_THAT(run.err, HasSubstr(kNothingChanged));
      ExpectWhollyOld(disk.path());
    }
  }
  EXPECT_GT(completed, 0) << "no disk was large enough";
}

// A limit on the size of one file (what a quota or an old file system sets) meets every
// table in turn.
TEST_F(ExchangeFaultsTest, AFileLargerThanTheSystemAllowsLeavesTheOldTables) {
  TempFolder ktemp;
  for (int kilobytes : {1, 4, 16, 64}) {
    SCOPED_TRACE(std::to_string(kilobytes) + " KB");
    PutFiles(ktemp.path(), old_);
    const CommandResult run =
        ConvertOverOld(ktemp.path(), "trap '' XFSZ; ulimit -f " + std::to_string(kilobytes) + "; ");
    EXPECT_EQ(run.exit_code, 3);
    EXPECT_THAT(run.err, HasSubstr("el archivo supera el tamaño que admite el sistema"));
    ExpectWhollyOld(ktemp.path());
  }
}

// Killed at a random moment: every table still reads; the next run that locks the folder
// (here one that then stops at an export that is not well formed) leaves it wholly old or
// wholly new, with nothing left behind. The first run is killed before it can change
// anything and the last one not before it ends, so that both outcomes are seen.
TEST_F(ExchangeFaultsTest, AKilledRunLeavesTheOldFolderOrTheNewOne) {
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> milliseconds(1, 600);
  std::vector<int> kill_times = {1};
  for (int trial = 0; trial < 20; ++trial) kill_times.push_back(milliseconds(random));
  kill_times.push_back(99000);
  TempFolder ktemp;
  int old_ones = 0;
  int new_ones = 0;
  for (const int after : kill_times) {
    SCOPED_TRACE("killed after " + std::to_string(after) + " ms");
    PutFiles(ktemp.path(), old_);
    ConvertOverOld(ktemp.path(),
                   "timeout -s KILL " + std::to_string(after / 1000.0).substr(0, 5) + " ");
    const CommandResult readable = RunPython(kReadEveryTable, {ktemp.path().string()});
    EXPECT_EQ(readable.out, "OK\n") << readable.err;
    const CommandResult next = Exportar(broken_export(), ktemp.path(), "M");
    EXPECT_EQ(next.exit_code, 1) << next.err;
    const Files now = Snapshot(ktemp.path(), StoredDates::kZeroed);
    if (now == old_) {
      ++old_ones;
    } else {
      EXPECT_TRUE(now == new_) << "neither old nor new: " << Names(now);
      ++new_ones;
    }
  }
  std::cout << "killed runs: " << old_ones << " left the old folder, " << new_ones
            << " the new one\n";
  EXPECT_GT(old_ones, 0);
  EXPECT_GT(new_ones, 0);
}

// Killed just before each change it makes to a folder in turn (the tables it writes aside,
// the journal, each move and each removal), until a run gets through.
TEST_F(ExchangeFaultsTest, KilledBeforeAnyOfItsChangesTheNextRunLeavesTheOldFolderOrTheNew) {
  TempFolder ktemp;
  bool killed_after_the_journal = false;
  for (int change = 1; change < 500; ++change) {
    SCOPED_TRACE("killed before change " + std::to_string(change));
    PutFiles(ktemp.path(), old_);
    const CommandResult run =
        Exportar(small_export(), ktemp.path(), "M,T",
                 std::string("LD_PRELOAD=") + ZENTROVA_KILL_AT_CHANGE +
                     " ZENTROVA_TEST_KILL_AT_CHANGE=" + std::to_string(change) + " ");
    const CommandResult readable = RunPython(kReadEveryTable, {ktemp.path().string()});
    EXPECT_EQ(readable.out, "OK\n") << readable.err;
    killed_after_the_journal |= std::filesystem::exists(ktemp / "ZENTROVA.JNL");
    const CommandResult next = Exportar(broken_export(), ktemp.path(), "M");
    EXPECT_EQ(next.exit_code, 1) << next.err;
    const Files now = Snapshot(ktemp.path(), StoredDates::kZeroed);
    EXPECT_TRUE(now == old_ || now == new_small_) << "neither old nor new: " << Names(now);
    if (run.exit_code == 0) break;  // no change left to be killed before
  }
  EXPECT_TRUE(killed_after_the_journal);
}

TEST_F(ExchangeFaultsTest, ASecondRunIntoTheSameFolderStopsAtOnce) {
  TempFolder ktemp;
  PutFiles(ktemp.path(), old_);
  WriteFile(ktemp / "ZENTROVA.LCK", "");
  {
    LockHolder first_run(ktemp / "ZENTROVA.LCK", ForeignLock::kFlock);
    ASSERT_TRUE(first_run.holding());
    const CommandResult second = ConvertOverOld(ktemp.path());
    EXPECT_EQ(second.exit_code, 3);
    EXPECT_EQ(second.err, "La carpeta de intercambio " + ktemp.path().string() +
                              " está en uso por otra conversión. Espere a que termine y vuelva "
                              "a intentarlo. " +
                              kNothingChanged + "\n");
    std::filesystem::remove(ktemp / "ZENTROVA.LCK");
    ExpectWhollyOld(ktemp.path());
  }
  // Two real runs at once: one converts, the other stops or follows it.
  for (int trial = 0; trial < 8; ++trial) {
    PutFiles(ktemp.path(), old_);
    const std::string run = ShellQuote(kCli) + " exportar " + ShellQuote(big_export()) +
                            " --ktemp " + ShellQuote(ktemp.path().string()) + " --nivelex " +
                            ShellQuote(kNivelex) + " --marcos M,T >/dev/null";
    const CommandResult both =
        RunCommand("bash -c " + ShellQuote(run + " & first=$!; " + run +
                                           " & second=$!; wait $first; "
                                           "echo $?; wait $second; echo $?"));
    // Each ends converting (0), or stopped by the other one's lock (3, with its message).
    const std::string stopped = "está en uso por otra conversión";
    if (both.out != "0\n0\n") {
      EXPECT_TRUE(both.out == "0\n3\n" || both.out == "3\n0\n") << both.out;
      EXPECT_THAT(both.err, HasSubstr(stopped));
    }
    EXPECT_EQ(Snapshot(ktemp.path(), StoredDates::kZeroed), new_);
    EXPECT_EQ(Snapshot(ktemp.path(), StoredDates::kZeroed), new_);
  }
}

// One lesson for the first teacher, as the timetabling product leaves SOLUC.
constexpr char kMakeSoluc[] = R"PY(
import os, sys, soluc
from dbfread import DBF
k = sys.argv[1]
teacher = list(DBF(os.path.join(k, 'PROFT.DBF'), encoding='cp1252'))[0]['ABREV']
soluc.write(k, [(teacher, 1, 1, '0', 'LCL', '', '', '')])
)PY";
constexpr char kNothingWritten[] = "No se ha escrito ningún archivo.";

// The second direction: the result beside the chosen export is the old one or the new one.
class ResultFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(ktemp());
    const CommandResult tables = Exportar(kSample, ktemp(), "M,T");
    ASSERT_EQ(tables.exit_code, 0) << tables.err;
    const CommandResult soluc = RunPython(kMakeSoluc, {ktemp().string()});
    ASSERT_EQ(soluc.exit_code, 0) << soluc.err;
    std::filesystem::copy_file(kSample, chosen());
  }
  CommandResult Importar(const std::string& prefix = "") {
    return RunCommand(prefix + ShellQuote(kCli) + " importar " + ShellQuote(chosen().string()) +
                      " --ktemp " + ShellQuote(ktemp().string()));
  }
  // The files beside the chosen export.
  Files Beside() const {
    Files files = Snapshot(root_.path(), StoredDates::kZeroed);
    files.erase("KTEMP");
    files.erase("centro.xml");
    return files;
  }
  std::filesystem::path ktemp() const { return root_ / "KTEMP"; }
  std::filesystem::path chosen() const { return root_ / "centro.xml"; }
  std::filesystem::path result() const { return root_ / "ResultadoOrbelincentro.xml"; }
  std::filesystem::path temporary() const {
    return root_ / "ResultadoOrbelincentro.xml.zentrova.tmp";
  }

  TempFolder root_;
};

TEST_F(ResultFaultsTest, ATableOrTheResultHeldByAnotherProgramLeavesTheOldResult) {
  WriteFile(result(), "resultado anterior");
  for (ForeignLock kind : kEveryForeignLock) {
    SCOPED_TRACE(NameOf(kind));
    {
      LockHolder other(ktemp() / "SOLUC.DBF", kind);
      ASSERT_TRUE(other.holding());
      const CommandResult run = Importar();
      EXPECT_EQ(run.exit_code, 3);
      EXPECT_EQ(run.err, "La tabla " + (ktemp() / "SOLUC.DBF").string() +
                             " está en uso por otro programa. " + kNothingWritten + "\n");
    }
    {
      LockHolder other(result(), kind);
      ASSERT_TRUE(other.holding());
      const CommandResult run = Importar();
      EXPECT_EQ(run.exit_code, 3);
      EXPECT_EQ(run.err, "No se puede guardar el archivo " + result().string() +
                             ": está en uso por otro programa. " + kNothingWritten + "\n");
    }
    EXPECT_EQ(Beside(), (Files{{"ResultadoOrbelincentro.xml", "resultado anterior"}}));
  }
}

// What a killed save left beside the export goes with the next run, whatever it ends with.
TEST_F(ResultFaultsTest, TheTemporaryOfAKilledSaveIsCleanedUp) {
  WriteFile(temporary(), "<SERVICIO");
  std::filesystem::rename(ktemp() / "PERIODOS.DBF", ktemp() / "PERIODOS.OLD");
  EXPECT_EQ(Importar().exit_code, 1);  // stops: no PERIODOS.DBF
  EXPECT_TRUE(Beside().empty());
  std::filesystem::rename(ktemp() / "PERIODOS.OLD", ktemp() / "PERIODOS.DBF");

  WriteFile(temporary(), "<SERVICIO");
  EXPECT_EQ(Importar().exit_code, 0);
  EXPECT_EQ(Names(Beside()), "ResultadoOrbelincentro.xml ");
}

// The result without the moment of its run.
std::string WithoutFecha(std::string document) {
  const size_t start = document.find("fecha=\"");
  if (start == std::string::npos) return document;
  const size_t end = document.find('"', start + 7);
  return document.erase(start + 7, end - start - 7);
}

TEST_F(ResultFaultsTest, KilledBeforeAnyOfItsChangesTheResultIsTheOldOneOrTheNew) {
  ASSERT_EQ(Importar().exit_code, 0);
  const std::string new_result = WithoutFecha(ReadFile(result()));
  for (int change = 1; change < 100; ++change) {
    SCOPED_TRACE("killed before change " + std::to_string(change));
    WriteFile(result(), "resultado anterior");
    const CommandResult run =
        Importar(std::string("LD_PRELOAD=") + ZENTROVA_KILL_AT_CHANGE +
                 " ZENTROVA_TEST_KILL_AT_CHANGE=" + std::to_string(change) + " ");
    const std::string now = WithoutFecha(ReadFile(result()));
    EXPECT_TRUE(now == "resultado anterior" || now == new_result) << now.substr(0, 80);
    if (run.exit_code == 0) break;
  }
}

TEST_F(ResultFaultsTest, AFullDiskLeavesTheOldResult) {
  SmallDisk disk(64 * 1024);
  if (!disk.mounted()) GTEST_SKIP() << "a small disk cannot be mounted here";
  const std::filesystem::path chosen_on_disk = disk.path() / "centro.xml";
  std::filesystem::copy_file(kSample, chosen_on_disk);
  const std::filesystem::path old_result = disk.path() / "ResultadoOrbelincentro.xml";
  const uint64_t free_bytes = std::filesystem::space(disk.path()).available;
  const std::string old_bytes(free_bytes, 'v');  // the disk is full
  WriteFile(old_result, old_bytes);
  const CommandResult run =
      RunCommand(ShellQuote(kCli) + " importar " + ShellQuote(chosen_on_disk.string()) +
                 " --ktemp " + ShellQuote(ktemp().string()));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_THAT(run.err,
              HasSubstr(": no queda espacio en el disco. " + std::string(kNothingWritten)));
  EXPECT_TRUE(ReadFile(old_result) == old_bytes);
  EXPECT_FALSE(std::filesystem::exists(disk.path() / "ResultadoOrbelincentro.xml.zentrova.tmp"));
}

}  // namespace
}  // namespace zentrova::testing
