#ifndef ZENTROVA_XML_MARKUP_CHECK_H_
#define ZENTROVA_XML_MARKUP_CHECK_H_

// What pugixml lets through in a document that we could not read faithfully, found in the
// text before it is parsed:
// - characters XML forbids, as they are or as character references (see character_check.h);
// - references to entities other than the five XML predefines (&amp; &lt; &gt; &quot;
//   &apos;), in text and in attribute values. pugixml expands none of them and keeps "&name;"
//   as literal text, which would then be read as the value. Declared in the document type or
//   not, internal or external, none is ever expanded, so nothing outside the file is read.
// - a second root element, or text outside the root, which pugixml reads as if they were
//   part of the document;
// - elements nested deeper than kMaxElementDepth. Such a document never reaches pugixml,
//   whose node destruction recurses once per level.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zentrova::xml {

struct MarkupFault {
  size_t offset;        // byte offset into the UTF-8 text
  std::string message;  // Spanish, for LoadResult; names the element where there is one
};

// The first such fault of `utf8` (valid UTF-8), in document order. Comments, CDATA sections
// and processing instructions are plain text: only the characters themselves are checked
// there. A text that is otherwise not well formed is left to the parser.
std::optional<MarkupFault> FindUnreadableMarkup(std::string_view utf8);

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_MARKUP_CHECK_H_
