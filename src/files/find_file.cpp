#include "files/find_file.h"

#include <string>
#include <system_error>

#include "text/letter_case.h"

namespace zentrova::files {

std::filesystem::path FindIgnoringCase(const std::filesystem::path& folder, std::string_view name) {
  std::error_code error;
  const std::filesystem::path exact = folder / std::string(name);
  if (std::filesystem::exists(exact, error)) return exact;
  std::string best;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string candidate = it->path().filename().string();
    if (text::EqualsIgnoringCaseAZ(candidate, name) && (best.empty() || candidate < best)) {
      best = candidate;
    }
  }
  return best.empty() ? exact : folder / best;
}

}  // namespace zentrova::files
