#include "files/find_file.h"

#include <string>
#include <system_error>

#include "files/native_file.h"
#include "text/encoding.h"
#include "text/letter_case.h"

namespace zentrova::files {

// Windows finds a file under any case of its name, so there only the folder's listing
// tells the name as it is.
std::filesystem::path FindIgnoringCase(const std::filesystem::path& folder, std::string_view name) {
  std::error_code error;
  const std::filesystem::path exact = folder / text::PathFromUtf8(name);
  if (!NamesIgnoreLetterCase() && std::filesystem::exists(exact, error)) return exact;
  std::string best;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string candidate = text::PathUtf8(it->path().filename());
    if (candidate == name) return exact;
    if (text::EqualsIgnoringCaseAZ(candidate, name) && (best.empty() || candidate < best)) {
      best = candidate;
    }
  }
  return best.empty() ? exact : folder / text::PathFromUtf8(best);
}

}  // namespace zentrova::files
