#include "store/store_error.h"
namespace zentrova::store {

void Fail(const std::filesystem::path& file, std::string_view message) {
  const std::string name = PathForMessage(file);
  std::string out;
  for (size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '%' && i + 1 < message.size() && message[i + 1] == 'f') {
      out += name;
      ++i;
    } else {
      out += message[i];
    }
  }
  throw Error(out);
}

}  // namespace zentrova::store
