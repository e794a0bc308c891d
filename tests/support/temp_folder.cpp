#include "support/temp_folder.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace zentrova::testing {

TempFolder::TempFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate =
        std::filesystem::temp_directory_path() / ("zentrova-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

namespace {

// Where a .DBF header and an .MDX file (its header and its first tag's header) keep a date.
std::vector<size_t> DatePlaces(const std::string& name) {
  if (name.ends_with(".DBF")) return {1};
  if (name.ends_with(".MDX")) return {1, 44, 2048 + 257};
  return {};
}

}  // namespace

Files Snapshot(const std::filesystem::path& folder, StoredDates dates) {
  Files files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory()) {
      files[name] = "<carpeta>";
      continue;
    }
    std::string bytes = ReadFile(entry.path());
    if (dates == StoredDates::kZeroed) {
      for (size_t at : DatePlaces(name)) {
        if (at + 3 <= bytes.size()) bytes.replace(at, 3, 3, '\0');
      }
    }
    files[name] = bytes;
  }
  return files;
}

void PutFiles(const std::filesystem::path& folder, const Files& files) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::filesystem::remove_all(entry.path());
  }
  for (const auto& [name, bytes] : files) WriteFile(folder / name, bytes);
}

}  // namespace zentrova::testing
