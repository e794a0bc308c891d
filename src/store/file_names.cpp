#include "store/file_names.h"

namespace zentrova::store {

std::string BaseName(std::string_view file_name) {
  const size_t dot = file_name.rfind('.');
  return std::string(dot == std::string_view::npos ? file_name : file_name.substr(0, dot));
}

std::string IndexFileName(std::string_view table_file_name) {
  return BaseName(table_file_name) + ".MDX";
}

}  // namespace zentrova::store
