#include "gui/qt/plantillas.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QPalette>
#include <QShortcut>
#include <QStyle>
#include <QStyledItemDelegate>
#include <vector>

#include "app/window_texts.h"
#include "gui/qt/help_viewer.h"
#include "gui/qt/qt_host.h"

namespace zentrova::gui {
namespace {

const QColor kMaroon(128, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kSkyBlue(166, 202, 240);
const QColor kInactiveCaption(191, 205, 219);

// Items of the two lists are 13 pixels high.
class FixedHeightDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(13);
    return size;
  }
};

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                  const QFont& font, QColor colour, bool word_wrap) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(geometry);
  label->setFont(font);
  label->setWordWrap(word_wrap);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

QListWidget* MakeList(QWidget* parent, const char* name, QRect geometry,
                      QAbstractItemView::SelectionMode mode) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setGeometry(geometry);
  list->setSelectionMode(mode);
  list->setUniformItemSizes(true);
  list->setItemDelegate(new FixedHeightDelegate(list));
  return list;
}

QString Text(const std::u16string& text) { return QString::fromStdU16String(text); }

}  // namespace

TPlantillas::TPlantillas(std::filesystem::path export_file, QWidget* owner,
                         const xml::Document* loaded)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      model_(export_file, loaded),
      export_file_(std::move(export_file)) {
  setObjectName(QStringLiteral("Plantillas"));
  setWindowTitle(QString::fromUtf8(kPlantillasCaption));
  setFont(gui::DialogFont());
  setModal(true);
  resize(370, 281);

  Draw3D4 = new GradientPanel(kSkyBlue, Qt::white, kInactiveCaption, this);
  Draw3D4->setObjectName(QStringLiteral("Draw3D4"));
  Draw3D4->setGeometry(0, 0, 369, 281);

  const QFont heading = gui::ArialFont(16, true);
  LabelPlantillas = MakeLabel(
      Draw3D4, "LabelPlantillas",
      QStringLiteral("Seleccione 1, o los 2 Marcos Horarios que quiere aplicar a su Horario en "
                     "Orbelin."),
      QRect(16, 2, 321, 33), gui::ArialFont(13, true), Qt::black, true);
  LabelSelec = MakeLabel(
      Draw3D4, "LabelSelec",
      QString::fromUtf8("Para seleccionar mas de un Marco Horario, mantenga (Ctrl) pulsado y "
                        "seleccione cada marco con 1 click del botón izquierdo del ratón."),
      QRect(16, 36, 321, 50), gui::ArialFont(13, true, true), kRed, true);
  LabelMarcos = MakeLabel(Draw3D4, "LabelMarcos", QStringLiteral("MARCOS"), QRect(40, 86, 74, 16),
                          heading, kMaroon, false);
  Label1 = MakeLabel(Draw3D4, "Label1", QStringLiteral("HORAS"), QRect(215, 86, 67, 18), heading,
                     kMaroon, false);

  ListBox2 =
      MakeList(Draw3D4, "ListBox2", QRect(16, 103, 127, 45), QAbstractItemView::ExtendedSelection);
  ListBox1 =
      MakeList(Draw3D4, "ListBox1", QRect(152, 103, 193, 146), QAbstractItemView::SingleSelection);

  LabelNombre = MakeLabel(Draw3D4, "LabelNombre", QStringLiteral("-"), QRect(9, 151, 120, 41),
                          gui::ArialFont(16, true, false, true), kMaroon, true);
  LabelPlanFec1 = MakeLabel(Draw3D4, "LabelPlanFec1", QStringLiteral("-"), QRect(9, 196, 120, 23),
                            heading, kMaroon, false);
  LabelPlanFec2 = MakeLabel(Draw3D4, "LabelPlanFec2", QStringLiteral("-"), QRect(9, 226, 120, 23),
                            heading, kMaroon, false);

  ComboBoxPlantilla = new QComboBox(Draw3D4);
  ComboBoxPlantilla->setObjectName(QStringLiteral("ComboBoxPlantilla"));
  ComboBoxPlantilla->setGeometry(150, 254, 81, 21);
  ComboBoxPlantilla->setVisible(false);

  BitBtnContinuar = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                    QStringLiteral("Continuar"), Draw3D4);
  BitBtnContinuar->setObjectName(QStringLiteral("BitBtnContinuar"));
  BitBtnContinuar->setGeometry(255, 253, 89, 25);
  QFont bold = BitBtnContinuar->font();
  bold.setBold(true);
  BitBtnContinuar->setFont(bold);
  BitBtnContinuar->setDefault(true);

  LabelAviso = MakeLabel(Draw3D4, "LabelAviso", QString(), QRect(16, 36, 329, 210),
                         gui::ArialFont(13, true), kRed, true);
  LabelAviso->setVisible(false);
  BitBtnTerminar = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                   Text(app::kTerminarCaption), Draw3D4);
  BitBtnTerminar->setObjectName(QStringLiteral("BitBtnTerminar"));
  BitBtnTerminar->setGeometry(160, 253, 89, 25);
  BitBtnTerminar->setFont(bold);
  BitBtnTerminar->setVisible(false);

  // The button comes first in the tab order and has the focus when the dialog opens.
  setTabOrder(BitBtnContinuar, ListBox2);
  setTabOrder(ListBox2, ListBox1);
  BitBtnContinuar->setFocus();

  // The focus item is the one just clicked, whether the click selected or deselected it;
  // moving with the keyboard counts as a click too.
  connect(ListBox2, &QListWidget::itemClicked, this, [this] { ListBox2Click(); });
  connect(ListBox2, &QListWidget::currentRowChanged, this, [this] { ListBox2Click(); });
  connect(BitBtnContinuar, &QPushButton::clicked, this, [this] { BitBtnContinuarClick(); });
  connect(BitBtnTerminar, &QPushButton::clicked, this, [this] { BitBtnTerminarClick(); });
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this,
          [this] { gui::ShowHelpContext(this, gui::kHelpContext); });
}

