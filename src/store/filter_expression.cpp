#include "store/filter_expression.h"

#include "store/store_error.h"
#include "text/clipper.h"
#include "text/encoding.h"

namespace zentrova::store {
namespace {

[[noreturn]] void FailForm(std::u16string_view expression, const std::filesystem::path& file) {
  Fail(file, "El filtro \"" + text::Utf16ToUtf8(expression) +
                 "\" de la tabla %f no tiene la forma CAMPO= 'texto'.");
}

// The text between the quotes, or false when the quoting is not well formed.
bool Unquote(const std::u16string& quoted, std::u16string& value) {
  if (quoted.size() < 2 || quoted.front() != u'\'' || quoted.back() != u'\'') return false;
  value.clear();
  for (size_t i = 1; i + 1 < quoted.size(); ++i) {
    if (quoted[i] == u'\'') {
      if (i + 2 >= quoted.size() || quoted[i + 1] != u'\'') return false;
      ++i;
    }
    value += quoted[i];
  }
  return true;
}

}  // namespace

FilterExpression ParseFilter(std::u16string_view expression, const std::filesystem::path& file) {
  const size_t equals = expression.find(u'=');
  if (equals == std::u16string_view::npos) FailForm(expression, file);
  const std::u16string field = text::AllTrim(std::u16string(expression.substr(0, equals)));
  FilterExpression filter;
  if (field.empty() ||
      !Unquote(text::AllTrim(std::u16string(expression.substr(equals + 1))), filter.value)) {
    FailForm(expression, file);
  }
  filter.field = text::Utf16ToUtf8(field);
  return filter;
}

}  // namespace zentrova::store
