#include "xml/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <system_error>

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "files/file_error.h"
#include "text/encoding.h"
#include "xml/document.h"

namespace zentrova::xml {
namespace {

std::string PathForMessage(const std::filesystem::path& path) {
  return text::Utf16ToUtf8(text::PathText(path));
}

std::string ErrnoText(int error) { return std::generic_category().message(error); }

std::FILE* OpenFile(const std::filesystem::path& path, bool exclusive_write) {
#ifdef _WIN32
  return _wfopen(path.c_str(), exclusive_write ? L"wbx" : L"rb");
#else
  return std::fopen(path.c_str(), exclusive_write ? "wbx" : "rb");
#endif
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// A new file beside the target, created exclusively so that no other writer shares it.
std::FILE* CreateTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::filesystem::path candidate = target;
    candidate += ".tmp" + std::to_string(random() % 1000000);
    errno = 0;
    if (std::FILE* file = OpenFile(candidate, true)) {
      temporary = std::move(candidate);
      return file;
    }
    if (errno != EEXIST) break;
  }
  return nullptr;
}

void MoveOver(const std::filesystem::path& from, const std::filesystem::path& to,
              std::error_code& error) {
#ifdef _WIN32
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
  }
#else
  std::filesystem::rename(from, to, error);
#endif
}

// The C library reports through errno on every system, so its code is read as an errno
// value, not as a Windows error code.
[[noreturn]] void ThrowUnreadable(const std::filesystem::path& path, int error) {
  throw Error("No se puede leer el archivo " + PathForMessage(path) + ": " +
              files::SystemReason(std::error_code(error, std::generic_category())) + ".");
}

}  // namespace

std::string ReadWholeFile(const std::filesystem::path& path) {
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(OpenFile(path, false));
  if (!file) ThrowUnreadable(path, errno);
  // Sized once from what the folder says; a file that grows meanwhile is still read to its end.
  std::error_code no_size;
  const std::uintmax_t expected = std::filesystem::file_size(path, no_size);
  std::string bytes(no_size ? 0 : static_cast<size_t>(expected), '\0');
  size_t length = std::fread(bytes.data(), 1, bytes.size(), file.get());
  bytes.resize(length);
  char buffer[65536];
  while ((length = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    bytes.append(buffer, length);
  }
  if (std::ferror(file.get())) ThrowUnreadable(path, errno);
  return bytes;
}

void WriteReplacing(const std::filesystem::path& path, std::string_view bytes) {
  const std::string failure = "No se puede guardar el archivo " + PathForMessage(path) + ": ";
  std::filesystem::path temporary;
  std::FILE* file = CreateTemporary(path, temporary);
  if (!file) throw Error(failure + ErrnoText(errno));

  errno = 0;
  bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
#ifndef _WIN32
  // On disk before the rename: a crash must not leave an empty file under the target's name.
  written = written && fsync(fileno(file)) == 0;
#endif
  int error = errno;
  if (std::fclose(file) != 0 && written) {
    written = false;
    error = errno;
  }
  std::error_code ignored;
  if (!written) {
    std::filesystem::remove(temporary, ignored);
    throw Error(failure + ErrnoText(error));
  }
  std::error_code moved;
  MoveOver(temporary, path, moved);
  if (moved) {
    std::filesystem::remove(temporary, ignored);
    throw Error(failure + moved.message());
  }
}

}  // namespace zentrova::xml
