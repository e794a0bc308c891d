// zentrova-cli's help, which its manual page is written from: every word of it Spanish, the
// help flag among each command's options.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/bundled_files.h"
#include "support/python.h"

namespace zentrova::testing {
namespace {

// The commands the program's help lists under "Órdenes:".
std::vector<std::string> ListedCommands(const std::string& help) {
  std::istringstream lines(help);
  std::string line;
  while (std::getline(lines, line) && line != "Órdenes:") {
  }
  std::vector<std::string> commands;
  while (std::getline(lines, line) && line.starts_with("  ")) {
    commands.push_back(line.substr(2, line.find(' ', 2) - 2));
  }
  return commands;
}

TEST(MainTest, TheHelpOfTheProgramAndOfEachCommandIsSpanish) {
  const CommandResult program = RunCommand(ShellQuote(kCli) + " --help");
  ASSERT_EQ(program.exit_code, 0) << program.err;
  std::vector<std::string> commands = ListedCommands(program.out);
  EXPECT_THAT(commands, ::testing::IsSupersetOf({"tabla", "nivelex", "exportar", "importar"}));
  commands.insert(commands.begin(), "");
  for (const std::string& command : commands) {
    SCOPED_TRACE("zentrova-cli " + command + " --help");
    const CommandResult help = RunCommand(ShellQuote(kCli) + " " + command + " --help");
    EXPECT_EQ(help.exit_code, 0) << help.err;
    EXPECT_TRUE(help.out.find("\nUso: ") != std::string::npos) << help.out;
    EXPECT_TRUE(help.out.find("\nOpciones:\n  -h,--help                   Muestra esta ayuda y "
                              "termina\n") != std::string::npos)
        << help.out;
    for (const char* english : {"Usage", "Options", "Positionals", "Subcommands", "SUBCOMMAND",
                                "Print this", " TEXT ", "REQUIRED"}) {
      EXPECT_EQ(help.out.find(english), std::string::npos) << english << " in\n" << help.out;
    }
  }
}

TEST(MainTest, UsageErrorsAreSpanishWithStatusTwo) {
  const struct {
    std::string arguments, message;
  } cases[] = {
      {"", "Falta la orden (exportar, importar, revisar, revisar-horario, tabla o nivelex).\n"},
      {"exportar", "Falta EXPORT.xml.\n"},
      {"tabla a.dbf b.dbf", "Sobran argumentos: b.dbf.\n"},
      {"exportar x.xml --marcos", "La opción --marcos necesita un valor.\n"},
      {"exportar x.xml --nada", "Sobran argumentos: --nada.\n"},
  };
  for (const auto& c : cases) {
    const CommandResult run = RunCommand(ShellQuote(kCli) + " " + c.arguments);
    EXPECT_EQ(run.exit_code, 2) << c.arguments;
    EXPECT_EQ(run.err, c.message + "Ejecute la orden con --help para ver cómo se usa.\n")
        << c.arguments;
  }
}

}  // namespace
}  // namespace zentrova::testing
