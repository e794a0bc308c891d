#include "xml/file_io.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <system_error>

#include "files/file_error.h"
#include "files/file_replacement.h"
#include "xml/document.h"

namespace zentrova::xml {
namespace {

using files::PathForMessage;

std::FILE* OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wfopen(path.c_str(), L"rb");
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The C library reports through errno on every system, so its code is read as an errno
// value, not as a Windows error code.
[[noreturn]] void ThrowUnreadable(const std::filesystem::path& path, int error) {
  // Windows refuses to open a folder as a file with "access denied" (EACCES), which would
  // tell the user to look for a permission rather than at the name.
  std::error_code not_known;
  if (error == EACCES && std::filesystem::is_directory(path, not_known)) error = EISDIR;
  throw Error("No se puede leer el archivo " + PathForMessage(path) + ": " +
              files::SystemReason(std::error_code(error, std::generic_category())) + ".");
}

}  // namespace

std::string ReadWholeFile(const std::filesystem::path& path) {
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(OpenForReading(path));
  if (!file) ThrowUnreadable(path, errno);
  // Sized once from what the folder says; a file that grows meanwhile is still read to its end.
  std::error_code no_size;
  const std::uintmax_t expected = std::filesystem::file_size(path, no_size);
  std::string bytes;
  try {
    bytes.assign(no_size ? 0 : static_cast<size_t>(expected), '\0');
    size_t length = std::fread(bytes.data(), 1, bytes.size(), file.get());
    bytes.resize(length);
    char buffer[65536];
    while ((length = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
      bytes.append(buffer, length);
    }
  } catch (const std::bad_alloc&) {
    throw Error("El archivo " + PathForMessage(path) +
                " es demasiado grande para la memoria disponible.");
  }
  if (std::ferror(file.get())) ThrowUnreadable(path, errno);
  return bytes;
}

void WriteReplacing(const std::filesystem::path& path, std::string_view bytes) {
  try {
    files::ReplaceFile(path, bytes);
  } catch (const files::Error& error) {
    throw Error(error.what());
  }
}

}  // namespace zentrova::xml
