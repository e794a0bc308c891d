#include "gui/qt/help_viewer.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/paths.h"
#include "app/window_texts.h"
#include "gui/qt/qt_host.h"

namespace zentrova::gui {
namespace {

QPointer<HelpViewer> current_viewer;

// The window and the time-frame dialog have one context, the main page, as in VETRANA.hhp.
QString PageOfContext(int /*context*/) { return QString::fromLatin1(kHelpMainPage); }

void ShowOwnHelp(QWidget* owner, const QString& page) {
  // Over a modal dialog the help window belongs to it, so that it takes input.
  QWidget* parent = QApplication::activeModalWidget();
  if (parent == nullptr && owner != nullptr) parent = owner->window();
  if (current_viewer == nullptr || current_viewer->parentWidget() != parent) {
    delete current_viewer;
    current_viewer = new HelpViewer(HelpFolder(), parent);
    current_viewer->setAttribute(Qt::WA_DeleteOnClose);
    // Over the window that opened it, not in a corner of the screen.
    if (parent != nullptr) {
      current_viewer->move(parent->frameGeometry().center() - current_viewer->rect().center());
    }
  }
  if (!current_viewer->ShowPage(page)) {
    current_viewer->close();
    return;
  }
  current_viewer->show();
  current_viewer->raise();
  current_viewer->activateWindow();
}

}  // namespace

std::filesystem::path HelpFolder() { return app::ExecutableFolder() / "help"; }

void ShowHelpIndex(QWidget* owner) { ShowOwnHelp(owner, QString::fromLatin1(kHelpIndexPage)); }

void ShowHelpContext(QWidget* owner, int context) { ShowOwnHelp(owner, PageOfContext(context)); }

HelpViewer* CurrentHelpViewer() { return current_viewer; }

HelpViewer::HelpViewer(std::filesystem::path folder, QWidget* owner)
    : QWidget(owner, Qt::Window), folder_(std::move(folder)) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("Ayuda de Zentrova"));
  resize(720, 560);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(true);

  auto* main_page = new QPushButton(QStringLiteral("Inicio"), this);
  auto* index = new QPushButton(QString::fromUtf8("Índice"), this);
  auto* back = new QPushButton(QString::fromUtf8("Atrás"), this);
  auto* close_button = new QPushButton(QStringLiteral("Cerrar"), this);
  back->setEnabled(false);
  connect(main_page, &QPushButton::clicked, this,
          [this] { ShowPage(QString::fromLatin1(kHelpMainPage)); });
  connect(index, &QPushButton::clicked, this,
          [this] { ShowPage(QString::fromLatin1(kHelpIndexPage)); });
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(main_page);
  buttons->addWidget(index);
  buttons->addWidget(back);
  buttons->addStretch();
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);
}

void HelpViewer::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool HelpViewer::ShowPage(const QString& page) {
  const std::filesystem::path file = folder_ / page.toStdU16String();
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    ShowMessageBox(parentWidget(), QString::fromStdU16String(app::MissingHelpFileMessage(file)),
                   QMessageBox::Warning);
    return false;
  }
  browser_->setSource(QUrl::fromLocalFile(QString::fromStdU16String(file.u16string())));
  return true;
}

}  // namespace zentrova::gui
