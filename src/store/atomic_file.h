#ifndef ZENTROVA_STORE_ATOMIC_FILE_H_
#define ZENTROVA_STORE_ATOMIC_FILE_H_

#include <filesystem>
#include <string_view>

namespace zentrova::store {

// Replaces `path` with `bytes` through a temporary file beside it and a rename, so a
// reader sees either the old file or the new one, never a half-written one. Raises
// store::Error naming the file.
void ReplaceFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_ATOMIC_FILE_H_
