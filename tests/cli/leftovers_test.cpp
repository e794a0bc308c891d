// What others leave in the exchange folder and what a user may hand the program, tried on the
// real zentrova-cli: journals and staging folders that are not the program's own, things at
// the program's own names, inputs that are not regular files or never end, names at the
// length limit. Whatever they are, every file outside the exchange folder and every file in
// it that is not the program's stays byte for byte as it was, no run hangs or reads a huge
// file whole, and nothing blocks a later run without a message naming it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <map>
#include <string>

#include "support/bundled_files.h"
#include "support/python.h"
#include "support/sanitizers.h"
#include "support/temp_folder.h"

namespace zentrova::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// Every file under `folder` with its size and a digest of its bytes (short to show when they
// differ); folders, links and FIFOs are marked as such.
Files Tree(const std::filesystem::path& folder) {
  Files files;
  for (auto it = std::filesystem::recursive_directory_iterator(folder);
       it != std::filesystem::recursive_directory_iterator(); ++it) {
    const std::string name = it->path().lexically_relative(folder).string();
    const auto status = it->symlink_status();
    if (std::filesystem::is_symlink(status)) {
      files[name] = "-> " + std::filesystem::read_symlink(it->path()).string();
    } else if (std::filesystem::is_directory(status)) {
      files[name] = "<carpeta>";
    } else if (std::filesystem::is_fifo(status)) {
      files[name] = "<fifo>";
    } else if (std::filesystem::file_size(it->path()) > (1 << 20)) {
      files[name] = std::to_string(std::filesystem::file_size(it->path())) + " bytes";
    } else {
      const std::string bytes = ReadFile(it->path());
      files[name] = std::to_string(bytes.size()) + " bytes, " +
                    std::to_string(std::hash<std::string>{}(bytes));
    }
  }
  return files;
}

// Runs at most this long, with at most 1 GB of memory (where AddressSanitizer lets a program
// start under a bound): a run that waits on a FIFO or reads a huge file whole fails instead of
// hanging or swapping.
std::string Bounded(const std::string& command) {
  return std::string("(") + (kAddressSanitizer ? "" : "ulimit -v 1048576; ") + "timeout 60 " +
         command + ")";
}

CommandResult Cli(const std::string& arguments) {
  return RunCommand(Bounded(ShellQuote(kCli) + " " + arguments));
}

CommandResult Exportar(const std::filesystem::path& export_file, const std::filesystem::path& ktemp,
                       const std::string& nivelex = kNivelex) {
  return Cli("exportar " + ShellQuote(export_file.string()) + " --ktemp " +
             ShellQuote(ktemp.string()) + " --nivelex " + ShellQuote(nivelex) + " --marcos M");
}

CommandResult Importar(const std::filesystem::path& export_file,
                       const std::filesystem::path& ktemp) {
  return Cli("importar " + ShellQuote(export_file.string()) + " --ktemp " +
             ShellQuote(ktemp.string()));
}

void MakeFifo(const std::filesystem::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }

// A sparse file of 3 GB: what a huge table or export costs a reader that reads it whole.
void MakeHuge(const std::filesystem::path& path) {
  WriteFile(path, "");
  std::filesystem::resize_file(path, std::uintmax_t{3} << 30);
}

