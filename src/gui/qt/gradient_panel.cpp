#include "gui/qt/gradient_panel.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>

namespace zentrova::gui {

GradientPanel::GradientPanel(QColor top, QColor middle, QColor bottom, QWidget* parent)
    : QWidget(parent), top_(top), middle_(middle), bottom_(bottom) {}

void GradientPanel::paintEvent(QPaintEvent*) {
  QLinearGradient gradient(0, 0, 0, height());
  gradient.setColorAt(0.0, top_);
  gradient.setColorAt(0.5, middle_);
  gradient.setColorAt(1.0, bottom_);
  QPainter painter(this);
  painter.fillRect(rect(), gradient);
}

namespace {

QFont FontOf(const QString& wanted, int pixel_size) {
  QFont font(QFontDatabase::hasFamily(wanted) ? wanted : QStringLiteral("Liberation Sans"));
  font.setPixelSize(pixel_size);
  return font;
}

}  // namespace

QFont ArialFont(int pixel_size, bool bold, bool italic, bool underline) {
  QFont font = FontOf(QStringLiteral("Arial"), pixel_size);
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

QFont DialogFont() { return FontOf(QStringLiteral("MS Sans Serif"), 11); }

}  // namespace zentrova::gui
