#ifndef ZENTROVA_XML_PARSE_STATUS_H_
#define ZENTROVA_XML_PARSE_STATUS_H_

// What a pugixml parse said, in the terms of LoadResult.

#include <pugixml.hpp>
#include <string_view>

#include "xml/document.h"

namespace zentrova::xml {

// well_formed for status_ok; otherwise a Spanish description of the status and the 1-based
// line and column, counted in characters, of the byte offset into the parsed UTF-8 text.
LoadResult DescribeParse(const pugi::xml_parse_result& result, std::string_view utf8);

// The same for a fault found before parsing, at a byte offset of the UTF-8 text.
LoadResult FaultAt(std::string message, std::string_view utf8, size_t offset);

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_PARSE_STATUS_H_
