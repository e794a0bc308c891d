#ifndef ZENTROVA_STORE_FILTER_EXPRESSION_H_
#define ZENTROVA_STORE_FILTER_EXPRESSION_H_

#include <filesystem>
#include <string>
#include <string_view>

namespace zentrova::store {

// A filter  FIELD= 'text' : the rows whose field reads as exactly the text.
struct FilterExpression {
  std::string field;
  std::u16string value;
};

// Blanks around '=' and the whole are optional; inside the quotes '' stands for one quote.
// Raises store::Error naming `file` for any other form.
FilterExpression ParseFilter(std::u16string_view expression, const std::filesystem::path& file);

}  // namespace zentrova::store

#endif  // ZENTROVA_STORE_FILTER_EXPRESSION_H_
