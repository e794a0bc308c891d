// The main window: its controls, the run modes and the result code, the window's side of a
// run (file dialog, message boxes, busy cursor, buttons, error report) and help.

#include "gui/qt/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gui/qt/gradient_panel.h"
#include "gui/qt/help_viewer.h"
#include "gui/qt/translation.h"
#include "gui/view_fixtures.h"
#include "import/level_table.h"
#include "modal_answers.h"
#include "support/python.h"
#include "support/report_files.h"
#include "support/temp_folder.h"

namespace zentrova::testing {
namespace {

// A window over a temporary exchange folder, level table and INI file.
struct Window {
  // The level table is written beside the INI file unless `nivelex` names another.
  explicit Window(std::vector<std::string> parameters, std::filesystem::path nivelex = {},
                  std::filesystem::path ktemp = {}) {
    std::filesystem::create_directory(folder / "ktemp");
    if (nivelex.empty()) {
      nivelex = folder / "NIVELEX.DBF";
      WriteLevelTable(nivelex);
    }
    if (ktemp.empty()) ktemp = folder / "ktemp";
    form = std::make_unique<gui::TMForm>(
        std::move(parameters), app::RunPaths{std::move(ktemp), std::move(nivelex)}, ini());
    form->host().set_native_dialogs(false);
  }
  std::filesystem::path ini() const { return folder / "Orbelin.ini"; }
  std::filesystem::path ktemp() const { return form->state().paths.ktemp; }
  // The sample export, copied so that results written beside it stay in the test's folder.
  std::filesystem::path CopySample() const {
    const auto copy = folder / "instituto.xml";
    std::filesystem::copy_file(kSample, copy, std::filesystem::copy_options::overwrite_existing);
    return copy;
  }
  bool DirectionButtonsEnabled() const {
    const bool exportar = Find<QPushButton>("BExportar")->isEnabled();
    const bool importar = Find<QPushButton>("BImportar")->isEnabled();
    if (exportar != importar) QTest::qFail("the direction buttons differ", __FILE__, __LINE__);
    return exportar;
  }
  template <typename T>
  T* Find(const char* name) const {
    return form->findChild<T*>(QString::fromLatin1(name));
  }

  TempFolder folder;
  std::unique_ptr<gui::TMForm> form;
};

// Lets the window's zero timer and the modal loops run until `answers` are all given and
// nothing modal is left open.
bool Settle(const ModalAnswers& answers, int timeout_ms = 60000) {
  return QTest::qWaitFor(
      [&] { return answers.done() && QApplication::activeModalWidget() == nullptr; }, timeout_ms);
}

void ProcessPendingEvents() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

QString IniText(const std::filesystem::path& ini) {
  return std::filesystem::exists(ini) ? QString::fromUtf8(ReadFile(ini).c_str())
                                      : QStringLiteral("<none>");
}

QString Message(const char* text) {
  return QStringLiteral("QMessageBox: ") + QString::fromUtf8(text);
}

const QString kFileDialog =
    QStringLiteral("QFileDialog: Seleccionar Archivo XML obtenido de VETRANA");
const QString kReportWindow = QStringLiteral("zentrova::gui::TInforme");

// The one report a batch run of `direction` left beside `export_file`, as text (CRLF line
// ends); an empty text and a failure when there is not exactly one.
QString ReportBeside(const std::filesystem::path& export_file, const std::string& direction) {
  const std::vector<std::filesystem::path> reports = ReportsBeside(export_file, direction);
  if (reports.size() != 1) {
    QTest::qFail("not one report beside the export", __FILE__, __LINE__);
    return {};
  }
  return QString::fromStdString(ReportText(reports.front()));
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void ControlsAsTheTableGivesThem();
  void ParameterCases_data();
  void ParameterCases();
  void InteractiveCancelStopsWithButtonsEnabled();
  void MissingLevelTableInBatchModeKeepsTheWindowOpen();
  void HelpButtonAndF1();
  void FirstDirectionInBatchMode();
  void AUtf16OrbelinIniReadsTheResultOfABatchRun();
  void AnOrbelinIniThatCannotBeReadIsReportedAtClosing();
  void FrameDialogShownAgainAfterAnInvalidChoice();
  void FrameDialogWayOutEndsTheRun();
  void ErrorEscapingARunIsReported();
  void SecondDirectionAfterTheFirst();
  void TheReportWindowAfterARunWithFindings();
  void AConversionACrashInterruptedIsCompletedAtStart();
  void QtsOwnTextsAreSpanish();
  void EnterPressesTheFocusedButton();
  void TheFirstFileDialogOpensInTheDocuments();
};

void MainWindowTest::ControlsAsTheTableGivesThem() {
  Window window({});
  gui::TMForm& form = *window.form;
  QCOMPARE(form.objectName(), QStringLiteral("MForm"));
  QCOMPARE(form.windowTitle(), QStringLiteral("Exportar e importar datos entre Orbelin y Vetrana"));
  QCOMPARE(form.size(), QSize(632, 266));
  QCOMPARE(form.minimumSize(), QSize(632, 266));
  QCOMPARE(form.maximumSize(), QSize(632, 266));
  QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));

