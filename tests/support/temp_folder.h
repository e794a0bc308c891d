#ifndef ZENTROVA_TESTS_SUPPORT_TEMP_FOLDER_H_
#define ZENTROVA_TESTS_SUPPORT_TEMP_FOLDER_H_

// Temporary folders for tests, and what a folder holds, to compare before and after a run.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace zentrova::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Whole file as bytes; writing replaces the file.
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// What a folder holds, by name: a file's bytes, "<carpeta>" for a folder.
using Files = std::map<std::string, std::string>;

// Whether the days that tables and indexes store as their last change are kept as written or
// read as zeros, so that runs on different days compare equal.
enum class StoredDates { kAsWritten, kZeroed };

Files Snapshot(const std::filesystem::path& folder, StoredDates dates = StoredDates::kAsWritten);

// Replaces everything in `folder` by `files`.
void PutFiles(const std::filesystem::path& folder, const Files& files);

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_SUPPORT_TEMP_FOLDER_H_
