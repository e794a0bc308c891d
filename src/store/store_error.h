#ifndef ZENTROVA_STORE_STORE_ERROR_H_
#define ZENTROVA_STORE_STORE_ERROR_H_

// Building the store's Spanish messages: every one names the file it is about.

#include <filesystem>
#include <string>
#include <string_view>

#include "files/file_error.h"
#include "store/table.h"

namespace zentrova::store {

using files::PathForMessage;
using files::SystemReason;

// Raises store::Error with `message`, where each "%f" is replaced by the file's path.
[[noreturn]] void Fail(const std::filesystem::path& file, std::string_view message);

// Runs `step`, raising what the file layer raises as store::Error with the same message.
template <typename Step>
void AsStoreError(Step step) {
  try {
    step();
  } catch (const files::Error& error) {
    throw Error(error.what());
  }
}

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_STORE_ERROR_H_
