#ifndef ZENTROVA_FILES_WINDOWS_HANDLE_H_
#define ZENTROVA_FILES_WINDOWS_HANDLE_H_

// For this folder's Windows files only: windows.h, and the conversions between the system's
// HANDLE and the NativeHandle that the headers carry. kNoNativeHandle is
// INVALID_HANDLE_VALUE, so a failed CreateFileW converts to it as it is.

#include <windows.h>
// windows.h names its ReplaceFileW function ReplaceFile, which would rename ours.
#undef ReplaceFile

#include "files/native_file.h"

namespace zentrova::files {

inline HANDLE AsHandle(NativeHandle handle) { return reinterpret_cast<HANDLE>(handle); }
inline NativeHandle AsNative(HANDLE handle) { return reinterpret_cast<NativeHandle>(handle); }

}  // namespace zentrova::files

#endif  // ZENTROVA_FILES_WINDOWS_HANDLE_H_
