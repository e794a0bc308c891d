#ifndef ZENTROVA_TESTS_SUPPORT_SMALL_DISK_H_
#define ZENTROVA_TESTS_SUPPORT_SMALL_DISK_H_

// A disk of a few kilobytes, to fill up: a tmpfs mounted on a temporary folder. Mounting
// needs root (CI runs as root); where it is refused, mounted() is false and a test skips.

#include <cstdint>
#include <filesystem>

#include "support/temp_folder.h"

namespace zentrova::testing {

class SmallDisk {
 public:
  explicit SmallDisk(uint64_t bytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }
  const std::filesystem::path& path() const { return folder_.path(); }

 private:
  TempFolder folder_;
  bool mounted_ = false;
};

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_SUPPORT_SMALL_DISK_H_