  struct Panel {
    const char* name;
    QRect geometry;
    QColor top, middle, bottom;
  };
  const QColor upper_top(249, 211, 125), upper_bottom(255, 238, 221);
  for (const Panel& panel : {
           Panel{"Draw3D2", QRect(1, 0, 315, 169), upper_top, Qt::white, upper_bottom},
           Panel{"Draw3D3", QRect(316, 0, 317, 169), upper_top, Qt::white, upper_bottom},
           Panel{"Draw3D1", QRect(0, 168, 633, 97), QColor(194, 205, 254), QColor(207, 242, 254),
                 QColor(204, 216, 230)},
       }) {
    auto* widget = window.Find<gui::GradientPanel>(panel.name);
    QVERIFY2(widget != nullptr, panel.name);
    QCOMPARE(widget->parentWidget(), &form);
    QCOMPARE(widget->geometry(), panel.geometry);
    QCOMPARE(widget->top(), panel.top);
    QCOMPARE(widget->middle(), panel.middle);
    QCOMPARE(widget->bottom(), panel.bottom);
  }

  struct Label {
    const char* name;
    const char* panel;
    QString text;
    QRect geometry;
  };
  for (const Label& label : {
           Label{"Label3", "Draw3D2",
                 QStringLiteral("Transformar datos desde Vetrana hacia Orbelin "),
                 QRect(24, 24, 265, 57)},
           Label{"Label4", "Draw3D3",
                 QStringLiteral("Transformar datos desde Orbelin hacia Vetrana"),
                 QRect(8, 24, 305, 57)},
       }) {
    auto* widget = window.Find<QLabel>(label.name);
    QVERIFY2(widget != nullptr, label.name);
    QCOMPARE(widget->parentWidget()->objectName(), QString::fromLatin1(label.panel));
    QCOMPARE(widget->text(), label.text);
    QCOMPARE(widget->geometry(), label.geometry);
    QVERIFY(widget->wordWrap());
    const QFont font = widget->font();
    QVERIFY2(font.family() == QStringLiteral("Arial") ||
                 font.family() == QStringLiteral("Liberation Sans"),
             qPrintable(font.family()));
    QCOMPARE(QFontInfo(font).family(), font.family());  // the font is really there
    QCOMPARE(font.pixelSize(), 16);
    QVERIFY(font.bold());
  }

  struct Button {
    const char* name;
    const char* panel;
    QString text;
    QRect geometry;
    bool glyph;
  };
  for (const Button& button : {
           Button{"BExportar", "Draw3D2", QStringLiteral("OK"), QRect(96, 120, 89, 25), true},
           Button{"BImportar", "Draw3D3", QStringLiteral("OK"), QRect(96, 120, 89, 25), true},
           Button{"BClose", "Draw3D1", QStringLiteral("&Salir"), QRect(256, 32, 89, 25), true},
           Button{"Button1", "Draw3D1", QStringLiteral("F1 Ayuda"), QRect(264, 64, 75, 25), false},
       }) {
    auto* widget = window.Find<QPushButton>(button.name);
    QVERIFY2(widget != nullptr, button.name);
    QCOMPARE(widget->parentWidget()->objectName(), QString::fromLatin1(button.panel));
    QCOMPARE(widget->text(), button.text);
    QCOMPARE(widget->geometry(), button.geometry);
    QCOMPARE(!widget->icon().isNull(), button.glyph);
    QVERIFY(widget->isEnabled());
  }
  // The glyphs are the style's own OK and close glyphs.
  const QStyle* style = form.style();
  QCOMPARE(window.Find<QPushButton>("BExportar")->icon().pixmap(16).toImage(),
           style->standardIcon(QStyle::SP_DialogOkButton).pixmap(16).toImage());
  QCOMPARE(window.Find<QPushButton>("BClose")->icon().pixmap(16).toImage(),
           style->standardIcon(QStyle::SP_DialogCloseButton).pixmap(16).toImage());

