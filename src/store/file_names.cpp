#include "store/file_names.h"

#include <system_error>

#include "files/locked_file.h"
#include "store/table.h"
#include "text/letter_case.h"

namespace zentrova::store {
std::string BaseName(std::string_view file_name) {
  const size_t dot = file_name.rfind('.');
  return std::string(dot == std::string_view::npos ? file_name : file_name.substr(0, dot));
}

std::string IndexFileName(std::string_view table_file_name) {
  return BaseName(table_file_name) + ".MDX";
}

// The file is deleted while we hold it exclusively, which fails when another holder has
// it open, as deleting a file in use fails on Windows.
void DeleteIfExists(const std::filesystem::path& folder, std::string_view name) {
  const std::filesystem::path path = FindIgnoringCase(folder, name);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return;
  files::LockedFile file;
  if (file.Open(path, files::LockKind::kExclusive) != files::OpenStatus::kOpened) return;
#ifdef _WIN32
  file.Close();
#endif
  std::filesystem::remove(path, error);
}

}  // namespace zentrova::store
