// A table of the exchange folder held by another Windows program, with a share mode or a
// byte-range lock, as the timetabling product holds the tables it has open: zentrova-cli
// stops with the Spanish message that names the table (or the folder) and changes nothing.
// The holder is this test's own process, a Windows process like any other: a share mode
// keeps out every other handle, in whichever process.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/bundled_files.h"
#include "support/foreign_lock.h"
#include "support/python.h"
#include "support/temp_folder.h"

namespace zentrova::testing {
namespace {

constexpr char kNothingChanged[] = "No se ha modificado ninguna tabla.";

CommandResult Exportar(const std::filesystem::path& ktemp, const std::string& marcos) {
  return RunCommand(ShellQuote(kCli) + " exportar " + ShellQuote(kSample) + " --ktemp " +
                    ShellQuote(ktemp.string()) + " --nivelex " + ShellQuote(kNivelex) +
                    " --marcos " + marcos);
}

TEST(HeldTableTest, ATableHeldByAnotherWindowsProgramStopsTheRunAndChangesNothing) {
  TempFolder ktemp;
  const CommandResult first = Exportar(ktemp.path(), "M");
  ASSERT_EQ(first.exit_code, 0) << first.err;
  const Files old = Snapshot(ktemp.path());

  const std::pair<const char*, const char*> held_files[] = {
      {"PROFT.DBF", "la tabla"}, {"PERIODOS.DBF", "la tabla"}, {"DIASHORAST2.MDX", "el índice"}};
  for (const auto& [name, what] : held_files) {
    for (ForeignLock kind : kEveryForeignLock) {
      SCOPED_TRACE(std::string(name) + " " + NameOf(kind));
      {
        LockHolder other(ktemp / name, kind);
        ASSERT_TRUE(other.holding());
        const CommandResult run = Exportar(ktemp.path(), "M,T");
        EXPECT_EQ(run.exit_code, 3);
        EXPECT_EQ(run.err, "No se puede reemplazar " + std::string(what) + " " +
                               (ktemp / name).string() + ": está en uso por otro programa. " +
                               kNothingChanged + "\n");
      }
      // Read once the holder has let go: nothing the run began is left behind.
      EXPECT_TRUE(Snapshot(ktemp.path()) == old);
    }
  }

  // Another conversion's lock on the folder: the message names the folder.
  WriteFile(ktemp / "ZENTROVA.LCK", "");
  {
    LockHolder other_run(ktemp / "ZENTROVA.LCK", ForeignLock::kFlock);
    ASSERT_TRUE(other_run.holding());
    const CommandResult run = Exportar(ktemp.path(), "M,T");
    EXPECT_EQ(run.exit_code, 3);
    EXPECT_EQ(run.err, "La carpeta de intercambio " + ktemp.path().string() +
                           " está en uso por otra conversión. Espere a que termine y vuelva a "
                           "intentarlo. " +
                           kNothingChanged + "\n");
  }
  std::filesystem::remove(ktemp / "ZENTROVA.LCK");
  EXPECT_TRUE(Snapshot(ktemp.path()) == old);

  // Let go, the same run goes through.
  const CommandResult free = Exportar(ktemp.path(), "M,T");
  EXPECT_EQ(free.exit_code, 0) << free.err;
}

}  // namespace
}  // namespace zentrova::testing
