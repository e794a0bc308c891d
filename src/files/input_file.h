#ifndef ZENTROVA_FILES_INPUT_FILE_H_
#define ZENTROVA_FILES_INPUT_FILE_H_

// Reading a file that another program wrote, or that anyone may have left in a shared folder:
// what the name leads to is checked before it is opened, opening never waits (a FIFO, a
// device), only a regular file is read, and only as far as the caller asks: a table's header
// before its records, a whole file only up to a bound that fits what it is.
//
// Every failure raises files::Error "No se puede leer <what> <path>: <cause>.", where `what`
// names the kind of file ("el archivo", "el diario") and the cause is a Spanish phrase:
// "no existe", "no es un archivo normal, sino una carpeta", "es demasiado grande: tiene N
// bytes, y no puede pasar de M", ...

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "files/native_file.h"

namespace zentrova::files {

class InputFile {
 public:
  // Opens `path` for reading only, without a lock.
  InputFile(std::filesystem::path path, std::string_view what);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The size when it was opened.
  uint64_t size() const { return size_; }

  // The `length` bytes at `offset`; raises when the file ends before them.
  std::string Read(uint64_t offset, size_t length) const;

  // The whole file, read to its end, when it holds at most `limit` bytes. A file whose size
  // already says it is larger is refused before any of it is read.
  std::string ReadAll(uint64_t limit) const;

  [[noreturn]] void Fail(const std::string& cause) const;

 private:
  std::filesystem::path path_;
  std::string what_;
  NativeHandle handle_ = kNoNativeHandle;
  uint64_t size_ = 0;
};

// InputFile(path, what).ReadAll(limit).
std::string ReadWholeFile(const std::filesystem::path& path, std::string_view what, uint64_t limit);

// Why InputFile(path) would fail, as a phrase ("no existe", "no es un archivo normal, sino una
// carpeta", "no hay permiso"), or "" when it would open. Links are followed.
std::string WhyUnreadable(const std::filesystem::path& path);

// Reads exactly `length` bytes at `offset` of an open file into `into`. Gives 0, or the
// system's error code (an end of file before them counts as a read error).
int ReadExactly(NativeHandle handle, uint64_t offset, size_t length, char* into);

}  // namespace zentrova::files

#endif  // ZENTROVA_FILES_INPUT_FILE_H_
