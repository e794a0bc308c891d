// Names and open files on Windows.
//
// Traps of this system:
// - A folder opens only with FILE_FLAG_BACKUP_SEMANTICS, and opening follows every reparse
//   point (symbolic link, junction, mount point) unless FILE_FLAG_OPEN_REPARSE_POINT says not
//   to; the attributes alone tell a reparse point, so a name is looked at before it is opened.
// - Looking at a file by opening it is itself an open: it asks for attributes only and shares
//   everything, delete included, so that it never keeps another program out.
// - ReadFile at an offset reports the end of the file as ERROR_HANDLE_EOF, not as 0 bytes
//   read, and reads at most 4 GiB less one byte at a time.

#include <algorithm>

#include "files/native_file.h"
#include "files/windows_handle.h"

namespace zentrova::files {

namespace {

// What a handle that CreateFileW gave is: a disk file or folder, a device, a pipe.
EntryKind KindOfHandle(HANDLE handle) {
  switch (GetFileType(handle)) {
    case FILE_TYPE_DISK: {
      BY_HANDLE_FILE_INFORMATION info{};
      if (GetFileInformationByHandle(handle, &info) &&
          (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return EntryKind::kFolder;
      }
      return EntryKind::kFile;
    }
    case FILE_TYPE_CHAR:
      return EntryKind::kDevice;
    case FILE_TYPE_PIPE:
      return EntryKind::kPipe;
    default:
      return EntryKind::kOther;
  }
}

// Opened only to be looked at: no data is read, nobody is kept out.
HANDLE OpenToLookAt(const std::filesystem::path& path, bool follow_links) {
  const DWORD flags =
      FILE_FLAG_BACKUP_SEMANTICS | (follow_links ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  return CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     flags, nullptr);
}

}  // namespace

Entry InspectEntry(const std::filesystem::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return {};
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return {EntryKind::kLink, 1};
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {EntryKind::kFolder, 1};
  const HANDLE handle = OpenToLookAt(path, /*follow_links=*/false);
  if (handle == INVALID_HANDLE_VALUE) return {EntryKind::kFile, 1};
  Entry entry{KindOfHandle(handle), 1};
  BY_HANDLE_FILE_INFORMATION info{};
  if (entry.kind == EntryKind::kFile && GetFileInformationByHandle(handle, &info)) {
    entry.links = info.nNumberOfLinks;
  }
  CloseHandle(handle);
  return entry;
}

EntryKind KindOfTarget(const std::filesystem::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::kMissing;
  const HANDLE handle = OpenToLookAt(path, /*follow_links=*/true);
  if (handle == INVALID_HANDLE_VALUE) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::kFolder : EntryKind::kFile;
  }
  const EntryKind kind = KindOfHandle(handle);
  CloseHandle(handle);
  return kind;
}

EntryKind KindOfOpenFile(NativeHandle handle) { return KindOfHandle(AsHandle(handle)); }

NativeHandle OpenForReading(const std::filesystem::path& path) {
  const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return AsNative(handle);
}

void CloseNative(NativeHandle handle) {
  if (handle != kNoNativeHandle) CloseHandle(AsHandle(handle));
}

bool NativeSize(NativeHandle handle, uint64_t& size) {
  LARGE_INTEGER value{};
  if (!GetFileSizeEx(AsHandle(handle), &value)) return false;
  size = static_cast<uint64_t>(value.QuadPart);
  return true;
}

int NativeReadAt(NativeHandle handle, uint64_t offset, size_t length, char* into, size_t& got) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD read = 0;
  const DWORD wanted = static_cast<DWORD>(std::min<size_t>(length, 1u << 30));
  got = 0;
  if (!ReadFile(AsHandle(handle), into, wanted, &read, &at)) {
    const DWORD error = GetLastError();
    return error == ERROR_HANDLE_EOF ? 0 : static_cast<int>(error);
  }
  got = read;
  return 0;
}

// NTFS, FAT32 and exFAT all take names of up to 255 UTF-16 code units.
size_t LongestNameIn(const std::filesystem::path&) { return 255; }

bool NamesIgnoreLetterCase() { return true; }

int EndOfFileError() { return ERROR_HANDLE_EOF; }

int ShortWriteError() { return ERROR_WRITE_FAULT; }

}  // namespace zentrova::files
