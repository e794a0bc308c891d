#include "app/private_profile.h"

#include <optional>
#include <vector>

#include "text/clipper.h"
#include "text/letter_case.h"

namespace zentrova::app {
namespace {

// One line of the file: its text and the line end that followed it ("", "\n" or "\r\n").
struct Line {
  std::string_view text;
  std::string_view end;
};

std::vector<Line> Lines(std::string_view content) {
  std::vector<Line> lines;
  while (!content.empty()) {
    const size_t newline = content.find('\n');
    if (newline == std::string_view::npos) {
      lines.push_back({content, {}});
      break;
    }
    const bool crlf = newline > 0 && content[newline - 1] == '\r';
    lines.push_back({content.substr(0, crlf ? newline - 1 : newline),
                     content.substr(crlf ? newline - 1 : newline, crlf ? 2 : 1)});
    content.remove_prefix(newline + 1);
  }
  return lines;
}

// The name of a section header line ("[name]"), or nothing.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = text::AllTrim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return text::AllTrim(line.substr(1, close - 1));
}

bool IsEntry(std::string_view line) {
  line = text::AllTrim(line);
  return !line.empty() && line.front() != ';' && line.front() != '#' &&
         line.find('=') != std::string_view::npos;
}

// Where the value of an entry line `key=...` begins, when the line sets `key`.
std::optional<size_t> ValueStart(std::string_view line, std::string_view key) {
  if (!IsEntry(line)) return std::nullopt;
  const size_t equals = line.find('=');
  if (!text::EqualsIgnoringCaseAZ(text::AllTrim(line.substr(0, equals)), key)) {
    return std::nullopt;
  }
  // The value starts after the blanks that follow the '='; they stay as they were.
  const size_t value = line.find_first_not_of(' ', equals + 1);
  return value == std::string_view::npos ? line.size() : value;
}

// A line as it is read: the first without the signature of a UTF-8 file.
std::string_view Readable(const std::vector<Line>& lines, size_t i) {
  constexpr std::string_view kSignature = "\xEF\xBB\xBF";
  std::string_view text = lines[i].text;
  if (i == 0 && text.starts_with(kSignature)) text.remove_prefix(kSignature.size());
  return text;
}

}  // namespace

std::string WithProfileValue(std::string_view content, std::string_view section,
                             std::string_view key, std::string_view value) {
  const std::vector<Line> lines = Lines(content);
  const bool crlf = content.find("\r\n") != std::string_view::npos ||
                    content.find('\n') == std::string_view::npos;
  const std::string_view eol = crlf ? "\r\n" : "\n";
  const std::string entry = std::string(key) + "=" + std::string(value);

  // The section's header and last entry, and the key's line, if the file has them.
  std::optional<size_t> header;
  std::optional<size_t> last_entry;
  std::optional<size_t> key_line;
  std::optional<size_t> key_value;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionName(Readable(lines, i))) {
      if (header) break;  // the section ended; a later one of the same name is not read
      if (text::EqualsIgnoringCaseAZ(*name, section)) header = i;
      continue;
    }
    if (!header) continue;
    if (IsEntry(lines[i].text)) last_entry = i;
    if (!key_line) {
      if (const auto start = ValueStart(lines[i].text, key)) {
        key_line = i;
        key_value = start;
      }
    }
  }

  std::string out;
  out.reserve(content.size() + entry.size() + section.size() + 8);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (key_line && i == *key_line) {
      out.append(lines[i].text.substr(0, *key_value)).append(value).append(lines[i].end);
      continue;
    }
    out.append(lines[i].text).append(lines[i].end);
    if (!key_line && header && i == last_entry.value_or(*header)) {
      if (lines[i].end.empty()) out.append(eol);  // the file ended without a line end
      out.append(entry).append(lines[i].end.empty() ? eol : lines[i].end);
    }
  }
  if (!header) {
    if (!out.empty() && out.back() != '\n') out.append(eol);
    out.append("[").append(section).append("]").append(eol).append(entry).append(eol);
  }
  return out;
}

}  // namespace zentrova::app