  // S is the access key of BClose, which closes the window.
  auto* close_button = window.Find<QPushButton>("BClose");
  QCOMPARE(QKeySequence::mnemonic(close_button->text()), QKeySequence(Qt::ALT | Qt::Key_S));
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  close_button->click();
  QVERIFY(!form.isVisible());
}

void MainWindowTest::ParameterCases_data() {
  QTest::addColumn<QStringList>("parameters");
  QTest::addColumn<QStringList>("modal_windows");  // what the user sees, in order
  QTest::addColumn<bool>("closes_itself");
  QTest::addColumn<QString>("transformado");  // the key after closing, "<none>": no file written

  const QString no_file = Message("No existe archivo");
  QTest::newRow("EXPORTAR x, dialog cancelled")
      << QStringList{"EXPORTAR", "x"} << QStringList{kFileDialog, no_file} << true << "-1";
  QTest::newRow("importar x, dialog cancelled")
      << QStringList{"importar", "x"} << QStringList{kFileDialog, no_file} << true << "-1";
  QTest::newRow("exportar alone") << QStringList{"exportar"} << QStringList{} << false << "<none>";
  QTest::newRow("three parameters")
      << QStringList{"exportar", "x", "y"} << QStringList{} << false << "<none>";
  QTest::newRow("unknown word") << QStringList{"otra", "x"} << QStringList{} << false << "0";
}

void MainWindowTest::ParameterCases() {
  QFETCH(QStringList, parameters);
  QFETCH(QStringList, modal_windows);
  QFETCH(bool, closes_itself);
  QFETCH(QString, transformado);

  std::vector<std::string> arguments;
  for (const QString& parameter : parameters) arguments.push_back(parameter.toStdString());
  Window window(arguments);
  // Another program's sections stay as they are.
  const std::string others = "; ajustes de Orbelin\r\n[Orbelin]\r\nCarpeta=C:\\KTEMP\r\n";
  WriteFile(window.ini(), others);

  ModalAnswers answers;
  if (!modal_windows.isEmpty()) answers.Then(CancelFile()).Then(PressOk());
  window.form->show();
  QVERIFY(Settle(answers));
  ProcessPendingEvents();
  QCOMPARE(answers.seen(), modal_windows);
  QCOMPARE(window.form->isVisible(), !closes_itself);
  if (!closes_itself) {
    QVERIFY(window.Find<QPushButton>("BExportar")->isEnabled());
    window.form->close();
  }

  const QString text = IniText(window.ini());
  if (transformado == QStringLiteral("<none>")) {
    QCOMPARE(text, QString::fromStdString(others));
    return;
  }
  QVERIFY2(text.contains(QStringLiteral("; ajustes de Orbelin\r\n")), qPrintable(text));
  QVERIFY2(text.contains(QStringLiteral("[Orbelin]\r\nCarpeta=C:\\KTEMP\r\n")), qPrintable(text));
  QVERIFY2(text.contains(QStringLiteral("[Transformadores]\r\nTransformado=") + transformado +
                         QStringLiteral("\r\n")),
           qPrintable(text));
}

void MainWindowTest::InteractiveCancelStopsWithButtonsEnabled() {
  Window window({});
  window.form->show();
  ModalAnswers answers;
  answers.Then(CancelFile()).Then(PressOk());
  window.Find<QPushButton>("BExportar")->click();
  QVERIFY(Settle(answers));
  QCOMPARE(answers.seen(), (QStringList{kFileDialog, Message("No existe archivo")}));
  QVERIFY(window.form->isVisible());
  QCOMPARE(window.form->state().resultCode, 0);
  QVERIFY(window.Find<QPushButton>("BExportar")->isEnabled());
  QVERIFY(window.Find<QPushButton>("BImportar")->isEnabled());
  QVERIFY(QApplication::overrideCursor() == nullptr);
  window.form->close();
  QVERIFY(!std::filesystem::exists(window.ini()));
}

