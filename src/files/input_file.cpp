#include "files/input_file.h"

#include <utility>

#include "files/file_error.h"

namespace zentrova::files {
namespace {

// Files are read in pieces of this size when their end is not known in advance.
constexpr size_t kPiece = 1 << 16;

std::string NotRegular(EntryKind kind) {
  return "no es un archivo normal, sino " + KindForMessage(kind);
}

// Why `path` does not lead to a regular file, or "".
std::string NotARegularFile(const std::filesystem::path& path) {
  const EntryKind kind = KindOfTarget(path);
  if (kind == EntryKind::kMissing) return "no existe";
  if (kind == EntryKind::kLink) return "es un enlace simbólico que no lleva a ningún archivo";
  return kind == EntryKind::kFile ? "" : NotRegular(kind);
}

}  // namespace

std::string WhyUnreadable(const std::filesystem::path& path) {
  if (std::string why = NotARegularFile(path); !why.empty()) return why;
  const NativeHandle handle = OpenForReading(path);
  if (handle == kNoNativeHandle) return SystemReason(LastSystemError());
  CloseNative(handle);
  return "";
}

int ReadExactly(NativeHandle handle, uint64_t offset, size_t length, char* into) {
  size_t done = 0;
  while (done < length) {
    size_t got = 0;
    if (const int error = NativeReadAt(handle, offset + done, length - done, into + done, got)) {
      return error;
    }
    if (got == 0) return EndOfFileError();
    done += got;
  }
  return 0;
}

InputFile::InputFile(std::filesystem::path path, std::string_view what)
    : path_(std::move(path)), what_(what) {
  // Looked at before it is opened, so that nothing but a regular file is ever opened (opening
  // a device may do something); looked at again once open, in case it changed in between.
  if (const std::string why = NotARegularFile(path_); !why.empty()) Fail(why);
  handle_ = OpenForReading(path_);
  if (handle_ == kNoNativeHandle) Fail(SystemReason(LastSystemError()));
  if (const EntryKind kind = KindOfOpenFile(handle_); kind != EntryKind::kFile) {
    Fail(NotRegular(kind));
  }
  if (!NativeSize(handle_, size_)) Fail(SystemReason(LastSystemError()));
}

InputFile::~InputFile() { CloseNative(handle_); }

void InputFile::Fail(const std::string& cause) const {
  throw Error("No se puede leer " + what_ + " " + PathForMessage(path_) + ": " + cause + ".");
}

std::string InputFile::Read(uint64_t offset, size_t length) const {
  std::string bytes(length, '\0');
  if (const int error = ReadExactly(handle_, offset, length, bytes.data())) {
    Fail(error == EndOfFileError() ? std::string("se ha acortado mientras se leía")
                                   : SystemReason(error));
  }
  return bytes;
}

std::string InputFile::ReadAll(uint64_t limit) const {
  if (size_ > limit) {
    Fail("es demasiado grande: tiene " + std::to_string(size_) + " bytes, y no puede pasar de " +
         std::to_string(limit));
  }
  // The size it had first, read straight into place; then on to its end, which the size need
  // not tell (a file that grows, a file of the system that says it is empty), never past the
  // bound.
  std::string bytes(static_cast<size_t>(size_), '\0');
  size_t done = 0;
  const auto read = [&](char* into, size_t length) {
    size_t got = 0;
    if (const int error = NativeReadAt(handle_, done, length, into, got)) Fail(SystemReason(error));
    done += got;
    return got;
  };
  while (done < bytes.size()) {
    if (read(bytes.data() + done, bytes.size() - done) == 0) {
      bytes.resize(done);  // it shrank meanwhile
      return bytes;
    }
  }
  std::string piece(kPiece, '\0');
  while (const size_t got = read(piece.data(), piece.size())) {
    bytes.append(piece, 0, got);
    if (bytes.size() > limit) {
      Fail("es demasiado grande: pasa de " + std::to_string(limit) + " bytes");
    }
  }
  return bytes;
}

std::string ReadWholeFile(const std::filesystem::path& path, std::string_view what,
                          uint64_t limit) {
  return InputFile(path, what).ReadAll(limit);
}

}  // namespace zentrova::files
