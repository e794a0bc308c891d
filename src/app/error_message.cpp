#include "app/error_message.h"

#include <new>

#include "error.h"
#include "text/encoding.h"

namespace zentrova::app {

std::u16string ErrorMessage(const std::exception_ptr& error) {
  if (!error) return kUnexpectedErrorMessage;
  try {
    std::rethrow_exception(error);
  } catch (const Error& e) {
    return text::Utf8ToUtf16(e.what());
  } catch (const std::bad_alloc&) {
    return kOutOfMemoryMessage;
  } catch (const std::exception& e) {
    // The standard library's text is English: it only follows, for whoever gives support.
    const std::string detail = e.what();
    if (detail.empty()) return kUnexpectedErrorMessage;
    return std::u16string(kUnexpectedErrorMessage) + u"\r\nDetalle para el soporte técnico: " +
           text::Utf8ToUtf16(detail);
  } catch (...) {
    return kUnexpectedErrorMessage;
  }
}

std::u16string CurrentErrorMessage() { return ErrorMessage(std::current_exception()); }

}  // namespace zentrova::app
