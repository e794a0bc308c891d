#ifndef ZENTROVA_GUI_QT_HELP_VIEWER_H_
#define ZENTROVA_GUI_QT_HELP_VIEWER_H_

// Help in the Qt window: a help window of our own shows the pages of the folder "help" beside
// the executable, the same pages the Win32 window's VETRANA.chm holds.

#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>
#include <filesystem>

namespace zentrova::gui {

// The context of the main window, its panels and buttons, and of the time-frame dialog.
inline constexpr int kHelpContext = 3;
// The main page (context 3) and the keyword index, as VETRANA.hhp maps them.
inline constexpr char kHelpMainPage[] = "index.html";
inline constexpr char kHelpIndexPage[] = "indice.html";

// The folder of the help pages: "help" beside the executable.
std::filesystem::path HelpFolder();

// Button1: the help file's index. F1: the page of help context `context`.
void ShowHelpIndex(QWidget* owner);
void ShowHelpContext(QWidget* owner, int context);

// Our own help window: the pages, with buttons for the main page, the index and going back.
class HelpViewer : public QWidget {
  Q_OBJECT

 public:
  explicit HelpViewer(std::filesystem::path folder, QWidget* owner = nullptr);

  // Shows `page` of the help folder; false (and a message) when it is missing.
  bool ShowPage(const QString& page);
  QUrl source() const { return browser_->source(); }

 protected:
  // Escape closes the help window.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::filesystem::path folder_;
  QTextBrowser* browser_;
};

// The help window shown last, if it is still open (for tests).
HelpViewer* CurrentHelpViewer();

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_QT_HELP_VIEWER_H_