void MainWindowTest::MissingLevelTableInBatchModeKeepsTheWindowOpen() {
  Window window({"exportar", "x"}, std::filesystem::path("/no/existe/NIVELEX.DBF"));
  const auto export_file = window.CopySample();
  ModalAnswers answers;
  answers.Then(PickFile(export_file)).Then(PressOk());
  window.form->show();
  QVERIFY(Settle(answers));
  QCOMPARE(answers.seen(),
           (QStringList{kFileDialog,
                        Message("ATENCIÓN - NIVELEX.DBF No encontrado - Reinstale ZENTROVA\n"
                                "Se ha buscado en «/no/existe/NIVELEX.DBF».")}));
  QVERIFY(window.form->isVisible());
  QCOMPARE(window.form->state().filenameXML, export_file);
  QVERIFY(std::filesystem::is_empty(window.ktemp()));  // no table touched
  // The report beside the export says why the run stopped.
  const QString report = ReportBeside(export_file, "exportar");
  QVERIFY2(report.contains(QString::fromUtf8(
               "Resultado: ATENCIÓN - NIVELEX.DBF No encontrado - Reinstale ZENTROVA\r\n")),
           qPrintable(report));
  window.form->close();
  QCOMPARE(IniText(window.ini()), QStringLiteral("[Transformadores]\r\nTransformado=0\r\n"));
}

void MainWindowTest::HelpButtonAndF1() {
  Window window({});
  window.form->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.form.get()));
  window.Find<QPushButton>("Button1")->click();
  gui::HelpViewer* viewer = gui::CurrentHelpViewer();
  QVERIFY(viewer != nullptr);
  QVERIFY(viewer->isVisible());
  QCOMPARE(viewer->source().fileName(), QStringLiteral("indice.html"));
  // Over the window that opened it.
  QVERIFY(
      (viewer->frameGeometry().center() - window.form->frameGeometry().center()).manhattanLength() <
      8);
  auto* browser = viewer->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
  QVERIFY(browser->toPlainText().contains(QStringLiteral("NIVELEX")));

  window.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window.form.get()));
  QTest::keyClick(window.Find<QPushButton>("BExportar"), Qt::Key_F1);
  QCOMPARE(gui::CurrentHelpViewer()->source().fileName(), QStringLiteral("index.html"));
  gui::CurrentHelpViewer()->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(gui::CurrentHelpViewer()));
  QTest::keyClick(gui::CurrentHelpViewer(), Qt::Key_Escape);  // Escape closes it
  QTRY_VERIFY(gui::CurrentHelpViewer() == nullptr);
}

// Row counts of the tables the first direction writes, read with python3-dbfread.
QString TableRows(const std::filesystem::path& ktemp) {
  const auto result = RunPython(R"(
import sys, os
from dbfread import DBF
for name in ['ASIGNOMT', 'PROFT', 'AULAT', 'CURSOST', 'GRUPOST', 'ASIGT', 'DIASHORAST',
             'PERIODOS']:
    print(name, len(list(DBF(os.path.join(sys.argv[1], name + '.DBF'), encoding='cp1252'))))
)",
                                {ktemp.string()});
  if (result.exit_code != 0) return QString::fromStdString(result.err);
  return QString::fromStdString(result.out);
}

// The busy cursor is on while the time-frame dialog waits, with the normal cursor over it.
ModalAnswers::Answer BusyUnderTheDialog(gui::TMForm& form, ModalAnswers::Answer answer) {
  return Before(
      [&form](QWidget*) {
        QVERIFY(form.host().busy());
        QVERIFY(QApplication::overrideCursor() != nullptr);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
      },
      std::move(answer));
}

