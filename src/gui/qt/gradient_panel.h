#ifndef ZENTROVA_GUI_QT_GRADIENT_PANEL_H_
#define ZENTROVA_GUI_QT_GRADIENT_PANEL_H_

// The Qt views' painted panels and the fonts their labels use.

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

namespace zentrova::gui {

// A panel whose background shades from top to bottom through three colours (first at the
// top edge, second in the middle, third at the bottom edge). Child controls lie on it.
class GradientPanel : public QWidget {
  Q_OBJECT

 public:
  GradientPanel(QColor top, QColor middle, QColor bottom, QWidget* parent = nullptr);

  QColor top() const { return top_; }
  QColor middle() const { return middle_; }
  QColor bottom() const { return bottom_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor top_;
  QColor middle_;
  QColor bottom_;
};

// The font of the labels on the panels: Arial at `pixel_size`, or the metric-compatible
// Liberation Sans where Arial is not installed.
QFont ArialFont(int pixel_size, bool bold, bool italic = false, bool underline = false);

// The windows' default font: MS Sans Serif 11 px, or Liberation Sans where it is missing.
QFont DialogFont();

}  // namespace zentrova::gui

#endif  // ZENTROVA_GUI_QT_GRADIENT_PANEL_H_
