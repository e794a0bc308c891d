// TInforme, the report window: what it shows first and below, saving the report as a text
// file (and a file that cannot be written), and closing.

#include "gui/qt/informe.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "gui/view_fixtures.h"
#include "modal_answers.h"
#include "report/run_report.h"
#include "support/temp_folder.h"

namespace zentrova::testing {
namespace {

struct Window {
  Window() : report(SomeReport(folder / "centro.xml")) {
    window = std::make_unique<gui::TInforme>(report);
    window->set_native_dialogs(false);
    // Shown without waiting, so that a test can work it.
    window->setWindowModality(Qt::NonModal);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  template <typename T>
  T* Find(const char* name) const {
    return window->findChild<T*>(QString::fromLatin1(name));
  }

  TempFolder folder;
  report::RunReport report;
  std::unique_ptr<gui::TInforme> window;
};

}  // namespace

class InformeTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void TheSummaryFirstThenTheWholeReport();
  void SavesTheReportAsATextFile();
  void AFileThatCannotBeWrittenIsReported();
};

void InformeTest::TheSummaryFirstThenTheWholeReport() {
  Window w;
  QCOMPARE(w.window->windowTitle(), QString::fromUtf8("Informe de la conversión"));
  QCOMPARE(w.Find<QLabel>("LabelResumen")->text(),
           QString::fromUtf8("La conversión ha terminado con estas novedades:\n"
                             "• 2 lecciones no se escriben: su profesor no está en PROFT.\n"
                             "• 1 lección va sin unidad: su grupo no está en GRUPOST."));
  auto* memo = w.Find<QPlainTextEdit>("MemoInforme");
  QVERIFY(memo->isReadOnly());
  QCOMPARE(memo->toPlainText(), QString::fromStdU16String(report::ReportText(w.report)));
  // The summary stands above the details, the buttons below both.
  QVERIFY(w.Find<QLabel>("LabelResumen")->geometry().bottom() < memo->geometry().top());
  auto* close = w.Find<QPushButton>("BCerrar");
  QVERIFY(memo->geometry().bottom() < close->geometry().top());
  QVERIFY(close->isDefault());
  QCOMPARE(w.window->focusWidget(), close);
  close->click();
  QVERIFY(!w.window->isVisible());
}

void InformeTest::SavesTheReportAsATextFile() {
  Window w;
  const auto file = w.folder / "informe guardado.txt";
  QString suggested;
  ModalAnswers answers;
  answers.Then(Before(
      [&](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        QVERIFY(dialog != nullptr);
        suggested = dialog->directory().filePath(dialog->selectedFiles().value(0));
      },
      SaveAs(file)));
  w.Find<QPushButton>("BGuardar")->click();
  QVERIFY(QTest::qWaitFor([&] { return answers.done(); }));
  QCOMPARE(ReadFile(file), report::ReportFileBytes(w.report));
  // Offered beside the export, under the name batch mode would give it.
  QCOMPARE(std::filesystem::path(suggested.toStdU16String()),
           w.folder.path() / report::ReportFileName(w.report));
  QVERIFY(w.window->isVisible());  // saving does not close the window
}

void InformeTest::AFileThatCannotBeWrittenIsReported() {
  Window w;
  const auto file = w.folder / "no-existe" / "informe.txt";
  QString message;
  ModalAnswers answers;
  answers.Then(SaveAs(file))
      .Then(Before(
          [&](QWidget* widget) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            QVERIFY(box != nullptr);
            QCOMPARE(box->icon(), QMessageBox::Critical);
            message = box->text();
          },
          PressOk()));
  w.Find<QPushButton>("BGuardar")->click();
  QVERIFY(QTest::qWaitFor([&] { return answers.done(); }));
  QVERIFY2(message.contains(QString::fromStdU16String(file.u16string())), qPrintable(message));
  QVERIFY(!std::filesystem::exists(file));
  QVERIFY(w.window->isVisible());
}

}  // namespace zentrova::testing

QTEST_MAIN(zentrova::testing::InformeTest)
#include "informe_test.moc"