void MainWindowTest::FirstDirectionInBatchMode() {
  Window window({"EXPORTAR", "x"});
  const auto export_file = window.CopySample();
  ModalAnswers answers;
  answers.Then(PickFile(export_file))
      .Then(BusyUnderTheDialog(*window.form, ChooseFrames({0, 1})))
      .Then(PressOk());
  window.form->show();
  QVERIFY(Settle(answers));
  QCOMPARE(answers.seen(), (QStringList{kFileDialog, QStringLiteral("zentrova::gui::TPlantillas"),
                                        Message("Proceso finalizado")}));
  QVERIFY(!window.form->isVisible());  // closed by the run
  QCOMPARE(window.form->state().resultCode, 1);
  QVERIFY(!window.DirectionButtonsEnabled());
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QCOMPARE(IniText(window.ini()), QStringLiteral("[Transformadores]\r\nTransformado=1\r\n"));
  QCOMPARE(TableRows(window.ktemp()),
           QStringLiteral("ASIGNOMT 31\nPROFT 12\nAULAT 11\nCURSOST 6\nGRUPOST 9\nASIGT 71\n"
                          "DIASHORAST 77\nPERIODOS 2\n"));
  // Batch mode shows no report window: the report is left beside the export, each finding
  // with its record.
  const QString report = ReportBeside(export_file, "exportar");
  for (const char* line :
       {"Resultado: Proceso finalizado\r\n",
        "    Registro 8: ABREV «Gimnas» ya estaba dado: lleva un número detrás, «Gimnas1».\r\n",
        "    Registro 9: ABREV «2º Bachi A» es el mismo código que el del registro 8: la tabla lo "
        "tendrá dos veces.\r\n"}) {
    QVERIFY2(report.contains(QString::fromUtf8(line)), qPrintable(report));
  }
}

// Orbelin.ini in UTF-16 with its byte-order mark, as Windows programs write it: after a
// completed batch run a reader of UTF-16 finds Transformado=1 and the calling program's own
// settings.
void MainWindowTest::AUtf16OrbelinIniReadsTheResultOfABatchRun() {
  Window window({"exportar", "x"});
  std::string bytes;
  for (const char16_t unit : std::u16string(u"\uFEFF[Orbelin]\r\nCarpeta=C:\\KTEMP\r\n"
                                            u"[Transformadores]\r\nTransformado=0\r\n")) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  WriteFile(window.ini(), bytes);
  ModalAnswers answers;
  // A copy: batch mode leaves its report beside the export.
  answers.Then(PickFile(window.CopySample())).Then(ChooseFrames({0})).Then(PressOk());
  window.form->show();
  QVERIFY(Settle(answers));
  QVERIFY(!window.form->isVisible());
  const auto read = RunPython(R"(
import configparser, sys
raw = open(sys.argv[1], 'rb').read()
parser = configparser.ConfigParser(interpolation=None)
parser.read_string(raw.decode('utf-16'))
print(raw[:2].hex(), parser['Orbelin']['Carpeta'], parser['Transformadores']['Transformado'])
)",
                              {window.ini().string()});
  QCOMPARE(QString::fromStdString(read.out), QStringLiteral("fffe C:\\KTEMP 1\n"));
}

// An Orbelin.ini that is a folder: the window says so, naming it, and closes all the same.
void MainWindowTest::AnOrbelinIniThatCannotBeReadIsReportedAtClosing() {
  Window window({"otra", "x"});
  std::filesystem::create_directory(window.ini());
  window.form->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.form.get()));
  QString report;
  ModalAnswers answers;
  answers.Then(Before([&](QWidget* widget) { report = qobject_cast<QMessageBox*>(widget)->text(); },
                      PressOk()));
  window.form->close();
  QVERIFY(Settle(answers));
  QVERIFY(!window.form->isVisible());
  QCOMPARE(report, QString::fromStdString("No se puede leer el archivo de resultado " +
                                          window.ini().string() +
                                          ": no es un archivo normal, sino una carpeta. El código "
                                          "de resultado 0 no se ha escrito."));
}

