#ifndef ZENTROVA_GUI_QT_PLANTILLAS_H_
#define ZENTROVA_GUI_QT_PLANTILLAS_H_

// TPlantillas: the window of the time-frame choice, the view of import::TimeFrameModel. Shown
// modally once per request; after it has closed, answer() holds what the user chose.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

#include "app/host.h"
#include "gui/qt/gradient_panel.h"
#include "import/dialog/time_frame_model.h"

namespace zentrova::gui {

inline constexpr char kPlantillasCaption[] = "Planillas, Marcos o Jornadas Horarias";

class TPlantillas : public QDialog {
  Q_OBJECT

 public:
  // The dialog reads `export_file` itself when it is first shown, or `loaded`, the run's
  // document of it, while the file is unchanged (import::TimeFrameModel).
  TPlantillas(std::filesystem::path export_file, QWidget* owner = nullptr,
              const xml::Document* loaded = nullptr);
  ~TPlantillas() override;

  // Computed at closing (the button, the close box or Escape). When the export offered no
  // choice, the closing gives `abandon`.
  const app::FrameAnswer& answer() const { return answer_; }
  const import::TimeFrameModel& model() const { return model_; }

  // Escape behaves as the close box.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormActivate();
  void ComboBoxPlantillaChange();
  void ListBox2Click();
  void BitBtnContinuarClick();
  void BitBtnTerminarClick();
  void FormClose();
  // The dialog cannot offer a choice: it says why and offers BitBtnTerminar.
  void ShowNoChoice();

  import::TimeFrameModel model_;
  std::filesystem::path export_file_;
  app::FrameAnswer answer_;
  bool activated_ = false;

  GradientPanel* Draw3D4;
  QLabel* LabelPlantillas;
  QLabel* LabelSelec;
  QLabel* LabelMarcos;
  QLabel* Label1;
  QListWidget* ListBox2;
  QListWidget* ListBox1;
  QLabel* LabelNombre;
  QLabel* LabelPlanFec1;
  QLabel* LabelPlanFec2;
  QComboBox* ComboBoxPlantilla;
  QPushButton* BitBtnContinuar;
  // Shown only when no choice is possible.
  QLabel* LabelAviso;
  QPushButton* BitBtnTerminar;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_QT_PLANTILLAS_H_
