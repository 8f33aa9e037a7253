// The start screen: the first window the user sees. "Далее>>" hands over to the main window, the menu
// opens the manual and the about box, "Выход" closes every window of the program.
#pragma once

#include <QMainWindow>

class QAction;
class QPushButton;

namespace velaron::ui {

// The start screen of the program, the first window shown.
class frmMain1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit frmMain1(QWidget* parent = nullptr);

  // "Далее>>": asks for the main window, then closes the start screen.
  void Command1_Click();
  // "Выход": closes every window of the program and asks the program to end.
  void Ex_Click();
  // "Инструкция": the user manual.
  void He_Click();
  // "О программе...": the about box, modal.
  void Hel_Click();

 signals:
  // The main window is wanted (the program's entry makes it: it lives in a library above this one).
  void nextRequested();
  // Every window has been closed; the program should end.
  void exitRequested();
};

}  // namespace velaron::ui
