#ifndef ZENTROVA_STORE_STORE_ERROR_H_
#define ZENTROVA_STORE_STORE_ERROR_H_

// Building the store's Spanish messages: every one names the file it is about.

#include <filesystem>
#include <string>
#include <string_view>

#include "store/table.h"

namespace zentrova::store {

// The path as UTF-8 text for a message.
std::string PathForMessage(const std::filesystem::path& path);

// Raises store::Error with `message`, where each "%f" is replaced by the file's path.
[[noreturn]] void Fail(const std::filesystem::path& file, std::string_view message);

// The system's reason for the last failed call (errno), in a short Spanish phrase.
std::string SystemReason(int error_number);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_STORE_ERROR_H_