// The exchange folder after a first-direction run of the sample with SOLUC beside it, and a
// folder outside it with files of someone else's.
class LeftoversTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    TempFolder ktemp;
    ASSERT_EQ(Exportar(kSample, ktemp.path()).exit_code, 0);
    const CommandResult soluc = RunPythonFile(
        std::filesystem::path(ZENTROVA_SOURCE_DIR) / "tests/support/first_lesson_soluc.py",
        {ktemp.path().string()});
    ASSERT_EQ(soluc.exit_code, 0) << soluc.err;
    tables_ = new Files;
    for (const auto& entry : std::filesystem::directory_iterator(ktemp.path())) {
      (*tables_)[entry.path().filename().string()] = ReadFile(entry.path());
    }
  }
  static void TearDownTestSuite() { delete tables_; }

  void SetUp() override {
    std::filesystem::create_directories(ktemp());
    for (const auto& [name, bytes] : *tables_) WriteFile(ktemp() / name, bytes);
    WriteFile(ktemp() / "NOTAS.TXT", "notas de la secretaría");
    WriteFile(ktemp() / "Orbelin.ini", "[Orbelin]\r\nCarpeta=C:\\KTEMP\r\n");
    std::filesystem::create_directories(elsewhere() / "sub");
    WriteFile(elsewhere() / "victim", "de otro");
    WriteFile(elsewhere() / "PROFT.DBF", "una tabla ajena");
    WriteFile(elsewhere() / "sub" / "f", "de otro");
    std::filesystem::copy_file(kSample, chosen());
  }

  // Everything as SetUp left it, for the next case of a table.
  void Reset() {
    for (const auto& entry : std::filesystem::directory_iterator(root_.path())) {
      std::filesystem::remove_all(entry.path());
    }
    SetUp();
  }

  std::filesystem::path ktemp() const { return root_ / "KTEMP"; }
  std::filesystem::path elsewhere() const { return root_ / "otro"; }
  std::filesystem::path chosen() const { return root_ / "centro.xml"; }
  std::filesystem::path staging() const { return ktemp() / "ZENTROVA.NUEVO"; }
  std::filesystem::path journal() const { return ktemp() / "ZENTROVA.JNL"; }

  // The files of the exchange folder that are not the program's own, and those outside it.
  Files Others() const {
    Files files;
    for (const auto& [name, digest] : Tree(root_.path())) {
      const bool ours = name.starts_with("KTEMP/ZENTROVA.") ||
                        name == "ResultadoOrbelincentro.xml" ||
                        (name.starts_with("KTEMP/") && tables_->contains(name.substr(6)) &&
                         name != "KTEMP/SOLUC.DBF");
      if (!ours) files[name] = digest;
    }
    return files;
  }

  TempFolder root_;
  static Files* tables_;
};

Files* LeftoversTest::tables_ = nullptr;

