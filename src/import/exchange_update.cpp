#include "import/exchange_update.h"

#include <utility>

namespace zentrova::import {

const std::vector<std::string>& WrittenFiles() {
  static const std::vector<std::string> files = {
      "ASIGNOMT.DBF", "PROFT.DBF",      "AULAT.DBF",       "CURSOST.DBF",     "GRUPOST.DBF",
      "ASIGT.DBF",    "DIASHORAST.DBF", "DIASHORAST2.DBF", "DIASHORAST2.MDX", "PERIODOS.DBF"};
  return files;
}

const std::vector<std::string>& RemovedFiles() {
  static const std::vector<std::string> files = {"ASIGNOMT.MDX",   "PROFT.MDX",    "AULAT.MDX",
                                                 "CURSOST.MDX",    "GRUPOST.MDX",  "ASIGT.MDX",
                                                 "DIASHORAST.MDX", "PERIODOS.MDX", "JORNADAS.DBF"};
  return files;
}

const std::vector<std::string>& ExchangeFiles() {
  static const std::vector<std::string> files = [] {
    std::vector<std::string> both = WrittenFiles();
    both.insert(both.end(), RemovedFiles().begin(), RemovedFiles().end());
    return both;
  }();
  return files;
}

namespace {

const char* KindOf(const std::string& name) {
  return name.ends_with(".MDX") ? "el índice" : "la tabla";
}

}  // namespace

ExchangeUpdate::ExchangeUpdate(std::filesystem::path ktemp)
    : update_(std::move(ktemp), ExchangeFiles()) {
  for (const auto* list : {&WrittenFiles(), &RemovedFiles()}) {
    for (const std::string& name : *list) update_.Hold(name, KindOf(name));
  }
}

void ExchangeUpdate::Commit() { update_.Commit(WrittenFiles(), RemovedFiles()); }

}  // namespace zentrova::import
