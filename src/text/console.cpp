#include "text/console.h"

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

#include "text/encoding.h"
#endif

namespace zentrova::text {
namespace {

#ifdef _WIN32
// Whether the stream is a console window, which takes UTF-16 and nothing else reliably.
HANDLE ConsoleOf(ConsoleStream stream) {
  HANDLE handle =
      GetStdHandle(stream == ConsoleStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
    return nullptr;
  }
  return handle;
}

// In pieces a console takes at once, never splitting a surrogate pair.
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
#endif

}  // namespace

void WriteToConsole(ConsoleStream stream, std::string_view utf8) {
  std::FILE* file = stream == ConsoleStream::kOutput ? stdout : stderr;
#ifdef _WIN32
  if (HANDLE console = ConsoleOf(stream)) {
    std::fflush(file);  // what the C library holds comes first
    WriteWide(console, Utf8ToUtf16(utf8));
    return;
  }
#endif
  std::fwrite(utf8.data(), 1, utf8.size(), file);
}

}  // namespace zentrova::text
