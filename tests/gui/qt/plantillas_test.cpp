// TPlantillas, the time-frame dialog: its controls, the frame details, the selection in list
// order, the messages, the close box, and the way out when there is nothing to choose.

#include "gui/qt/plantillas.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/qt/qt_host.h"
#include "gui/view_fixtures.h"
#include "modal_answers.h"
#include "support/temp_folder.h"

namespace zentrova::testing {
namespace {

// A dialog over an export file, shown (not modally) so that a test can work it.
struct Dialog {
  Dialog(const std::vector<Frame>& frames, const std::vector<Slot>& slots) {
    WriteFile(file(), BuildExport(frames, slots));
    Show();
  }
  explicit Dialog(std::filesystem::path missing) : export_file(std::move(missing)) { Show(); }
  void Show() {
    dialog = std::make_unique<gui::TPlantillas>(export_file.empty() ? file() : export_file);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
  }
  std::filesystem::path file() const { return folder / "export.xml"; }
  template <typename T>
  T* Find(const char* name) const {
    return dialog->findChild<T*>(QString::fromLatin1(name));
  }
  QString Text(const char* label) const { return Find<QLabel>(label)->text(); }
  QListWidget* frames() const { return Find<QListWidget>("ListBox2"); }
  QStringList Items(const char* list) const {
    QStringList items;
    auto* widget = Find<QListWidget>(list);
    for (int i = 0; i < widget->count(); ++i) items << widget->item(i)->text();
    return items;
  }
  // Closes the dialog with the button (or the close box), answering the message it shows.
  void Close(bool close_box = false, ModalAnswers* answers = nullptr) {
    if (close_box) {
      dialog->close();
    } else {
      Find<QPushButton>("BitBtnContinuar")->click();
    }
    if (answers != nullptr) QVERIFY(QTest::qWaitFor([&] { return answers->done(); }));
    QVERIFY(!dialog->isVisible());
  }

  TempFolder folder;
  std::filesystem::path export_file;
  std::unique_ptr<gui::TPlantillas> dialog;
};

QString Field(const char* code) { return QString::fromLatin1(code).leftJustified(10, u' ', true); }

}  // namespace

class PlantillasTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void ControlsAsTheTableGivesThem();
  void OpensWithTheFirstFrameShownAndNothingSelected();
  void ClickShowsTheFrameLastClicked();
  void TheWholeNameIsTheLabelsTooltip();
  void SelectionComesInListOrder();
  void ShiftClickSelectsARange();
  void CodesFillFieldsOfTenCharacters_data();
  void CodesFillFieldsOfTenCharacters();
  void InvalidChoicesShowTheirMessage_data();
  void InvalidChoicesShowTheirMessage();
  void CloseBoxAndEscapeAnswerAsTheButton();
  void NothingToChooseOffersAWayOut_data();
  void NothingToChooseOffersAWayOut();
  void HostShowsTheDialogModally();
};