// Journals that this program could not have written for this folder, each left by someone
// with a staging folder; both directions go on as if there were none.
TEST_F(LeftoversTest, AJournalThatIsNotTheProgramsOwnIsNotFollowed) {
  const auto staged = [this](const Files& files) {
    std::filesystem::create_directory(staging());
    for (const auto& [name, bytes] : files) WriteFile(staging() / name, bytes);
  };
  const struct {
    const char* what;
    std::function<void()> leave;
    bool named = false;  // a file that is not the program's stays in the staging folder
  } cases[] = {
      {"a staging folder that is a link to another folder",
       [&] {
         std::filesystem::create_directory_symlink(elsewhere(), staging());
         WriteFile(journal(), "ZENTROVA 1\nMUEVE victim\nMUEVE PROFT.DBF\nMUEVE sub\nFIN\n");
       }},
      {"the same journal with a mark of its own",
       [&] {
         WriteFile(elsewhere() / "ZENTROVA.ID", "5eed0f");
         std::filesystem::create_directory_symlink(elsewhere(), staging());
         WriteFile(journal(), "ZENTROVA 2\nCARPETA 5eed0f\nMUEVE PROFT.DBF\nFIN\n");
       }},
      {"removals of files no conversion changes",
       [&] {
         staged({{"ZENTROVA.ID", "5eed0f"}});
         WriteFile(journal(),
                   "ZENTROVA 2\nCARPETA 5eed0f\nBORRA SOLUC.DBF\nBORRA Orbelin.ini\n"
                   "BORRA NOTAS.TXT\nBORRA ZENTROVA.LCK\nFIN\n");
       }},
      {"the solution replaced by a staged file",
       [&] {
         staged({{"ZENTROVA.ID", "5eed0f"}, {"SOLUC.DBF", "otra solución"}});
         WriteFile(journal(), "ZENTROVA 2\nCARPETA 5eed0f\nMUEVE SOLUC.DBF\nFIN\n");
       },
       true},
      {"a staged table that is a second name of a file elsewhere",
       [&] {
         staged({{"ZENTROVA.ID", "5eed0f"}});
         std::filesystem::create_hard_link(elsewhere() / "PROFT.DBF", staging() / "PROFT.DBF");
         WriteFile(journal(), "ZENTROVA 2\nCARPETA 5eed0f\nMUEVE PROFT.DBF\nFIN\n");
       }},
      {"a journal of 3 GB", [&] { MakeHuge(journal()); }},
  };
  for (const auto& c : cases) {
    for (const bool first_direction : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (first_direction ? ", exportar" : ", importar"));
      Reset();
      const std::string old_proft = ReadFile(ktemp() / "PROFT.DBF");
      c.leave();
      const Files others = Others();
      const CommandResult run =
          first_direction ? Exportar(chosen(), ktemp()) : Importar(chosen(), ktemp());
      EXPECT_EQ(Others(), others);
      EXPECT_FALSE(std::filesystem::exists(journal()));
      if (c.named && first_direction) {
        // The conversion needs the staging folder's name: it stops, naming it.
        EXPECT_EQ(run.exit_code, 3);
        EXPECT_THAT(run.err, HasSubstr(staging().string() + " es una carpeta con archivos"));
        continue;
      }
      EXPECT_EQ(run.exit_code, 0) << run.err;
      EXPECT_THAT(run.out, StartsWith("Proceso finalizado\n"));
      if (!first_direction) {
        EXPECT_EQ(ReadFile(ktemp() / "PROFT.DBF"), old_proft);
      }
      EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(staging())), c.named);
    }
  }
}

// A first run that met a journal naming the lock still holds its lock to its end: a second run
// started meanwhile stops at once and the first ends converting.
TEST_F(LeftoversTest, ASecondRunIsRefusedForTheWholeLengthOfTheFirst) {
  std::filesystem::create_directory(staging());
  WriteFile(staging() / "ZENTROVA.ID", "5eed0f");
  WriteFile(journal(), "ZENTROVA 2\nCARPETA 5eed0f\nBORRA ZENTROVA.LCK\nFIN\n");
  const std::string run = ShellQuote(kCli) + " exportar " + ShellQuote(chosen().string()) +
                          " --ktemp " + ShellQuote(ktemp().string()) + " --nivelex " +
                          ShellQuote(kNivelex) + " --marcos M";
  // The first run is stopped once it has cleared the journal away under its lock, the second
  // runs meanwhile.
  const CommandResult both = RunCommand(
      "bash -c " +
      ShellQuote(run + " >/dev/null & first=$!; journal=" + ShellQuote(journal().string()) +
                 "; while [ -e \"$journal\" ] && kill -0 $first 2>/dev/null; do :; done; "
                 "kill -STOP $first; " +
                 run +
                 " >/dev/null; echo \"second $?\"; kill -CONT $first; wait $first; "
                 "echo \"first $?\""));
  EXPECT_EQ(both.out, "second 3\nfirst 0\n") << both.err;
  EXPECT_THAT(both.err, HasSubstr("está en uso por otra conversión"));
}

