// The main window: its controls, the run modes and the result code, the window's side of a
// run (file dialog, message boxes, busy cursor, buttons, error report) and help.

#include "app/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/gradient_panel.h"
#include "app/help_viewer.h"
#include "modal_answers.h"
#include "support/python.h"
#include "support/temp_folder.h"

namespace zentrova::testing {
namespace {

const std::filesystem::path kSample =
    std::filesystem::path(ZENTROVA_SOURCE_DIR) / "data" / "muestra" / "instituto.xml";
const std::filesystem::path kBinNivelex = std::filesystem::path(ZENTROVA_BIN_DIR) / "NIVELEX.DBF";

// A window over a temporary exchange folder, level table and INI file.
struct Window {
  explicit Window(std::vector<std::string> parameters,
                  std::filesystem::path nivelex = kBinNivelex) {
    std::filesystem::create_directory(folder / "ktemp");
    form = std::make_unique<app::TMForm>(
        std::move(parameters), app::RunPaths{folder / "ktemp", std::move(nivelex)}, ini());
    form->host().set_native_dialogs(false);
  }
  std::filesystem::path ini() const { return folder / "Orbelin.ini"; }
  std::filesystem::path ktemp() const { return folder / "ktemp"; }
  template <typename T>
  T* Find(const char* name) const {
    return form->findChild<T*>(QString::fromLatin1(name));
  }

  TempFolder folder;
  std::unique_ptr<app::TMForm> form;
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
};

void MainWindowTest::ControlsAsTheTableGivesThem() {
  Window window({});
  app::TMForm& form = *window.form;
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
    auto* widget = window.Find<app::GradientPanel>(panel.name);
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
  ModalAnswers answers;
  answers.Then(PickFile(kSample)).Then(PressOk());
  window.form->show();
  QVERIFY(Settle(answers));
  QCOMPARE(answers.seen(),
           (QStringList{kFileDialog,
                        Message("ATENCIÓN - NIVELEX.DBF No encontrado - Reinstale ZENTROVA")}));
  QVERIFY(window.form->isVisible());
  QCOMPARE(window.form->state().filenameXML, kSample);
  QVERIFY(std::filesystem::is_empty(window.ktemp()));  // no table touched
  window.form->close();
  QCOMPARE(IniText(window.ini()), QStringLiteral("[Transformadores]\r\nTransformado=0\r\n"));
}

void MainWindowTest::HelpButtonAndF1() {
  Window window({});
  window.form->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.form.get()));
  window.Find<QPushButton>("Button1")->click();
  app::HelpViewer* viewer = app::CurrentHelpViewer();
  QVERIFY(viewer != nullptr);
  QVERIFY(viewer->isVisible());
  QCOMPARE(viewer->source().fileName(), QStringLiteral("indice.html"));
  auto* browser = viewer->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
  QVERIFY(browser->toPlainText().contains(QStringLiteral("NIVELEX")));

  window.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window.form.get()));
  QTest::keyClick(window.Find<QPushButton>("BExportar"), Qt::Key_F1);
  QCOMPARE(app::CurrentHelpViewer()->source().fileName(), QStringLiteral("index.html"));
  app::CurrentHelpViewer()->close();
}

}  // namespace zentrova::testing

QTEST_MAIN(zentrova::testing::MainWindowTest)
#include "main_window_test.moc"
