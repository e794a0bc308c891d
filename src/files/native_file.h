#ifndef ZENTROVA_FILES_NATIVE_FILE_H_
#define ZENTROVA_FILES_NATIVE_FILE_H_

// The few system calls on names and open files that the rest of this folder builds on, each
// system in functions of its own: what a name is, opening a file for reading without waiting,
// its size, reading at an offset, and the longest name a folder takes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace zentrova::files {

// The system's handle of an open file, opaque to the callers: a descriptor on POSIX, a HANDLE
// on Windows (see windows_handle.h). kNoNativeHandle is none on both.
using NativeHandle = std::intptr_t;
inline constexpr NativeHandle kNoNativeHandle = -1;

// What a name in a folder is. A link is never followed; on Windows every reparse point
// (symbolic link, junction, mount point) counts as one.
enum class EntryKind { kMissing, kFile, kFolder, kLink, kPipe, kDevice, kOther };

struct Entry {
  EntryKind kind = EntryKind::kMissing;
  uint64_t links = 0;  // how many names the file has (a file only; 1 when the system cannot tell)
};

// `path` itself, a link at it not followed. A name that cannot be looked at is kMissing.
Entry InspectEntry(const std::filesystem::path& path);
// What `path` leads to, links followed: what opening it would open.
EntryKind KindOfTarget(const std::filesystem::path& path);
// What an open file is.
EntryKind KindOfOpenFile(NativeHandle handle);

// "una carpeta", "un enlace simbólico", "una tubería (FIFO)", ... for a message.
std::string KindForMessage(EntryKind kind);

// Opens a file for reading only, without a lock and without waiting for a writer (a FIFO) or
// a device. kNoNativeHandle on failure, with LastSystemError() set.
NativeHandle OpenForReading(const std::filesystem::path& path);
void CloseNative(NativeHandle handle);

// The file's size in bytes; false on failure, with LastSystemError() set.
bool NativeSize(NativeHandle handle, uint64_t& size);

// Reads up to `length` bytes at `offset` into `into`; `got` is 0 at the end of the file.
// Gives 0, or the system's error code.
int NativeReadAt(NativeHandle handle, uint64_t offset, size_t length, char* into, size_t& got);

// The longest name of one file that `folder` takes, in the units the system counts (bytes
// on POSIX, UTF-16 code units on Windows).
size_t LongestNameIn(const std::filesystem::path& folder);
// The length of `name` in those units.
size_t NameLength(const std::filesystem::path& name);

// Whether two names that differ only in letter case name one file: true on Windows, false on
// POSIX (where a file system that ignores case is the exception).
bool NamesIgnoreLetterCase();

// The error code NativeReadAt's callers give for a file that ends before the bytes asked
// for, and WriteAt's for a write that stops short without a code of its own.
int EndOfFileError();
int ShortWriteError();

}  // namespace zentrova::files

#endif  // ZENTROVA_FILES_NATIVE_FILE_H_
