#include "report/wording.h"

#include "text/integer.h"

namespace zentrova::report {

std::u16string Number(size_t n) { return text::IntegerText(static_cast<long long>(n)); }

std::u16string Quoted(const std::u16string& text) { return u"«" + text + u"»"; }

std::u16string Count(size_t n, const std::u16string& one, const std::u16string& many) {
  return Number(n) + u" " + (n == 1 ? one : many);
}

std::u16string Joined(const std::vector<std::u16string>& items, const std::u16string& separator) {
  std::u16string joined;
  for (const auto& item : items) joined += (joined.empty() ? u"" : separator) + item;
  return joined;
}

std::u16string ValuesText(const std::vector<std::u16string>& values) {
  if (values.empty()) return u"no tiene valores";
  std::vector<std::u16string> quoted;
  for (const auto& value : values) quoted.push_back(Quoted(value));
  return u"sus valores: " + Joined(quoted, u", ");
}

std::vector<std::u16string> Lines(const std::u16string& message) {
  std::vector<std::u16string> lines;
  for (size_t start = 0;;) {
    const size_t end = message.find(u'\n', start);
    std::u16string line = message.substr(start, end == std::u16string::npos ? end : end - start);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == std::u16string::npos) return lines;
    start = end + 1;
  }
}

}  // namespace zentrova::report
