#ifndef ZENTROVA_XML_XPATH_CACHE_H_
#define ZENTROVA_XML_XPATH_CACHE_H_

// Compiled XPath queries, kept per query text: the converters run the same few queries once
// per record.

#include <pugixml.hpp>
#include <string>

namespace zentrova::xml {

// The compiled query; valid until the next call on the same thread. Raises xml::Error for a
// query that is not XPath 1.0.
const pugi::xpath_query& CompiledQuery(const std::string& query);

}  // namespace zentrova::xml

#endif  // ZENTROVA_XML_XPATH_CACHE_H_
