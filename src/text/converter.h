#ifndef ZENTROVA_TEXT_CONVERTER_H_
#define ZENTROVA_TEXT_CONVERTER_H_

// An ICU converter of our own, for code that drives one itself (the XML service's streaming
// decoder and encoder). Everything else converts through text/encoding.h.

#include <unicode/ucnv.h>

#include <memory>
#include <string>

namespace zentrova::text {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// A new converter for `icu_name`; null when ICU does not know the name.
Converter OpenConverter(const std::string& icu_name);

}  // namespace zentrova::text

#endif  // ZENTROVA_TEXT_CONVERTER_H_