void PlantillasTest::ControlsAsTheTableGivesThem() {
  Dialog d(kFrames, kSlots);
  QCOMPARE(d.dialog->windowTitle(), QStringLiteral("Planillas, Marcos o Jornadas Horarias"));
  QCOMPARE(d.dialog->size(), QSize(370, 281));
  QVERIFY(d.dialog->windowFlags() & Qt::WindowCloseButtonHint);
  QVERIFY(!(d.dialog->windowFlags() & Qt::WindowMinimizeButtonHint));
  QVERIFY(!(d.dialog->windowFlags() & Qt::WindowMaximizeButtonHint));
  QCOMPARE(d.Find<QWidget>("Draw3D4")->geometry(), QRect(0, 0, 369, 281));

  const QColor maroon(128, 0, 0);
  struct Label {
    const char* name;
    QRect geometry;
    QString text;
    int pixels;
    bool italic, underline, wrap;
    QColor colour;
  };
  for (const Label& label : {
           Label{"LabelPlantillas", QRect(16, 2, 321, 33),
                 QStringLiteral("Seleccione 1, o los 2 Marcos Horarios que quiere aplicar a su "
                                "Horario en Orbelin."),
                 13, false, false, true, Qt::black},
           Label{"LabelSelec", QRect(16, 36, 321, 50),
                 QString::fromUtf8("Para seleccionar mas de un Marco Horario, mantenga (Ctrl) "
                                   "pulsado y seleccione cada marco con 1 click del botón "
                                   "izquierdo del ratón."),
                 13, true, false, true, QColor(255, 0, 0)},
           Label{"LabelMarcos", QRect(40, 86, 74, 16), QStringLiteral("MARCOS"), 16, false, false,
                 false, maroon},
           Label{"Label1", QRect(215, 86, 67, 18), QStringLiteral("HORAS"), 16, false, false, false,
                 maroon},
           Label{"LabelNombre", QRect(9, 151, 120, 41), QString::fromUtf8("Jornada de mañana"), 16,
                 false, true, true, maroon},
           Label{"LabelPlanFec1", QRect(9, 196, 120, 23), QStringLiteral("01/09/2024"), 16, false,
                 false, false, maroon},
           Label{"LabelPlanFec2", QRect(9, 226, 120, 23), QStringLiteral("30/06/2025"), 16, false,
                 false, false, maroon},
       }) {
    auto* widget = d.Find<QLabel>(label.name);
    QVERIFY2(widget != nullptr, label.name);
    QCOMPARE(widget->parentWidget()->objectName(), QStringLiteral("Draw3D4"));
    QCOMPARE(widget->geometry(), label.geometry);
    QCOMPARE(widget->text(), label.text);
    QCOMPARE(widget->font().pixelSize(), label.pixels);
    QVERIFY(widget->font().bold());
    QCOMPARE(widget->font().italic(), label.italic);
    QCOMPARE(widget->font().underline(), label.underline);
    QCOMPARE(widget->wordWrap(), label.wrap);
    QCOMPARE(widget->palette().color(QPalette::WindowText), label.colour);
    QVERIFY(widget->isVisible());
  }

  QCOMPARE(d.frames()->geometry(), QRect(16, 103, 127, 45));
  QCOMPARE(d.frames()->selectionMode(), QAbstractItemView::ExtendedSelection);
  auto* slots = d.Find<QListWidget>("ListBox1");
  QCOMPARE(slots->geometry(), QRect(152, 103, 193, 146));
  QCOMPARE(slots->selectionMode(), QAbstractItemView::SingleSelection);
  QCOMPARE(d.frames()->visualItemRect(d.frames()->item(0)).height(), 13);

  auto* combo = d.Find<QComboBox>("ComboBoxPlantilla");
  QCOMPARE(combo->geometry(), QRect(150, 254, 81, 21));
  QVERIFY(!combo->isVisible());
  QCOMPARE(combo->count(), 3);
  QCOMPARE(combo->currentText(), QStringLiteral("X"));

  auto* button = d.Find<QPushButton>("BitBtnContinuar");
  QCOMPARE(button->geometry(), QRect(255, 253, 89, 25));
  QCOMPARE(button->text(), QStringLiteral("Continuar"));
  QVERIFY(button->font().bold());
  QVERIFY(!button->icon().isNull());
  QCOMPARE(d.dialog->focusWidget(), button);  // first in the tab order
  QVERIFY(!d.Find<QPushButton>("BitBtnTerminar")->isVisible());
}

void PlantillasTest::OpensWithTheFirstFrameShownAndNothingSelected() {
  Dialog d(kFrames, kSlots);
  QCOMPARE(d.Items("ListBox2"), (QStringList{"X", "Y", "Z"}));
  QVERIFY(d.frames()->selectedItems().isEmpty());
  QCOMPARE(d.Text("LabelNombre"), QString::fromUtf8("Jornada de mañana"));
  QCOMPARE(d.Items("ListBox1"),
           (QStringList{QString::fromUtf8("1ª mañana"), QString::fromUtf8("2ª mañana"),
                        QString::fromUtf8("3ª mañana")}));
}

