// The main window.
#pragma once

#include <QMainWindow>

namespace velaron::ui {

class Form1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit Form1(QWidget* parent = nullptr);
};

}  // namespace velaron::ui