void MainWindowTest::FrameDialogShownAgainAfterAnInvalidChoice() {
  Window window({});
  window.form->show();
  ModalAnswers answers;
  answers.Then(PickFile(kSample))
      .Then(ChooseFrames({}))
      .Then(PressOk())
      .Then(ChooseFrames({1}))
      .Then(PressOk())
      .Then(CloseReport());
  window.Find<QPushButton>("BExportar")->click();
  QVERIFY(Settle(answers));
  const QString dialog = QStringLiteral("zentrova::gui::TPlantillas");
  QCOMPARE(answers.seen(),
           (QStringList{kFileDialog, dialog, Message("Debe al menos seleccionar 1 Marco Horario."),
                        dialog, Message("Proceso finalizado"), kReportWindow}));
  QCOMPARE(window.form->state().resultCode, 1);
  QVERIFY(!window.DirectionButtonsEnabled());
  // Closing and help still work after a completed run.
  QVERIFY(window.Find<QPushButton>("BClose")->isEnabled());
  QVERIFY(window.Find<QPushButton>("Button1")->isEnabled());
  window.Find<QPushButton>("BClose")->click();
  QVERIFY(!window.form->isVisible());
  QVERIFY(!std::filesystem::exists(window.ini()));
}

void MainWindowTest::FrameDialogWayOutEndsTheRun() {
  Window window({});
  const auto export_file = window.CopySample();
  window.form->show();
  ModalAnswers answers;
  // The export goes away while the user is choosing: the next showing cannot offer a choice.
  answers.Then(PickFile(export_file))
      .Then(Before([&](QWidget*) { std::filesystem::remove(export_file); }, ChooseFrames({})))
      .Then(PressOk())
      .Then([](QWidget* widget) {
        auto* terminar = widget->findChild<QPushButton*>(QStringLiteral("BitBtnTerminar"));
        QVERIFY(terminar != nullptr && terminar->isVisible());
        terminar->click();
      })
      .Then(PressOk());
  window.Find<QPushButton>("BExportar")->click();
  QVERIFY(Settle(answers));
  QCOMPARE(answers.seen().last(),
           Message("Conversión terminada sin elegir los marcos horarios. No se ha modificado "
                   "ninguna tabla."));
  QCOMPARE(window.form->state().resultCode, 0);
  QVERIFY(window.DirectionButtonsEnabled());
  QVERIFY(std::filesystem::is_empty(window.ktemp()));
  QVERIFY(QApplication::overrideCursor() == nullptr);
}

void MainWindowTest::ErrorEscapingARunIsReported() {
  TempFolder elsewhere;
  const auto missing = elsewhere / "no-existe";
  Window window({"exportar", "x"}, {}, missing);
  const auto export_file = window.CopySample();
  QString report;
  ModalAnswers answers;
  // The missing folder is found before the time-frame dialog would be shown.
  answers.Then(PickFile(export_file))
      .Then(Before(
          [&](QWidget* widget) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            QVERIFY(box != nullptr);
            report = box->text();
            QVERIFY2(box->icon() == QMessageBox::Critical, qPrintable(report));
          },
          PressOk()));
  window.form->show();
  QVERIFY(Settle(answers));
  QVERIFY2(report.contains(QString::fromStdU16String(missing.u16string())), qPrintable(report));
  // The program goes on: the window stays open with both buttons, the cursor is normal.
  QVERIFY(window.form->isVisible());
  QVERIFY(window.DirectionButtonsEnabled());
  QVERIFY(!window.form->host().busy());
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QCOMPARE(window.form->state().resultCode, 0);
  // The report beside the export gives the same message.
  QVERIFY(ReportBeside(export_file, "exportar").contains(QStringLiteral("Resultado: ") + report));
  window.form->close();
  QCOMPARE(IniText(window.ini()), QStringLiteral("[Transformadores]\r\nTransformado=0\r\n"));
}