void PlantillasTest::ClickShowsTheFrameLastClicked() {
  Dialog d(kFrames, kSlots);
  ClickRow(d.frames(), 1);
  QCOMPARE(d.Text("LabelNombre"), QStringLiteral("Jornada de tarde"));
  QCOMPARE(d.Text("LabelPlanFec1"), QStringLiteral("01/09/2024"));
  QCOMPARE(d.Text("LabelPlanFec2"), QStringLiteral("31/05/2025"));
  QCOMPARE(d.Items("ListBox1"), QStringList{QString::fromUtf8("1ª tarde")});
  QCOMPARE(d.Find<QComboBox>("ComboBoxPlantilla")->currentText(), QStringLiteral("Y"));

  ClickRow(d.frames(), 2, Qt::ControlModifier);
  QCOMPARE(d.Text("LabelNombre"), QStringLiteral("Jornada de verano"));
  // Deselecting a frame still shows its details.
  ClickRow(d.frames(), 1, Qt::ControlModifier);
  QVERIFY(!d.frames()->item(1)->isSelected());
  QCOMPARE(d.Text("LabelNombre"), QStringLiteral("Jornada de tarde"));
  QCOMPARE(d.Items("ListBox1"), QStringList{QString::fromUtf8("1ª tarde")});
}

// LabelNombre keeps its size and shows three lines of a long name at most; the whole name is
// its tooltip, for the frame shown.
void PlantillasTest::TheWholeNameIsTheLabelsTooltip() {
  std::vector<Frame> frames = kFrames;
  frames[1].name = "Jornada ordinaria de mañana";
  Dialog d(frames, kSlots);
  auto* label = d.Find<QLabel>("LabelNombre");
  QCOMPARE(label->toolTip(), QString::fromUtf8("Jornada de mañana"));
  ClickRow(d.frames(), 1);
  const QString name = QString::fromStdString(frames[1].name);
  QCOMPARE(label->text(), name);
  QCOMPARE(label->toolTip(), name);
  QCOMPARE(label->geometry(), QRect(9, 151, 120, 41));
  // The name needs more lines than the label has.
  QVERIFY(label->heightForWidth(label->width()) > label->height());
}

void PlantillasTest::SelectionComesInListOrder() {
  Dialog d(kFrames, kSlots);
  ClickRow(d.frames(), 2);                       // Z
  ClickRow(d.frames(), 0, Qt::ControlModifier);  // then X
  d.Close();
  QVERIFY(d.dialog->answer().valid);
  QVERIFY(!d.dialog->answer().abandon);
  QCOMPARE(QString::fromStdU16String(d.dialog->answer().resultado), Field("X") + Field("Z"));
}

void PlantillasTest::ShiftClickSelectsARange() {
  Dialog d(kFrames, kSlots);
  ClickRow(d.frames(), 1);
  ClickRow(d.frames(), 2, Qt::ShiftModifier);
  d.Close();
  QVERIFY(d.dialog->answer().valid);
  QCOMPARE(QString::fromStdU16String(d.dialog->answer().resultado), Field("Y") + Field("Z"));
}

void PlantillasTest::CodesFillFieldsOfTenCharacters_data() {
  QTest::addColumn<QString>("code");
  QTest::addColumn<QString>("resultado");
  QTest::newRow("one letter") << "M"
                              << "M         ";
  QTest::newRow("twelve characters") << "ABCDEFGHIJKL"
                                     << "ABCDEFGHIJ";
  QTest::newRow("spaces kept") << " T 2"
                               << " T 2      ";
}

void PlantillasTest::CodesFillFieldsOfTenCharacters() {
  QFETCH(QString, code);
  QFETCH(QString, resultado);
  Dialog d({{code.toStdString(), "Uno", "a", "b"}, {"OTRO", "Dos", "c", "d"}}, kSlots);
  QCOMPARE(d.frames()->item(0)->text(), code);  // as the export gives it, untrimmed
  ClickRow(d.frames(), 0);
  d.Close();
  QVERIFY(d.dialog->answer().valid);
  QCOMPARE(QString::fromStdU16String(d.dialog->answer().resultado), resultado);
}

void PlantillasTest::InvalidChoicesShowTheirMessage_data() {
  QTest::addColumn<QList<int>>("rows");
  QTest::addColumn<QString>("message");
  QTest::newRow("none") << QList<int>{}
                        << QStringLiteral("Debe al menos seleccionar 1 Marco Horario.");
  QTest::newRow("three") << QList<int>{0, 1, 2}
                         << QString::fromUtf8(
                                "Demasiados Marcos Horarios seleccionados.\n"
                                "Como máximo puede seleccionar 2 Marcos Horarios");
}

