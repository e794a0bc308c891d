// The system's reasons on POSIX systems, where a failed call's code is errno.

#include <cerrno>

#include "files/file_error.h"

namespace zentrova::files {

int LastSystemError() { return errno; }

std::string SystemReason(int native_code) { return ErrnoReason(native_code); }

}  // namespace zentrova::files