void MainWindowTest::SecondDirectionAfterTheFirst() {
  Window first({});
  const auto export_file = first.CopySample();
  first.form->show();
  {
    ModalAnswers answers;
    answers.Then(PickFile(export_file)).Then(ChooseFrames({0})).Then(PressOk()).Then(CloseReport());
    first.Find<QPushButton>("BExportar")->click();
    QVERIFY(Settle(answers));
    QCOMPARE(first.form->state().resultCode, 1);
  }
  const std::filesystem::path write_soluc =
      std::filesystem::path(ZENTROVA_SOURCE_DIR) / "tests/support/first_lesson_soluc.py";
  const auto soluc = RunPythonFile(write_soluc, {first.ktemp().string()});
  QVERIFY2(soluc.exit_code == 0, soluc.err.c_str());

  // A new start of the program, in batch mode, over the same exchange folder.
  Window second({"importar", "x"}, first.form->state().paths.nivelex, first.ktemp());
  ModalAnswers more;
  more.Then(PickFile(export_file)).Then(PressOk());
  second.form->show();
  QVERIFY2(Settle(more), qPrintable(more.seen().join(u'|')));
  QCOMPARE(more.seen(), (QStringList{kFileDialog, Message("Proceso finalizado")}));
  QVERIFY(!second.form->isVisible());
  QVERIFY(!second.DirectionButtonsEnabled());
  QCOMPARE(IniText(second.ini()), QStringLiteral("[Transformadores]\r\nTransformado=1\r\n"));

  const auto result = first.folder / "ResultadoOrbelininstituto.xml";
  QVERIFY(std::filesystem::exists(result));
  const auto lint = RunCommand("xmllint --noout " + ShellQuote(result.string()));
  QVERIFY2(lint.exit_code == 0, lint.err.c_str());
  QVERIFY(ReadFile(result).find("HORARIO_REGULAR_PROFESOR_") != std::string::npos);
  // The lesson of the timetable goes out whole: a report without findings, left all the same.
  const QString report = ReportBeside(export_file, "importar");
  for (const char* line :
       {"Resultado: Proceso finalizado\r\n", "  Lecciones escritas en el documento: 1.\r\n",
        "  Cada lección se escribe una vez, con todos sus códigos, días y horas.\r\n"}) {
    QVERIFY2(report.contains(QString::fromUtf8(line)), qPrintable(report));
  }
}

void MainWindowTest::TheReportWindowAfterARunWithFindings() {
  Window window({});
  const auto export_file = window.CopySample();
  window.form->show();
  {
    ModalAnswers answers;
    answers.Then(PickFile(export_file)).Then(ChooseFrames({0})).Then(PressOk()).Then(CloseReport());
    window.Find<QPushButton>("BExportar")->click();
    QVERIFY(Settle(answers));
  }
  // A timetable with a lesson of a teacher that PROFT does not have, as row 2.
  const auto soluc = RunPython(
      R"(
import os, subprocess, sys, dbf
k = sys.argv[1]
subprocess.run([sys.executable, sys.argv[2], k], check=True)
table = dbf.Table(os.path.join(k, 'SOLUC.DBF'))
table.open(dbf.READ_WRITE)
first = table[0]
table.append(('NADIE', first['dia'], first['hora'], first['marco'], first['asig'],
              first['codgrupo'], '', ''))
table.close()
)",
      {window.ktemp().string(),
       (std::filesystem::path(ZENTROVA_SOURCE_DIR) / "tests/support/first_lesson_soluc.py")
           .string()});
  QVERIFY2(soluc.exit_code == 0, soluc.err.c_str());

  // The window was not closed, but a second conversion needs a new start of the program.
  Window second({}, window.form->state().paths.nivelex, window.ktemp());
  second.form->show();
  QString summary;
  QString details;
  ModalAnswers answers;
  answers.Then(PickFile(export_file))
      .Then(PressOk())
      .Then(Before(
          [&](QWidget* widget) {
            summary = widget->findChild<QLabel*>(QStringLiteral("LabelResumen"))->text();
            details =
                widget->findChild<QPlainTextEdit*>(QStringLiteral("MemoInforme"))->toPlainText();
          },
          CloseReport()));
  second.Find<QPushButton>("BImportar")->click();
  QVERIFY(Settle(answers));
  QCOMPARE(answers.seen(),
           (QStringList{kFileDialog, Message("Proceso finalizado"), kReportWindow}));
  QVERIFY2(summary.contains(
               QString::fromUtf8("• 1 lección no se escribe: su profesor no está en PROFT.")),
           qPrintable(summary));
  QVERIFY2(details.contains(QString::fromUtf8("  Fila 2: PROF «NADIE» no es el ABREV de ningún "
                                              "profesor de PROFT: la lección no se escribe")),
           qPrintable(details));
  QVERIFY(!second.DirectionButtonsEnabled());
  QVERIFY(second.form->isVisible());
  // Outside batch mode nothing is written beside the export but the result.
  for (const auto& entry : std::filesystem::directory_iterator(window.folder.path())) {
    QVERIFY2(entry.path().filename().string().rfind("InformeZentrova_", 0) != 0,
             entry.path().string().c_str());
  }
}