// Things at the program's own names that the program never makes. What only a name holds goes;
// a folder with files in it is named with what to do, and once it is moved the next run goes
// through.
TEST_F(LeftoversTest, NoLeftoverBlocksTheFolderWithoutAMessageNamingIt) {
  const auto link_elsewhere = [this](const std::filesystem::path& at) {
    std::filesystem::create_directory_symlink(elsewhere(), at);
  };
  const auto fifo = [](const std::filesystem::path& at) { MakeFifo(at); };
  const auto empty_folder = [](const std::filesystem::path& at) {
    std::filesystem::create_directory(at);
  };
  const auto folder_with_a_file = [](const std::filesystem::path& at) {
    std::filesystem::create_directory(at);
    WriteFile(at / "dentro", "de otro");
  };
  const struct {
    const char* name;
    std::function<void(const std::filesystem::path&)> leave;
    bool named;  // else cleared
  } cases[] = {
      {"ZENTROVA.LCK", link_elsewhere, false},
      {"ZENTROVA.LCK", fifo, false},
      {"ZENTROVA.LCK", empty_folder, false},
      {"ZENTROVA.LCK", folder_with_a_file, true},
      {"ZENTROVA.JNL", link_elsewhere, false},
      {"ZENTROVA.JNL", fifo, false},
      {"ZENTROVA.JNL", folder_with_a_file, true},
      {"ZENTROVA.JNL.zentrova.tmp", link_elsewhere, false},
      {"ZENTROVA.JNL.zentrova.tmp", fifo, false},
      {"ZENTROVA.JNL.zentrova.tmp", folder_with_a_file, true},
      {"ZENTROVA.NUEVO", link_elsewhere, false},
      {"ZENTROVA.NUEVO", folder_with_a_file, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.named ? ", named" : ", cleared"));
    Reset();
    const std::filesystem::path at = ktemp() / c.name;
    c.leave(at);
    const Files others = Others();
    const CommandResult run = Exportar(chosen(), ktemp());
    if (c.named) {
      EXPECT_EQ(run.exit_code, 3);
      EXPECT_THAT(run.err, HasSubstr(at.string()));
      EXPECT_THAT(run.err, HasSubstr("Muévalo a otro sitio o bórrelo, y vuelva a intentarlo."));
      EXPECT_EQ(ReadFile(at / "dentro"), "de otro");
      std::filesystem::remove_all(at);
      EXPECT_EQ(Exportar(chosen(), ktemp()).exit_code, 0);
    } else {
      EXPECT_EQ(run.exit_code, 0) << run.err;
      EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(at)));
    }
    EXPECT_EQ(Others(), others);
  }
}

// What is handed to the program as a file but is none (a FIFO, a folder, a device that never
// ends) is refused at once, naming it; "No existe archivo" is only for a name that leads
// nowhere.
TEST_F(LeftoversTest, InputsThatAreNotRegularFilesAreRefusedNamingThem) {
  const std::filesystem::path fifo = root_ / "tuberia";
  MakeFifo(fifo);
  const struct {
    std::filesystem::path input;
    const char* kind;
  } inputs[] = {
      {fifo, "una tubería (FIFO)"}, {elsewhere(), "una carpeta"}, {"/dev/zero", "un dispositivo"}};
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.input.string());
    const std::string refused = "No se puede leer el archivo " + input.input.string() +
                                ": no es un archivo normal, sino " + input.kind + ".\n";
    for (const std::string command : {"exportar", "importar", "revisar"}) {
      SCOPED_TRACE(command);
      const std::string ktemp_option = " --ktemp " + ShellQuote(ktemp().string());
      const CommandResult run = Cli(command + " " + ShellQuote(input.input.string()) +
                                    (command == "revisar" ? "" : ktemp_option) +
                                    (command == "importar" ? "" : " --marcos M"));
      EXPECT_EQ(run.exit_code, 3);
      EXPECT_EQ(run.err, refused);
    }
    const CommandResult csv = Cli("nivelex " + ShellQuote(input.input.string()) + " " +
                                  ShellQuote((root_ / "NIVELEX.DBF").string()));
    EXPECT_EQ(csv.exit_code, 3);
    EXPECT_EQ(csv.err, refused);
    const CommandResult levels = Exportar(chosen(), ktemp(), input.input.string());
    EXPECT_EQ(levels.exit_code, 1);
    EXPECT_EQ(levels.err, "ATENCIÓN - NIVELEX.DBF No encontrado - Reinstale ZENTROVA\n" +
                              input.input.string() + ": no es un archivo normal, sino " +
                              input.kind + ".\n");
  }
  std::filesystem::remove(ktemp() / "SOLUC.DBF");
  MakeFifo(ktemp() / "SOLUC.DBF");
  const CommandResult run = Importar(chosen(), ktemp());
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.err, "No se puede abrir la tabla " + (ktemp() / "SOLUC.DBF").string() +
                         ": no es un archivo normal, sino una tubería (FIFO). No se ha escrito "
                         "ningún archivo.\n");
  EXPECT_EQ(Cli("exportar " + ShellQuote((root_ / "falta.xml").string())).err,
            "No existe archivo\n" + (root_ / "falta.xml").string() + "\n");
}

