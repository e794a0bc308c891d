#include "app/error_message.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include "error.h"
#include "store/table.h"
#include "text/encoding.h"
#include "text/integer.h"

namespace zentrova::app {
namespace {

struct Case {
  std::string what;
  std::function<void()> raise;
  std::u16string message;
};

const std::u16string kUnexpected = kUnexpectedErrorMessage;
const std::u16string kSupport = kUnexpected + u"\r\nDetalle para el soporte técnico: ";
const std::system_error kSystemError(EIO, std::generic_category(), "leer");

// Every kind of exception a run can end with, and what the user reads for it.
const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"an error of ours", [] { throw store::Error("No existe la tabla /k/SOLUC.DBF."); },
       u"No existe la tabla /k/SOLUC.DBF."},
      {"a conversion error", [] { throw text::ConversionError(u"1y"); },
       u"'1y' is not a valid integer value"},
      {"out of memory", [] { throw std::bad_alloc(); }, kOutOfMemoryMessage},
      {"an array too long for memory", [] { throw std::bad_array_new_length(); },
       kOutOfMemoryMessage},
      {"a standard exception", [] { throw std::out_of_range("stoi"); }, kSupport + u"stoi"},
      {"a system error", [] { throw kSystemError; },
       kSupport + text::Utf8ToUtf16(kSystemError.what())},
      {"a standard exception without text", [] { throw std::runtime_error(""); }, kUnexpected},
      {"a text that is not UTF-8", [] { throw std::runtime_error("ruta \xF1"); },
       kSupport + u"ruta \uFFFD"},
      {"not an exception class", [] { throw 42; }, kUnexpected},
  };
  return cases;
}

TEST(ErrorMessageTest, EveryKindOfExceptionReadsInSpanish) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    std::exception_ptr error;
    try {
      c.raise();
    } catch (...) {
      EXPECT_EQ(CurrentErrorMessage(), c.message);
      error = std::current_exception();
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(ErrorMessage(error), c.message);
  }
  EXPECT_EQ(ErrorMessage(nullptr), kUnexpected);
}

}  // namespace
}  // namespace zentrova::app
