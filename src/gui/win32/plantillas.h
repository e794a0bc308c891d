#ifndef ZENTROVA_GUI_WIN32_PLANTILLAS_H_
#define ZENTROVA_GUI_WIN32_PLANTILLAS_H_

// TPlantillas: the window of the time-frame choice, the view of import::TimeFrameModel. Shown
// modally once per request; after it has closed, answer() holds what the user chose.

#include <windows.h>

#include <filesystem>
#include <memory>

#include "app/host.h"
#include "gui/win32/button_glyphs.h"
#include "gui/win32/controls.h"
#include "gui/win32/gradient_panel.h"
#include "gui/win32/modal_window.h"
#include "import/dialog/time_frame_model.h"

namespace zentrova::gui {

inline constexpr wchar_t kPlantillasClass[] = L"TPlantillas";
inline constexpr wchar_t kPlantillasCaption[] = L"Planillas, Marcos o Jornadas Horarias";

class TPlantillas : public ModalWindow {
 public:
  // Control identifiers.
  enum : int {
    kDraw3D4 = 200,
    kLabelPlantillas,
    kLabelSelec,
    kLabelMarcos,
    kLabel1,
    kListBox2,
    kListBox1,
    kLabelNombre,
    kLabelPlanFec1,
    kLabelPlanFec2,
    kComboBoxPlantilla,
    kBitBtnContinuar,
    kLabelAviso,  // shown only when no choice is possible
    kBitBtnTerminar,
  };

  // The dialog reads `export_file` itself when it is first shown, or `loaded`, the run's
  // document of it, while the file is unchanged (import::TimeFrameModel); `owner` is the main
  // window.
  TPlantillas(std::filesystem::path export_file, HWND owner, const xml::Document* loaded = nullptr);
  ~TPlantillas() override;

  // Shows the dialog without waiting (FormActivate runs at the first showing).
  void Show();
  // Shows the dialog over its owner, which takes no input meanwhile, until it closes. An
  // error met by the dialog's handlers is thrown from here.
  void ShowModal();

  // Computed at closing (the button, the close box or Escape). When the export offered no
  // choice, the closing gives `abandon`.
  const app::FrameAnswer& answer() const { return answer_; }
  const import::TimeFrameModel& model() const { return model_; }
  // The tooltip of LabelNombre, which holds the whole name of the frame shown.
  HWND name_tooltip() const { return name_tooltip_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void BuildControls();
  void ApplyDpi(int dpi, const RECT* suggested);
  void FormActivate();
  void ComboBoxPlantillaChange();
  void ListBox2Click();
  void BitBtnContinuarClick();
  void BitBtnTerminarClick();
  void FormClose();
  // The dialog cannot offer a choice: it says why and offers BitBtnTerminar.
  void ShowNoChoice();
  void OnCommand(int id, int notification);

  import::TimeFrameModel model_;
  std::filesystem::path export_file_;
  app::FrameAnswer answer_;
  bool activated_ = false;
  bool abandoning_ = false;  // the way out is shown; "Terminar" is the default button
  bool modal_ = false;
  Layout layout_;
  ButtonGlyphs glyphs_;

  std::unique_ptr<GradientPanel> Draw3D4;
  HWND LabelPlantillas = nullptr;
  HWND LabelSelec = nullptr;
  HWND LabelMarcos = nullptr;
  HWND Label1 = nullptr;
  HWND ListBox2 = nullptr;
  HWND ListBox1 = nullptr;
  HWND LabelNombre = nullptr;
  HWND LabelPlanFec1 = nullptr;
  HWND LabelPlanFec2 = nullptr;
  HWND ComboBoxPlantilla = nullptr;
  HWND BitBtnContinuar = nullptr;
  HWND LabelAviso = nullptr;
  HWND BitBtnTerminar = nullptr;
  HWND name_tooltip_ = nullptr;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_PLANTILLAS_H_
