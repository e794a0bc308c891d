#include "support/small_disk.h"

#include <string>

#include "support/python.h"

namespace zentrova::testing {

SmallDisk::SmallDisk(uint64_t bytes) {
  const std::string folder = ShellQuote(folder_.path().string());
  mounted_ = RunCommand("mount -t tmpfs -o size=" + std::to_string(bytes) + " tmpfs " + folder)
                 .exit_code == 0;
}

SmallDisk::~SmallDisk() {
  if (mounted_) RunCommand("umount " + ShellQuote(folder_.path().string()));
}

}  // namespace zentrova::testing
