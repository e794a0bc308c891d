#include "cli/review.h"

#include "app/run_steps.h"
#include "cli/console_host.h"
#include "cli/scratch_folder.h"
#include "import/conversion.h"
#include "import/dialog/time_frame_model.h"
#include "import/exchange_document.h"
#include "import/preflight.h"
#include "import/time_slots.h"
#include "text/encoding.h"
#include "xml/document.h"

namespace zentrova::cli {
namespace {

// Named without its namespace: a line that begins with `import::` is taken by clang-format
// for a module import and the class around it is misformatted.
using import::FrameAnswer;

// Answers the time-frame dialog with one frame of the list, as a click on it would.
class OneFrameChooser : public import::FrameChooser {
 public:
  OneFrameChooser(const std::vector<std::u16string>& frames, size_t chosen)
      : frames_(frames), selected_(frames.size(), false) {
    selected_[chosen] = true;
  }
  FrameAnswer ChooseTimeFrames(const std::filesystem::path&, const xml::Document&) override {
    return import::AnswerFor(frames_, selected_);
  }

 private:
  const std::vector<std::u16string>& frames_;
  std::vector<bool> selected_;
};

// Each frame with the slots a conversion takes for it, chosen alone as the conversion
// chooses it.
std::vector<FrameSummary> SummarizeFrames(const xml::Document& document,
                                          const std::filesystem::path& file) {
  const std::vector<import::Record> records =
      import::ReadGroup(document, import::kJornadasEscolares);
  const std::vector<import::Record> slots = import::ReadGroup(document, import::kTramosHorarios);
  std::vector<std::u16string> listed;  // as the dialog lists them
  for (const import::Record& record : records)
    listed.push_back(record.Raw(import::jornadas_escolares::kCode));
  std::vector<FrameSummary> frames;
  for (size_t i = 0; i < records.size(); ++i) {
    const import::Record& record = records[i];
    namespace frame_at = import::jornadas_escolares;
    FrameSummary frame{record.Value(frame_at::kCode),
                       record.Value(frame_at::kName),
                       record.Value(frame_at::kStart),
                       record.Value(frame_at::kEnd),
                       {},
                       {}};
    OneFrameChooser chooser(listed, i);
    const std::optional<import::ChosenFrames> chosen =
        import::ChooseFrames(document, chooser, file);
    for (const import::Record& slot : slots) {
      if (chosen && import::IsSlotOfChosenFrames(slot, *chosen))
        frame.slots.push_back(slot.Value(import::tramos_horarios::kText));
    }
    const bool selectable =
        FrameSelectedBy(listed, frame.code) == i && frame.code.find(u',') == std::u16string::npos;
    if (records.size() > 1 && selectable) frame.marcos = frame.code;
    frames.push_back(std::move(frame));
  }
  return frames;
}

// The review proper once the file and the level table are found: a stop's message, or the
// converters' report.
void Convert(Review& review, const std::filesystem::path& nivelex,
             const std::vector<std::u16string>& marcos) {
  xml::Document document;
  const xml::LoadResult load = document.Load(review.file);
  review.frames = SummarizeFrames(document, review.file);
  if (auto problem = import::CheckExport(document, load, review.file)) {
    review.stop = problem;
    return;
  }
  MarcosChooser chooser(marcos);
  review.chosen = import::ChooseFrames(document, chooser, review.file);
  if (!review.chosen) {
    // The command line shows the chooser's message, then the run's.
    review.stop = chooser.message() + u"\n" + import::kFramesNotChosenMessage + u" " +
                  import::kNothingChanged;
    return;
  }
  if (auto problem = import::CheckTimeSlots(document, *review.chosen, review.file)) {
    review.stop = problem;
    return;
  }
  const ScratchFolder folder;
  import::ConversionReport report;
  import::SubjectLists lists;
  import::ConvertExport(document, folder.path(), nivelex, *review.chosen, lists, report);
  review.groups = report.groups();
}

}  // namespace

Review ReviewExport(const std::filesystem::path& file, const app::RunPaths& paths,
                    const std::vector<std::u16string>& marcos) {
  const std::filesystem::path& nivelex = paths.nivelex;
  Review review;
  review.file = std::filesystem::absolute(file);
  if (!app::ChosenFileExists(review.file)) {
    // As the command line shows it: the message, then the path looked for.
    review.stop = std::u16string(app::kNoFileMessage) + u"\n" + text::PathText(review.file);
  } else if (auto problem = app::LevelTableProblem(paths)) {
    review.stop = problem;
  } else {
    Convert(review, nivelex, marcos);
  }
  return review;
}

}  // namespace zentrova::cli
