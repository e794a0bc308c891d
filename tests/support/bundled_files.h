#ifndef ZENTROVA_TESTS_SUPPORT_BUNDLED_FILES_H_
#define ZENTROVA_TESTS_SUPPORT_BUNDLED_FILES_H_

// Where the tests find the program they run and the files that ship with it.

#include <string>

namespace zentrova::testing {

inline const std::string kCli = std::string(ZENTROVA_BIN_DIR) + "/zentrova-cli";
inline const std::string kNivelex = std::string(ZENTROVA_BIN_DIR) + "/NIVELEX.DBF";
inline const std::string kSample = std::string(ZENTROVA_SOURCE_DIR) + "/data/muestra/instituto.xml";

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_SUPPORT_BUNDLED_FILES_H_