void PlantillasTest::InvalidChoicesShowTheirMessage() {
  QFETCH(QList<int>, rows);
  QFETCH(QString, message);
  Dialog d(kFrames, kSlots);
  bool first = true;
  for (int row : rows) {
    ClickRow(d.frames(), row, first ? Qt::NoModifier : Qt::ControlModifier);
    first = false;
  }
  ModalAnswers answers;
  answers.Then(PressOk());
  d.Close(false, &answers);
  QCOMPARE(answers.seen(), QStringList{QStringLiteral("QMessageBox: ") + message});
  QVERIFY(!d.dialog->answer().valid);
  QVERIFY(!d.dialog->answer().abandon);
}

void PlantillasTest::CloseBoxAndEscapeAnswerAsTheButton() {
  for (bool escape : {false, true}) {
    Dialog d(kFrames, kSlots);
    ClickRow(d.frames(), 1);
    if (escape) {
      QTest::keyClick(d.dialog.get(), Qt::Key_Escape);
      QVERIFY(!d.dialog->isVisible());
    } else {
      d.Close(/*close_box=*/true);
    }
    QVERIFY(d.dialog->answer().valid);
    QCOMPARE(QString::fromStdU16String(d.dialog->answer().resultado), Field("Y"));
  }
  // With nothing chosen the close box gives the same message as the button.
  Dialog d(kFrames, kSlots);
  ModalAnswers answers;
  answers.Then(PressOk());
  d.Close(/*close_box=*/true, &answers);
  QCOMPARE(answers.seen(),
           QStringList{QStringLiteral("QMessageBox: Debe al menos seleccionar 1 Marco Horario.")});
  QVERIFY(!d.dialog->answer().valid);
}

void PlantillasTest::NothingToChooseOffersAWayOut_data() {
  QTest::addColumn<bool>("file_exists");
  QTest::addColumn<bool>("close_box");
  QTest::addColumn<QString>("says");
  QTest::newRow("file gone, Terminar") << false << false << "No se puede leer de nuevo el archivo";
  QTest::newRow("file gone, close box") << false << true << "No se puede leer de nuevo el archivo";
  QTest::newRow("a single frame left") << true << false << "ya no tiene dos o más marcos";
}

void PlantillasTest::NothingToChooseOffersAWayOut() {
  QFETCH(bool, file_exists);
  QFETCH(bool, close_box);
  QFETCH(QString, says);
  TempFolder folder;
  const auto file = folder / "export.xml";
  if (file_exists) WriteFile(file, BuildExport({kFrames[0]}, kSlots));
  Dialog d(file);

  auto* notice = d.Find<QLabel>("LabelAviso");
  QVERIFY(notice->isVisible());
  QVERIFY2(notice->text().contains(says), qPrintable(notice->text()));
  QVERIFY(notice->text().contains(QString::fromStdU16String(file.u16string())));
  QVERIFY(notice->text().contains(QString::fromUtf8("«Terminar»")));
  auto* terminar = d.Find<QPushButton>("BitBtnTerminar");
  QVERIFY(terminar->isVisible());
  QCOMPARE(terminar->text(), QStringLiteral("Terminar"));
  QVERIFY(!d.Find<QPushButton>("BitBtnContinuar")->isEnabled());
  QVERIFY(!d.frames()->isVisible());

  ModalAnswers answers;  // no message: the way out closes at once
  if (close_box) {
    d.dialog->close();
  } else {
    terminar->click();
  }
  QVERIFY(!d.dialog->isVisible());
  QVERIFY(answers.seen().isEmpty());
  QVERIFY(d.dialog->answer().abandon);
}

void PlantillasTest::HostShowsTheDialogModally() {
  TempFolder folder;
  WriteFile(folder / "export.xml", BuildExport(kFrames, kSlots));
  QWidget window;
  gui::QtHost host(&window, nullptr, nullptr);
  ModalAnswers answers;
  answers.Then(ChooseFrames({1}));
  xml::Document loaded;  // the run's document, which the dialog reads while the file stays
  loaded.Load(folder / "export.xml");
  const app::FrameAnswer answer = host.ChooseTimeFrames(folder / "export.xml", loaded);
  QCOMPARE(answers.seen(), QStringList{QStringLiteral("zentrova::gui::TPlantillas")});
  QVERIFY(answer.valid);
  QCOMPARE(QString::fromStdU16String(answer.resultado), Field("Y"));
}

}  // namespace zentrova::testing

QTEST_MAIN(zentrova::testing::PlantillasTest)
#include "plantillas_test.moc"