TPlantillas::~TPlantillas() = default;

void TPlantillas::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (activated_) return;
  activated_ = true;
  FormActivate();
}

void TPlantillas::FormActivate() {
  model_.FormActivate();
  const QSignalBlocker block_list(ListBox2);
  ListBox2->clear();
  ComboBoxPlantilla->clear();
  for (const std::u16string& code : model_.frames()) {
    ListBox2->addItem(Text(code));
    ComboBoxPlantilla->addItem(Text(code));
  }
  ComboBoxPlantilla->setCurrentIndex(model_.current_frame());
  ComboBoxPlantillaChange();
  if (!model_.CanChoose()) ShowNoChoice();
}

void TPlantillas::ComboBoxPlantillaChange() {
  model_.ComboBoxPlantillaChange();
  // The label holds three lines of the name at most; the whole name is its tooltip.
  LabelNombre->setText(Text(model_.name_label()));
  LabelNombre->setToolTip(Text(model_.name_label()));
  LabelPlanFec1->setText(Text(model_.start_date_label()));
  LabelPlanFec2->setText(Text(model_.end_date_label()));
  ListBox1->clear();
  for (const std::u16string& slot : model_.slots()) ListBox1->addItem(Text(slot));
}

void TPlantillas::ListBox2Click() {
  const int focus = ListBox2->currentRow();
  if (focus < 0) return;
  ComboBoxPlantilla->setCurrentIndex(focus);
  model_.ListBox2Click(focus);
  ComboBoxPlantillaChange();
}

void TPlantillas::BitBtnContinuarClick() { close(); }

void TPlantillas::BitBtnTerminarClick() { close(); }

void TPlantillas::ShowNoChoice() {
  LabelAviso->setText(Text(app::NoFrameChoiceNotice(export_file_, model_.load_failed())));
  for (QWidget* widget :
       std::initializer_list<QWidget*>{LabelSelec, LabelMarcos, Label1, ListBox2, ListBox1,
                                       LabelNombre, LabelPlanFec1, LabelPlanFec2}) {
    widget->setVisible(false);
  }
  LabelAviso->setVisible(true);
  BitBtnTerminar->setVisible(true);
  BitBtnContinuar->setEnabled(false);
  BitBtnTerminar->setDefault(true);
  BitBtnTerminar->setFocus();
}

void TPlantillas::FormClose() {
  std::vector<bool> selected;
  selected.reserve(ListBox2->count());
  for (int row = 0; row < ListBox2->count(); ++row) {
    selected.push_back(ListBox2->item(row)->isSelected());
  }
  import::TimeFrameModel::Closing closing = model_.FormClose(selected);
  if (!closing.message.empty()) gui::ShowMessageBox(this, Text(closing.message));
  answer_ = closing.answer;
}

void TPlantillas::closeEvent(QCloseEvent* event) {
  // Every close goes through here and always proceeds.
  FormClose();
  event->accept();
  QDialog::done(QDialog::Accepted);
}

void TPlantillas::reject() { close(); }

}  // namespace zentrova::gui
