// How every zentrova-cli subcommand ends when an exception escapes it: the user's message on
// stderr and one exit status for each kind.

#include "cli/console_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "app/error_message.h"
#include "cli/commands.h"
#include "error.h"
#include "store/table.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::cli {
namespace {

struct Case {
  std::string what;
  std::function<void()> raise;
  std::string err;
  int exit_status;
};

const std::string kOutOfMemory = text::Utf16ToUtf8(app::kOutOfMemoryMessage) + "\n";
const std::string kUnexpected = text::Utf16ToUtf8(app::kUnexpectedErrorMessage);
const std::filesystem::filesystem_error kFilesystemError(
    "status", "/k", std::make_error_code(std::errc::permission_denied));

TEST(ConsoleHostTest, EveryExceptionEndsWithItsMessageAndOneExitStatus) {
  const std::vector<Case> cases = {
      {"an error of ours", [] { throw store::Error("No existe la tabla /k/SOLUC.DBF."); },
       "No existe la tabla /k/SOLUC.DBF.\n", kExitError},
      {"a conversion error", [] { throw text::ConversionError(u"1y"); },
       "'1y' is not a valid integer value\n", kExitError},
      {"out of memory", [] { throw std::bad_alloc(); }, kOutOfMemory, kExitError},
      {"a standard exception", [] { throw std::out_of_range("stoi"); },
       kUnexpected + "\r\nDetalle para el soporte técnico: stoi\n", kExitError},
      {"a filesystem error", [] { throw kFilesystemError; },
       kUnexpected + "\r\nDetalle para el soporte técnico: " + kFilesystemError.what() + "\n",
       kExitError},
      {"not an exception class", [] { throw 42; }, kUnexpected + "\n", kExitError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = RunReporting([&] {
      c.raise();
      return kExitDone;
    });
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.err);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(status, c.exit_status);
    // A direction run ends the same way.
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunInConsole([&]() -> app::RunOutcome {
                c.raise();
                return app::RunOutcome::kCompleted;
              }),
              c.exit_status);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.err);
  }
}

TEST(ConsoleHostTest, ARunThatEndsByItselfGivesItsOwnStatus) {
  EXPECT_EQ(RunReporting([] { return kExitDone; }), kExitDone);
  EXPECT_EQ(RunInConsole([] { return app::RunOutcome::kCompleted; }), kExitDone);
  EXPECT_EQ(RunInConsole([] { return app::RunOutcome::kStopped; }), kExitStopped);
}

}  // namespace
}  // namespace zentrova::cli
