#ifndef ZENTROVA_CLI_REVIEW_H_
#define ZENTROVA_CLI_REVIEW_H_

// zentrova-cli revisar: what `exportar` would do with an export, without writing anything of
// the exchange folder. The export goes through the same checks as a conversion, and then
// through the same converters, which write into a private temporary folder that is removed
// afterwards and tell a import::ConversionReport what they do.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/paths.h"
#include "import/conversion_report.h"
#include "import/time_frames.h"

namespace zentrova::cli {

// One time frame of the export (a record of JORNADAS_ESCOLARES).
struct FrameSummary {
  std::u16string code;  // trimmed, as PERIODOS would hold it
  std::u16string name;
  std::u16string start;
  std::u16string end;
  // The texts of the slots the week grid takes when this frame alone is chosen.
  std::vector<std::u16string> slots;
  // What --marcos takes to choose it; nothing when --marcos cannot choose it (its code repeats
  // an earlier frame's or holds a comma) or needs not (the only frame).
  std::optional<std::u16string> marcos;
};

struct Review {
  std::filesystem::path file;  // made absolute, as a conversion names it
  // The message with which `exportar` would stop; nothing when the export converts.
  std::optional<std::u16string> stop;
  std::vector<FrameSummary> frames;
  std::optional<import::ChosenFrames> chosen;
  // What the converters did, when they ran (only when the export converts).
  std::vector<import::GroupReport> groups;
};

// Reviews `file` with the level table of `paths` and the frame codes of --marcos. Raises what
// a conversion would raise (an unreadable file, a temporary folder that cannot be made).
Review ReviewExport(const std::filesystem::path& file, const app::RunPaths& paths,
                    const std::vector<std::u16string>& marcos);

// The report for people: plain Spanish, grouped by table.
std::u16string ReviewText(const Review& review);
// The report for programs (UTF-8 JSON); see the README for its form.
std::string ReviewJson(const Review& review);

}  // namespace zentrova::cli

#endif  // ZENTROVA_CLI_REVIEW_H_
