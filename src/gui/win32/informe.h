#ifndef ZENTROVA_GUI_WIN32_INFORME_H_
#define ZENTROVA_GUI_WIN32_INFORME_H_

// TInforme: the window titled "Informe de la conversión" that shows what a run did, the view
// of a report::RunReport: the summary lines first, the whole report below, a button that saves
// it as a text file and one that closes the window. Shown modally over the main window.

#include <windows.h>

#include "gui/win32/button_glyphs.h"
#include "gui/win32/controls.h"
#include "gui/win32/modal_window.h"
#include "report/run_report.h"

namespace zentrova::gui {

inline constexpr wchar_t kInformeClass[] = L"TInforme";

class TInforme : public ModalWindow {
 public:
  // Control identifiers.
  enum : int {
    kLabelResumen = 300,
    kMemoInforme,
    kBGuardar,
    kBCerrar,
  };

  TInforme(report::RunReport report, HWND owner);
  ~TInforme() override;

  // Shows the window over its owner, which takes no input meanwhile, until it closes. An
  // error met by the window's handlers is thrown from here.
  void ShowModal();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void BuildControls();
  void ApplyDpi(int dpi, const RECT* suggested);
  // Asks where, then saves the report there as a text file (report::WriteReportFile); a file
  // that cannot be written is reported and the window stays.
  void BGuardarClick();
  void OnCommand(int id, int notification);

  report::RunReport report_;
  Layout layout_;
  ButtonGlyphs glyphs_;

  HWND LabelResumen = nullptr;
  HWND MemoInforme = nullptr;
  HWND BGuardar = nullptr;
  HWND BCerrar = nullptr;
};

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_WIN32_INFORME_H_
