#ifndef ZENTROVA_IMPORT_TABLE_FILES_H_
#define ZENTROVA_IMPORT_TABLE_FILES_H_

#include <filesystem>
#include <string_view>

#include "store/table.h"

namespace zentrova::import {

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
