// Loads arbitrary bytes as an XML file. What must hold: no crash or undefined behaviour; an
// ill-formed file leaves the document empty; a well-formed one is no deeper than the limit,
// saves without error, and the saved file loads again with the same text wherever the
// encoding could hold every character.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_host.h"
#include "xml/document.h"

namespace {

using zentrova::xml::Document;
using zentrova::xml::LoadResult;

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// Unicode encodings hold every character, so nothing is written as a reference.
bool HoldsEverything(std::u16string name) {
  for (char16_t& c : name) c = (c >= u'a' && c <= u'z') ? c - u'a' + u'A' : c;
  return name.empty() || name.starts_with(u"UTF");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path folder = zentrova::fuzz::FreshFolder("xml");
  const std::filesystem::path in = folder / "in.xml";
  const std::filesystem::path out = folder / "out.xml";
  zentrova::fuzz::WriteBytes(in, data, size);

  Document document;
  LoadResult loaded;
  try {
    loaded = document.Load(in);
  } catch (const zentrova::xml::Error&) {
    return 0;  // unknown encoding
  }
  if (!loaded.well_formed) {
    Check(!document.Root().FirstChild(), "ill-formed file left nodes");
    Check(loaded.line >= 1 && loaded.column >= 1, "fault position");
    return 0;
  }
  // The markup check and pugixml must agree on where elements begin and end.
  const std::string limit = std::to_string(zentrova::xml::kMaxElementDepth);
  std::u16string too_deep = u"//*[count(ancestor::*) >= ";
  too_deep.append(limit.begin(), limit.end());
  Check(document.SelectNodes(too_deep + u"]").Length() == 0, "element deeper than the limit");
  const std::u16string text = document.Root().Text();
  const size_t elements = document.SelectNodes(u"//*").Length();
  document.Save(out);  // an error here is a finding

  Document again;
  const LoadResult reloaded = again.Load(out);
  if (HoldsEverything(document.DeclaredEncoding())) {
    Check(reloaded.well_formed, "saved file is ill-formed");
    Check(again.Root().Text() == text, "text changed through save");
    Check(again.SelectNodes(u"//*").Length() == elements, "elements changed through save");
  }
  return 0;
}
