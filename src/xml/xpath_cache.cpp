#include "xml/xpath_cache.h"

#include <memory>
#include <unordered_map>

#include "xml/document.h"

namespace zentrova::xml {
namespace {

// Programs build their queries from a handful of group names; a program that builds them
// from data would otherwise grow the cache without end.
constexpr size_t kMaxCachedQueries = 256;

}  // namespace

const pugi::xpath_query& CompiledQuery(const std::string& query) {
  thread_local std::unordered_map<std::string, std::unique_ptr<pugi::xpath_query>> cache;
  if (auto found = cache.find(query); found != cache.end()) return *found->second;
  std::unique_ptr<pugi::xpath_query> compiled;
  try {
    compiled = std::make_unique<pugi::xpath_query>(query.c_str());
  } catch (const pugi::xpath_exception& e) {
    throw Error("La consulta XPath '" + query + "' no es válida: " + e.result().description() +
                " (posición " + std::to_string(e.result().offset + 1) + ").");
  }
  if (cache.size() >= kMaxCachedQueries) cache.clear();
  return *cache.emplace(query, std::move(compiled)).first->second;
}

}  // namespace zentrova::xml
