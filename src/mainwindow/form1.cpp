#include "mainwindow/form1.h"

namespace velaron::ui {

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
  setObjectName("Form1");
  setWindowTitle(QString::fromUtf8("Программа \"Веларон\""));
}

}  // namespace velaron::ui
