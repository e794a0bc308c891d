#include "fuzz_host.h"

#include <unistd.h>

#include <fstream>
#include <vector>

#include "import/dialog/time_frame_model.h"

namespace zentrova::fuzz {
namespace {

// Removes the process's scratch folder at a normal exit (libFuzzer's -runs and
// -max_total_time end with exit()).
class ProcessFolder {
 public:
  ProcessFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("zentrova-fuzz-" + std::to_string(getpid()))) {}
  ~ProcessFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

app::FrameAnswer QuietHost::ChooseTimeFrames(const std::filesystem::path& export_file,
                                             const xml::Document& loaded) {
  import::TimeFrameModel model(export_file, &loaded);
  model.FormActivate();
  if (!model.CanChoose()) return app::FrameAnswer{false, u"", true};
  std::vector<bool> selected(model.frames().size(), false);
  for (size_t i = 0; i < selected.size() && i < 2; ++i) selected[i] = true;
  const import::TimeFrameModel::Closing closing = model.FormClose(selected);
  // The dialog would be shown again with the same answer: end the run instead.
  if (!closing.answer.valid) return app::FrameAnswer{false, u"", true};
  return closing.answer;
}

std::filesystem::path FreshFolder(const std::string& name) {
  static const ProcessFolder process;
  const std::filesystem::path folder = process.path() / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

void WriteBytes(const std::filesystem::path& file, const void* data, size_t size) {
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace zentrova::fuzz
