#include "gui/qt/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <optional>

#include "app/batch_mode.h"
#include "app/error_message.h"
#include "app/run_steps.h"
#include "gui/qt/help_viewer.h"

namespace zentrova::gui {
namespace {

const QColor kUpperTop(249, 211, 125);
const QColor kUpperBottom(255, 238, 221);
const QColor kLowerTop(194, 205, 254);
const QColor kLowerMiddle(207, 242, 254);
const QColor kLowerBottom(204, 216, 230);

GradientPanel* MakePanel(QWidget* parent, const char* name, QRect geometry, QColor top,
                         QColor middle, QColor bottom) {
  auto* panel = new GradientPanel(top, middle, bottom, parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setGeometry(geometry);
  return panel;
}

QLabel* MakeHeading(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(geometry);
  label->setFont(ArialFont(16, true));
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect geometry,
                        std::optional<QStyle::StandardPixmap> glyph) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  if (glyph) button->setIcon(button->style()->standardIcon(*glyph));
  return button;
}

}  // namespace

TMForm::TMForm(std::vector<std::string> parameters)
    : TMForm(std::move(parameters), app::DefaultRunPaths(), app::DefaultResultIniFile()) {}

TMForm::TMForm(std::vector<std::string> parameters, app::RunPaths paths,
               std::filesystem::path ini_file, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      parameters_(std::move(parameters)),
      ini_file_(std::move(ini_file)),
      state_(std::move(paths)) {
  setObjectName(QStringLiteral("MForm"));
  setWindowTitle(QString::fromUtf8(kMainCaption));
  setFont(DialogFont());
  setFixedSize(632, 266);

  Draw3D2 = MakePanel(this, "Draw3D2", QRect(1, 0, 315, 169), kUpperTop, Qt::white, kUpperBottom);
  Label3 = MakeHeading(Draw3D2, "Label3",
                       QStringLiteral("Transformar datos desde Vetrana hacia Orbelin "),
                       QRect(24, 24, 265, 57));
  BExportar = MakeButton(Draw3D2, "BExportar", QStringLiteral("OK"), QRect(96, 120, 89, 25),
                         QStyle::SP_DialogOkButton);

  Draw3D3 = MakePanel(this, "Draw3D3", QRect(316, 0, 317, 169), kUpperTop, Qt::white, kUpperBottom);
  Label4 = MakeHeading(Draw3D3, "Label4",
                       QStringLiteral("Transformar datos desde Orbelin hacia Vetrana"),
                       QRect(8, 24, 305, 57));
  BImportar = MakeButton(Draw3D3, "BImportar", QStringLiteral("OK"), QRect(96, 120, 89, 25),
                         QStyle::SP_DialogOkButton);

  Draw3D1 =
      MakePanel(this, "Draw3D1", QRect(0, 168, 633, 97), kLowerTop, kLowerMiddle, kLowerBottom);
  BClose = MakeButton(Draw3D1, "BClose", QStringLiteral("&Salir"), QRect(256, 32, 89, 25),
                      QStyle::SP_DialogCloseButton);
  Button1 = MakeButton(Draw3D1, "Button1", QStringLiteral("F1 Ayuda"), QRect(264, 64, 75, 25),
                       std::nullopt);

  host_ = std::make_unique<QtHost>(this, BExportar, BImportar);

  connect(BExportar, &QPushButton::clicked, this, [this] { BExportarClick(); });
  connect(BImportar, &QPushButton::clicked, this, [this] { BImportarClick(); });
  connect(BClose, &QPushButton::clicked, this, &QWidget::close);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, [this] { ShowHelpContext(this, kHelpContext); });

  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  FormCreate();
}

TMForm::~TMForm() = default;

void TMForm::FormCreate() {
  // Before anything else: a conversion that a crash left half-done is completed.
  app::FinishInterruptedConversion(state_.paths.ktemp);
  state_.subject_lists = import::SubjectLists{};
  state_.resultCode = 0;
  state_.runMode = app::RunModeFor(parameters_);
}

void TMForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // The direction of batch mode runs once the window is on the screen.
  QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TMForm::FormShow() {
  app::RunBatchDirection(
      parameters_, [this] { BImportarClick(); }, [this] { BExportarClick(); });
}

void TMForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TMForm::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (auto* button = qobject_cast<QPushButton*>(focusWidget()); enter && button != nullptr) {
    button->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TMForm::FormClose() {
  if (!state_.InBatchMode()) return;
  try {
    app::WriteResultCode(ini_file_, state_.resultCode);
  } catch (...) {
    ReportError(this, QString::fromStdU16String(app::CurrentErrorMessage()));
  }
}

void TMForm::Run(app::RunOutcome (*direction)(app::ProcessState&, app::Host&)) {
  try {
    direction(state_, *host_);
  } catch (...) {
    // The application's default error report: the run ends here, the program goes on.
    host_->EndBusy();
    ReportError(this, QString::fromStdU16String(app::CurrentErrorMessage()));
  }
}

void TMForm::BExportarClick() { Run(&app::BExportarClick); }

void TMForm::BImportarClick() { Run(&app::BImportarClick); }

void TMForm::Button1Click() { ShowHelpIndex(this); }

}  // namespace zentrova::gui
