#ifndef ZENTROVA_TESTS_SUPPORT_TEMP_FOLDER_H_
#define ZENTROVA_TESTS_SUPPORT_TEMP_FOLDER_H_

#include <filesystem>
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

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_SUPPORT_TEMP_FOLDER_H_
