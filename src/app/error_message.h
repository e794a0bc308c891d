#ifndef ZENTROVA_APP_ERROR_MESSAGE_H_
#define ZENTROVA_APP_ERROR_MESSAGE_H_

// What the user reads when an exception ends a run: the same Spanish text in the window's
// message box and on the command line.
//   zentrova::Error      -> its own message, which names the file and the cause;
//   std::bad_alloc       -> kOutOfMemoryMessage (a file was too large for the memory);
//   other std::exception -> kUnexpectedErrorMessage, then its what() on a second line for
//                           support;
//   anything else        -> kUnexpectedErrorMessage.

#include <exception>
#include <string>

namespace zentrova::app {

inline constexpr char16_t kOutOfMemoryMessage[] =
    u"El proceso se ha detenido: un archivo es demasiado grande para la memoria disponible.";
inline constexpr char16_t kUnexpectedErrorMessage[] =
    u"Un error inesperado ha terminado el proceso.";

// The message of `error`; kUnexpectedErrorMessage when it holds none.
std::u16string ErrorMessage(const std::exception_ptr& error);

// The message of the exception being handled: call it inside a catch block.
std::u16string CurrentErrorMessage();

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_ERROR_MESSAGE_H_
