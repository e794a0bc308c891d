#ifndef ZENTROVA_REPORT_WORDING_H_
#define ZENTROVA_REPORT_WORDING_H_

// The small pieces the reports are written with, in Spanish.

#include <cstddef>
#include <string>
#include <vector>

namespace zentrova::report {

std::u16string Number(size_t n);
// «text»
std::u16string Quoted(const std::u16string& text);
// "1 registro" / "3 registros".
std::u16string Count(size_t n, const std::u16string& one, const std::u16string& many);
std::u16string Joined(const std::vector<std::u16string>& items, const std::u16string& separator);
// "sus valores: «a», «b»", or "no tiene valores".
std::u16string ValuesText(const std::vector<std::u16string>& values);
// The lines of a message: "\r\n" and "\n" both end one.
std::vector<std::u16string> Lines(const std::u16string& message);

}  // namespace zentrova::report

#endif  // ZENTROVA_REPORT_WORDING_H_
