#ifndef ZENTROVA_FILES_FILE_ERROR_H_
#define ZENTROVA_FILES_FILE_ERROR_H_

// What the file layer says when the system refuses a call: the path as a message shows it
// and the system's reason as a short Spanish phrase (never the system's own English text).

#include <filesystem>
#include <string>
#include <system_error>

#include "error.h"

namespace zentrova::files {

class Error : public zentrova::Error {
 public:
  using zentrova::Error::Error;
};

// The path as UTF-8 text, for a message.
std::string PathForMessage(const std::filesystem::path& path);

// The code of the last failed system call: errno on POSIX, GetLastError() on Windows.
int LastSystemError();

// "no hay permiso", "no queda espacio en el disco", ... for a code of LastSystemError().
std::string SystemReason(int native_code);
// The same for an error code of the standard library (errno values or the system's own).
std::string SystemReason(const std::error_code& error);
// The same for an errno value, as POSIX and the C library of every system give them.
std::string ErrnoReason(int code);

}  // namespace zentrova::files

#endif  // ZENTROVA_FILES_FILE_ERROR_H_
