#include "gui/qt/informe.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>
#include <filesystem>

#include "app/error_message.h"
#include "gui/qt/gradient_panel.h"
#include "gui/qt/qt_host.h"

namespace zentrova::gui {
namespace {

QString Text(const std::u16string& text) { return QString::fromStdU16String(text); }

}  // namespace

TInforme::TInforme(report::RunReport report, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      report_(std::move(report)) {
  setObjectName(QStringLiteral("Informe"));
  setWindowTitle(Text(report::kReportTitle));
  setFont(DialogFont());
  setModal(true);
  resize(640, 480);

  LabelResumen = new QLabel(Text(report::GlanceText(report_)), this);
  LabelResumen->setObjectName(QStringLiteral("LabelResumen"));
  LabelResumen->setWordWrap(true);
  LabelResumen->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont bold = LabelResumen->font();
  bold.setBold(true);
  LabelResumen->setFont(bold);

  MemoInforme = new QPlainTextEdit(Text(report::ReportText(report_)), this);
  MemoInforme->setObjectName(QStringLiteral("MemoInforme"));
  MemoInforme->setReadOnly(true);

  BGuardar = new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton),
                             QStringLiteral("&Guardar como texto…"), this);
  BGuardar->setObjectName(QStringLiteral("BGuardar"));
  BCerrar = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton),
                            QStringLiteral("&Cerrar"), this);
  BCerrar->setObjectName(QStringLiteral("BCerrar"));
  BCerrar->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BGuardar);
  buttons->addStretch();
  buttons->addWidget(BCerrar);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LabelResumen);
  layout->addWidget(MemoInforme, 1);
  layout->addLayout(buttons);

  connect(BGuardar, &QPushButton::clicked, this, [this] { BGuardarClick(); });
  connect(BCerrar, &QPushButton::clicked, this, &QDialog::accept);
  BCerrar->setFocus();
}

TInforme::~TInforme() = default;

void TInforme::BGuardarClick() {
  const std::filesystem::path suggested =
      report_.export_file.parent_path() / report::ReportFileName(report_);
  QFileDialog dialog(this, QStringLiteral("Guardar el informe de la conversión"));
  dialog.setObjectName(QStringLiteral("SaveDialogInforme"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(QStringLiteral("Texto (*.txt)"));
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  if (!native_dialogs_) dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.selectFile(QString::fromStdU16String(suggested.u16string()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const std::filesystem::path file(dialog.selectedFiles().first().toStdU16String());
  try {
    report::WriteReportFile(file, report_);
  } catch (...) {
    ReportError(this, Text(app::CurrentErrorMessage()));
  }
}

}  // namespace zentrova::gui
