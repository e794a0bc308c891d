#include "app/timetable_review.h"

#include <chrono>
#include <system_error>

#include "app/exchange_tables.h"
#include "app/run_steps.h"
#include "export/timetable_document.h"
#include "export/timetable_run.h"
#include "files/find_file.h"
#include "files/folder_lock.h"
#include "files/folder_update.h"
#include "text/encoding.h"
#include "xml/document.h"

namespace zentrova::app {
namespace {

bool HasJournal(const std::filesystem::path& ktemp) {
  std::error_code error;
  return std::filesystem::exists(files::FindIgnoringCase(ktemp, files::kJournalName), error);
}

std::u16string InterruptedConversionMessage(const std::filesystem::path& ktemp) {
  return u"En la carpeta de intercambio " + text::PathText(ktemp) +
         u" quedó a medias una conversión (" + text::Utf8ToUtf16(files::kJournalName) +
         u"): importar la terminaría antes de leer las tablas, y la revisión no cambia nada de "
         u"la carpeta. Abra Zentrova, que la termina al empezar, y vuelva a revisar.";
}

// The review proper once the export is found. A message when importar would stop.
std::optional<std::u16string> Review(TimetableReview& review) {
  const files::FolderLock lock(review.ktemp);
  if (HasJournal(review.ktemp)) return InterruptedConversionMessage(review.ktemp);
  ExchangeTables tables(review.ktemp, {});
  timetable_export::OpenTables open(TimetableTablesOf(tables));
  xml::Document document;
  const timetable_export::PreparedRun prepared = timetable_export::PrepareRun(
      document, review.ktemp, review.file, std::chrono::system_clock::now);
  if (prepared.stop) return prepared.stop;
  timetable_export::BuildTimetableDocument(document, open.tables(), prepared.run, review.findings);
  return std::nullopt;
}

}  // namespace

TimetableReview ReviewTimetable(const std::filesystem::path& file,
                                const std::filesystem::path& ktemp) {
  TimetableReview review;
  review.file = std::filesystem::absolute(file);
  review.ktemp = ktemp;
  if (!ChosenFileExists(review.file)) {
    // As the command line shows it: the message, then the path looked for.
    review.stop = std::u16string(kNoFileMessage) + u"\n" + text::PathText(review.file);
    return review;
  }
  try {
    review.stop = Review(review);
  } catch (Error& failure) {
    failure.AddSentence(text::Utf16ToUtf8(timetable_export::kNothingWritten));
    throw;
  }
  return review;
}

}  // namespace zentrova::app
