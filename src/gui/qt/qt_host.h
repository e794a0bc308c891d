#ifndef ZENTROVA_GUI_QT_QT_HOST_H_
#define ZENTROVA_GUI_QT_QT_HOST_H_

// The window's side of a run: the open-file dialog, message boxes titled "Zentrova", the busy
// cursor, the time-frame dialog, the direction buttons, closing the window and the report.

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>

#include "app/host.h"

namespace zentrova::gui {

inline constexpr char kApplicationTitle[] = "Zentrova";
inline constexpr char kOpenDialogTitle[] = "Seleccionar Archivo XML obtenido de VETRANA";

// A modal box titled "Zentrova" with one OK button over `parent`; returns when it is closed.
// A "\r\n" in the text is a line break.
void ShowMessageBox(QWidget* parent, const QString& text,
                    QMessageBox::Icon icon = QMessageBox::NoIcon);

// The application's default error report: the error's message in a box titled "Zentrova".
void ReportError(QWidget* parent, const QString& message);

class QtHost : public app::Host {
 public:
  QtHost(QWidget* window, QPushButton* exportar, QPushButton* importar);
  ~QtHost() override;

  // Whether the platform's own file dialog may be used (tests drive Qt's dialog instead).
  void set_native_dialogs(bool native) { native_dialogs_ = native; }

  std::optional<std::filesystem::path> ChooseXmlFile() override;
  void ShowMessage(const std::u16string& text) override;
  // The busy cursor over the whole application; message boxes and the time-frame dialog,
  // which wait for the user, show the normal cursor while they are open.
  void SetBusy(bool busy) override;
  app::FrameAnswer ChooseTimeFrames(const std::filesystem::path& export_file,
                                    const xml::Document& loaded) override;
  void SetDirectionButtonsEnabled(bool enabled) override;
  void CloseWindow() override;
  // TInforme, modal.
  void ShowReport(const report::RunReport& report) override;
  bool ShowsReports() const override { return true; }

  // Takes the busy cursor away, whatever the run left (an error ended it).
  void EndBusy();
  bool busy() const { return busy_; }

 private:
  QPointer<QWidget> window_;
  QPointer<QPushButton> exportar_;
  QPointer<QPushButton> importar_;
  bool native_dialogs_ = true;
  bool busy_ = false;
  QString last_folder_;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_QT_QT_HOST_H_
