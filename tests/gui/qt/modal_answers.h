#ifndef ZENTROVA_TESTS_APP_GUI_MODAL_ANSWERS_H_
#define ZENTROVA_TESTS_APP_GUI_MODAL_ANSWERS_H_

// Answers the modal windows a test opens (file dialogs, message boxes, the time-frame dialog,
// the report window), one after the other, from a script. A timer looks for the active modal
// widget inside the modal loops; a widget is answered once, and one already open when the
// script is made is never answered.

#include <QFileDialog>
#include <QList>
#include <QListWidget>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <functional>
#include <vector>

namespace zentrova::testing {

class ModalAnswers : public QObject {
 public:
  using Answer = std::function<void(QWidget*)>;

  ModalAnswers();
  ~ModalAnswers() override;

  // The answer to the next modal window.
  ModalAnswers& Then(Answer answer);

  // True once every answer was given.
  bool done() const { return answers_.empty(); }
  // Descriptions of the modal windows seen ("QMessageBox: text", "QFileDialog: title",
  // "zentrova::gui::TPlantillas", "zentrova::gui::TInforme"), in order, those answered from the
  // script and those that came unasked (which are closed).
  const QStringList& seen() const { return seen_; }
  int unexpected() const { return unexpected_; }

 private:
  void Poll();

  QTimer timer_;
  std::deque<Answer> answers_;
  QList<QPointer<QWidget>> handled_;
  QStringList seen_;
  int unexpected_ = 0;
};

// The file dialog: checks what the open dialog of a run must be, then picks `file`.
ModalAnswers::Answer PickFile(const std::filesystem::path& file);
// The file dialog, cancelled.
ModalAnswers::Answer CancelFile();
// A message box: checks its title and single OK button, then presses OK.
ModalAnswers::Answer PressOk();
// The time-frame dialog: clicks the rows given (the first plainly, the others with Ctrl),
// then presses Continuar.
ModalAnswers::Answer ChooseFrames(const std::vector<int>& rows);
// The report window (TInforme): presses Cerrar.
ModalAnswers::Answer CloseReport();
// A file dialog for saving: types `file` into its name box and presses Save.
ModalAnswers::Answer SaveAs(const std::filesystem::path& file);
// Any window: runs `action` on it first, then gives `answer`.
ModalAnswers::Answer Before(std::function<void(QWidget*)> action, ModalAnswers::Answer answer);

// Clicks row `row` of `list` with `modifiers`, as the user does.
void ClickRow(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace zentrova::testing

#endif  // ZENTROVA_TESTS_APP_GUI_MODAL_ANSWERS_H_
