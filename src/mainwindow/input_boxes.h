// Input widgets of the main window beyond the shared numeric box: a numeric box with a key filter of its
// own (some boxes discard refused keys silently, some refuse the comma) and the compass picture.
#pragma once

#include <QWidget>
#include <functional>

#include "app/numeric_box.h"

namespace velaron::ui {

class FilteredBox : public NumericBox {
  Q_OBJECT
 public:
  // `accept` decides for each typed character; Backspace always passes. A refused key beeps when `beep`.
  FilteredBox(QWidget* parent, std::function<bool(QChar)> accept, bool beep, Leave leave);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<bool(QChar)> accept_;
  bool beep_;
};

// The compass of the route azimuth: the letters of the four sides and one diameter through the centre
// whose first half points along the azimuth (0 up, 90 right).
class CompassPicture : public QWidget {
  Q_OBJECT
 public:
  explicit CompassPicture(QWidget* parent = nullptr);
  void setAzimuth(double degrees);
  double azimuth() const { return azimuth_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double azimuth_ = 0;
};

}  // namespace velaron::ui
