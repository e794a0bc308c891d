#ifndef ZENTROVA_IMPORT_EXCHANGE_UPDATE_H_
#define ZENTROVA_IMPORT_EXCHANGE_UPDATE_H_

// What a conversion changes in the exchange folder, changed all at once or not at all.
// The converters write the new tables into a staging folder inside the exchange folder;
// the old tables are held for the whole run, so that no other program takes them meanwhile
// and a table that cannot be replaced stops the run before anything is written. Commit
// moves the new tables in and removes the files that the conversion does away with.

#include <filesystem>
#include <string>
#include <vector>

#include "files/folder_update.h"

namespace zentrova::import {

// The files a conversion writes: the nine tables and the index of DIASHORAST2.
const std::vector<std::string>& WrittenFiles();
// The files it removes: the indexes of the other tables, and JORNADAS.DBF.
const std::vector<std::string>& RemovedFiles();
// Both lists: every file of the exchange folder that a conversion may change, and so the only
// files an update of the exchange folder, or its journal, may name.
const std::vector<std::string>& ExchangeFiles();

class ExchangeUpdate {
 public:
  // Locks the exchange folder, completes a conversion that a crash interrupted, and holds
  // every file the conversion writes or removes. Raises files::Error naming the folder or
  // the file that stops it; nothing has changed then.
  explicit ExchangeUpdate(std::filesystem::path ktemp);

  // Where the converters write the new tables.
  const std::filesystem::path& staging() const { return update_.staging(); }

  // Moves the new tables into the exchange folder and removes the files the conversion does
  // away with.
  void Commit();

 private:
  files::FolderUpdate update_;
};

}  // namespace zentrova::import

#endif  // ZENTROVA_IMPORT_EXCHANGE_UPDATE_H_