// Files of 3 GB are found wrong from their first bytes or their size, within the memory bound.
TEST_F(LeftoversTest, HugeInputsAreRefusedBeforeTheyAreReadWhole) {
  MakeHuge(ktemp() / "SOLUC.DBF");
  const CommandResult soluc = Importar(chosen(), ktemp());
  EXPECT_EQ(soluc.exit_code, 3);
  EXPECT_THAT(soluc.err, StartsWith("La tabla " + (ktemp() / "SOLUC.DBF").string() +
                                    " no es una tabla dBASE que se pueda leer (versión 0x00)."));

  const std::filesystem::path levels = root_ / "NIVELEX.DBF";
  MakeHuge(levels);
  const CommandResult nivelex = Exportar(chosen(), ktemp(), levels.string());
  EXPECT_EQ(nivelex.exit_code, 3);
  EXPECT_THAT(nivelex.err, StartsWith("La tabla " + levels.string() + " no es una tabla dBASE"));

  const std::filesystem::path csv = root_ / "niveles.csv";
  MakeHuge(csv);
  const CommandResult built =
      Cli("nivelex " + ShellQuote(csv.string()) + " " + ShellQuote((root_ / "N.DBF").string()));
  EXPECT_EQ(built.exit_code, 3);
  EXPECT_EQ(built.err, "No se puede leer el archivo " + csv.string() +
                           ": es demasiado grande: tiene 3221225472 bytes, y no puede pasar de "
                           "8388608.\n");
}

// A result name of up to 255 bytes is written whatever its temporary's name would be; a longer
// one is refused, naming it, before anything is written.
TEST_F(LeftoversTest, NamesThatFitAreAccepted) {
  const std::string result_prefix = "ResultadoOrbelin";
  for (const size_t length : {227, 235, 239, 240}) {
    SCOPED_TRACE(std::to_string(length) + " bytes");
    const std::string name = std::string(length - 4, 'n') + ".xml";
    std::filesystem::copy_file(kSample, root_ / name);
    const std::filesystem::path result = root_ / (result_prefix + name);
    const CommandResult run = Importar(root_ / name, ktemp());
    if (result_prefix.size() + length <= 255) {
      EXPECT_EQ(run.exit_code, 0) << run.err;
      EXPECT_TRUE(std::filesystem::exists(result));
    } else {
      EXPECT_EQ(run.exit_code, 3);
      EXPECT_EQ(run.err, "No se puede guardar el archivo " + result.string() +
                             ": el nombre es demasiado largo. No se ha escrito ningún archivo.\n");
    }
    std::filesystem::remove(root_ / name);
    std::error_code ignored;
    std::filesystem::remove(result, ignored);
  }
  // A level table named with 255 bytes, written aside and moved in.
  WriteFile(root_ / "niveles.csv", "305;ESO;1º de ESO\n");
  const std::string table = std::string(251, 't') + ".DBF";
  const CommandResult built = Cli("nivelex " + ShellQuote((root_ / "niveles.csv").string()) + " " +
                                  ShellQuote((root_ / table).string()));
  EXPECT_EQ(built.exit_code, 0) << built.err;
  EXPECT_TRUE(std::filesystem::exists(root_ / table));
}

}  // namespace
}  // namespace zentrova::testing
