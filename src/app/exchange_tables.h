#ifndef ZENTROVA_APP_EXCHANGE_TABLES_H_
#define ZENTROVA_APP_EXCHANGE_TABLES_H_

// The main window's table components: the exchange folder's tables, opened exclusively by
// the runs that use them, and the level table beside the executable, opened shared.

#include <filesystem>

#include "export/timetable_run.h"
#include "store/table.h"

namespace zentrova::app {

struct ExchangeTables {
  ExchangeTables(const std::filesystem::path& ktemp, const std::filesystem::path& nivelex)
      : wwTableNomAsg(ktemp, "ASIGNOMT.DBF"),
        wwTableProfesor(ktemp, "PROFT.DBF"),
        wwTableTramos(ktemp, "DIASHORAST.DBF"),
        wwTableAulas(ktemp, "AULAT.DBF"),
        wwTableGrupos(ktemp, "GRUPOST.DBF"),
        wwTableAsig(ktemp, "ASIGT.DBF"),
        wwTableSoluc(ktemp, "SOLUC.DBF"),
        wwTableCursos(ktemp, "CURSOST.DBF"),
        wwTableNIVELEX(nivelex.parent_path(), nivelex.filename().string()) {}

  store::Table wwTableNomAsg;
  store::Table wwTableProfesor;
  store::Table wwTableTramos;
  store::Table wwTableAulas;
  store::Table wwTableGrupos;
  store::Table wwTableAsig;
  store::Table wwTableSoluc;
  store::Table wwTableCursos;
  store::Table wwTableNIVELEX;
};

// The eight tables the second direction opens.
inline timetable_export::ExportTables TimetableTablesOf(ExchangeTables& tables) {
  return {tables.wwTableSoluc, tables.wwTableGrupos, tables.wwTableCursos, tables.wwTableProfesor,
          tables.wwTableAulas, tables.wwTableNomAsg, tables.wwTableTramos, tables.wwTableAsig};
}

}  // namespace zentrova::app

#endif  // ZENTROVA_APP_EXCHANGE_TABLES_H_
