#include "modal_answers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/qt/informe.h"
#include "gui/qt/plantillas.h"

namespace zentrova::testing {

ModalAnswers::ModalAnswers() {
  // A modal window already open (the dialog a test works itself) is not the script's to
  // answer: when a message it shows closes, it is active again before it goes away itself.
  if (QWidget* open = QApplication::activeModalWidget()) handled_.append(open);
  connect(&timer_, &QTimer::timeout, this, &ModalAnswers::Poll);
  timer_.start(10);
}

ModalAnswers::~ModalAnswers() = default;

ModalAnswers& ModalAnswers::Then(Answer answer) {
  answers_.push_back(std::move(answer));
  return *this;
}

void ModalAnswers::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || !modal->isVisible()) return;
  for (const auto& widget : handled_) {
    if (widget == modal) return;
  }
  handled_.append(modal);
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    seen_.append(QStringLiteral("QMessageBox: ") + box->text());
  } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
    seen_.append(QStringLiteral("QFileDialog: ") + files->windowTitle());
  } else {
    seen_.append(QString::fromLatin1(modal->metaObject()->className()));
  }
  if (answers_.empty()) {
    ++unexpected_;
    modal->close();
    return;
  }
  Answer answer = std::move(answers_.front());
  answers_.pop_front();
  // Answered from a timer of its own: an answer that opens a further modal window (a
  // message at closing) blocks there, and this timer must go on looking meanwhile.
  QPointer<QWidget> target(modal);
  QTimer::singleShot(0, this, [target, answer = std::move(answer)] {
    if (target) answer(target);
  });
}

ModalAnswers::Answer PickFile(const std::filesystem::path& file) {
  return [file](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    QVERIFY2(dialog != nullptr, "a file dialog");
    QCOMPARE(dialog->objectName(), QStringLiteral("OpenDialogXML"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Seleccionar Archivo XML obtenido de VETRANA"));
    QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("*.xml (*.xml)")});
    QCOMPARE(dialog->defaultSuffix(), QStringLiteral("xml"));
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
    // The full path typed into the name box, then Open, as a user may do.
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name != nullptr);
    name->setText(QString::fromStdU16String(file.u16string()));
    QMetaObject::invokeMethod(dialog, "accept");
    QVERIFY2(!dialog->isVisible(), "the file dialog took the file");
  };
}

ModalAnswers::Answer CancelFile() {
  return [](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    QVERIFY2(dialog != nullptr, "a file dialog");
    dialog->reject();
  };
}

ModalAnswers::Answer PressOk() {
  return [](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    QVERIFY2(box != nullptr, "a message box");
    QCOMPARE(box->windowTitle(), QStringLiteral("Zentrova"));
    QCOMPARE(box->buttons().size(), 1);
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    QVERIFY(ok != nullptr);
    ok->click();
  };
}

ModalAnswers::Answer ChooseFrames(const std::vector<int>& rows) {
  return [rows](QWidget* widget) {
    auto* dialog = qobject_cast<gui::TPlantillas*>(widget);
    QVERIFY2(dialog != nullptr, "the time-frame dialog");
    auto* list = dialog->findChild<QListWidget*>(QStringLiteral("ListBox2"));
    bool first = true;
    for (int row : rows) {
      ClickRow(list, row, first ? Qt::NoModifier : Qt::ControlModifier);
      first = false;
    }
    dialog->findChild<QPushButton*>(QStringLiteral("BitBtnContinuar"))->click();
  };
}

ModalAnswers::Answer CloseReport() {
  return [](QWidget* widget) {
    auto* window = qobject_cast<gui::TInforme*>(widget);
    QVERIFY2(window != nullptr, "the report window");
    QCOMPARE(window->windowTitle(), QString::fromUtf8("Informe de la conversión"));
    window->findChild<QPushButton*>(QStringLiteral("BCerrar"))->click();
  };
}

ModalAnswers::Answer SaveAs(const std::filesystem::path& file) {
  return [file](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    QVERIFY2(dialog != nullptr, "a file dialog");
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name != nullptr);
    name->setText(QString::fromStdU16String(file.u16string()));
    QMetaObject::invokeMethod(dialog, "accept");
  };
}

ModalAnswers::Answer Before(std::function<void(QWidget*)> action, ModalAnswers::Answer answer) {
  return [action, answer](QWidget* widget) {
    action(widget);
    answer(widget);
  };
}

void ClickRow(QListWidget* list, int row, Qt::KeyboardModifiers modifiers) {
  QVERIFY(list != nullptr);
  QVERIFY(row < list->count());
  const QRect rect = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
}

}  // namespace zentrova::testing