void MainWindowTest::AConversionACrashInterruptedIsCompletedAtStart() {
  TempFolder folder;
  const auto ktemp = folder / "ktemp";
  std::filesystem::create_directories(ktemp / "ZENTROVA.NUEVO");
  testing::WriteFile(ktemp / "PROFT.DBF", "viejo");
  testing::WriteFile(ktemp / "ZENTROVA.NUEVO" / "PROFT.DBF", "nuevo");
  testing::WriteFile(ktemp / "ZENTROVA.NUEVO" / "ZENTROVA.ID", "5eed0f");
  testing::WriteFile(ktemp / "ZENTROVA.JNL", "ZENTROVA 2\nCARPETA 5eed0f\nMUEVE PROFT.DBF\nFIN\n");
  gui::TMForm form({}, app::RunPaths{ktemp, folder / "NIVELEX.DBF"}, folder / "Orbelin.ini");
  QCOMPARE(QString::fromStdString(ReadFile(ktemp / "PROFT.DBF")), QStringLiteral("nuevo"));
  QVERIFY(!std::filesystem::exists(ktemp / "ZENTROVA.JNL"));
  QVERIFY(!std::filesystem::exists(ktemp / "ZENTROVA.NUEVO"));
}

// The file dialog and the message boxes speak Spanish whatever the desktop's language.
void MainWindowTest::QtsOwnTextsAreSpanish() {
  QVERIFY(gui::InstallSpanishTranslation(*QCoreApplication::instance()));
  Window window({});
  QString look_in;
  QString ok;
  ModalAnswers answers;
  answers.Then(Before(
      [&](QWidget* widget) {
        look_in = widget->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text();
      },
      CancelFile()));
  answers.Then(Before(
      [&](QWidget* widget) {
        ok = qobject_cast<QMessageBox*>(widget)->button(QMessageBox::Ok)->text();
      },
      PressOk()));
  window.Find<QPushButton>("BExportar")->click();
  QVERIFY(Settle(answers));
  QCOMPARE(look_in, QStringLiteral("Ver en:"));
  QCOMPARE(ok, QStringLiteral("Aceptar"));
}

void MainWindowTest::EnterPressesTheFocusedButton() {
  Window window({});
  window.form->show();
  QVERIFY(QTest::qWaitForWindowActive(window.form.get()));
  ModalAnswers answers;
  answers.Then(CancelFile()).Then(PressOk());
  window.Find<QPushButton>("BImportar")->setFocus();
  QTest::keyClick(window.form.get(), Qt::Key_Return);
  QVERIFY(Settle(answers));
  QCOMPARE(answers.seen().first(), kFileDialog);
}

// The first file dialog opens in the user's documents; a later one where the last file was.
void MainWindowTest::TheFirstFileDialogOpensInTheDocuments() {
  TempFolder home;
  std::filesystem::create_directory(home / "Documents");
  const QByteArray old_home = qgetenv("HOME");
  qputenv("HOME", QByteArray::fromStdString(home.path().string()));
  Window window({});
  const auto sample = window.CopySample();
  const auto folder_of = [](QString& folder) {
    return [&folder](QWidget* w) { folder = qobject_cast<QFileDialog*>(w)->directory().path(); };
  };
  QString first_folder;
  QString second_folder;
  // The second direction on a folder without tables ends with an error: only the dialog
  // matters here.
  for (auto& [folder, answer] :
       {std::pair{&first_folder, PickFile(sample)}, std::pair{&second_folder, CancelFile()}}) {
    ModalAnswers answers;
    answers.Then(Before(folder_of(*folder), answer)).Then(PressOk());
    window.Find<QPushButton>("BImportar")->click();
    QVERIFY(Settle(answers));
  }
  qputenv("HOME", old_home);
  QCOMPARE(first_folder, QString::fromStdString((home / "Documents").string()));
  QCOMPARE(second_folder, QString::fromStdString(sample.parent_path().string()));
}

}  // namespace zentrova::testing

QTEST_MAIN(zentrova::testing::MainWindowTest)
#include "main_window_test.moc"
