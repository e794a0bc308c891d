// The console on Windows.
//
// Traps of this system:
// - A console window shows bytes in its own code page, which the user may have set to
//   anything; only WriteConsoleW writes every character faithfully. A redirected stream (a
//   pipe, a file) is no console: GetConsoleMode fails on it, and it takes the UTF-8 bytes.
// - WriteConsoleW takes a limited piece at a time; a piece must not end between the two
//   halves of a surrogate pair.
// - The C library keeps its own buffer of what was written through stdio: it is flushed
//   before writing past it.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "text/console.h"
#include "text/encoding.h"

namespace zentrova::text {
namespace {

// The stream's console window, or nullptr when it is redirected.
HANDLE ConsoleOf(ConsoleStream stream) {
  HANDLE handle =
      GetStdHandle(stream == ConsoleStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
    return nullptr;
  }
  return handle;
}

void WriteWide(HANDLE console, const std::u16string& text) {
  constexpr size_t kPiece = 8192;
  size_t done = 0;
  while (done < text.size()) {
    size_t length = std::min(kPiece, text.size() - done);
    if (done + length < text.size() && length > 1 && (text[done + length - 1] & 0xFC00) == 0xD800) {
      --length;
    }
    DWORD written = 0;
    if (!WriteConsoleW(console, text.data() + done, static_cast<DWORD>(length), &written,
                       nullptr) ||
        written == 0) {
      return;
    }
    done += written;
  }
}

}  // namespace

void WriteToConsole(ConsoleStream stream, std::string_view utf8) {
  std::FILE* file = stream == ConsoleStream::kOutput ? stdout : stderr;
  if (HANDLE console = ConsoleOf(stream)) {
    std::fflush(file);
    WriteWide(console, Utf8ToUtf16(utf8));
    return;
  }
  std::fwrite(utf8.data(), 1, utf8.size(), file);
}

}  // namespace zentrova::text
