#ifndef ZENTROVA_IMPORT_TABLE_FILES_H_
#define ZENTROVA_IMPORT_TABLE_FILES_H_

#include <filesystem>
#include <string_view>

#include "store/table.h"

namespace zentrova::import {

// Deletes BASE.DBF and then BASE.MDX of the exchange folder, each when it exists; the outcome
// is not reported (creating the table afterwards fails clearly if one is held).
void DeleteTableFiles(const std::filesystem::path& ktemp, std::string_view base);

// Closes a table that someone else owns (a main-window component) when the scope ends, also
// when an error leaves it.
class CloseOnExit {
 public:
  explicit CloseOnExit(store::Table& table) : table_(table) {}
  ~CloseOnExit() {
    try {
      table_.Close();
    } catch (const Error&) {
      // Only a pending row could fail to store here, and the error already under way wins.
    }
  }
  CloseOnExit(const CloseOnExit&) = delete;
  CloseOnExit& operator=(const CloseOnExit&) = delete;

 private:
  store::Table& table_;
};

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_TABLE_FILES_H_
