#ifndef ZENTROVA_GUI_QT_INFORME_H_
#define ZENTROVA_GUI_QT_INFORME_H_

// TInforme: the window titled "Informe de la conversión" that shows what a run did, the view
// of a report::RunReport: the summary lines first, the whole report below, a button that saves
// it as a text file and one that closes the window. Shown modally.

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "report/run_report.h"

namespace zentrova::gui {

class TInforme : public QDialog {
  Q_OBJECT

 public:
  TInforme(report::RunReport report, QWidget* owner = nullptr);
  ~TInforme() override;

  // Whether the platform's own file dialog may be used (tests drive Qt's dialog instead).
  void set_native_dialogs(bool native) { native_dialogs_ = native; }

 private:
  // Asks where, then saves the report there as a text file (report::WriteReportFile); a file
  // that cannot be written is reported and the window stays.
  void BGuardarClick();

  report::RunReport report_;
  bool native_dialogs_ = true;

  QLabel* LabelResumen;
  QPlainTextEdit* MemoInforme;
  QPushButton* BGuardar;
  QPushButton* BCerrar;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_QT_INFORME_H_
