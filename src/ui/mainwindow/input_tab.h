// An input tab of the main window (pipeline, sections, accident rate). Before a run the window asks each
// one to check its number boxes; a tab that refuses an input asks to be shown, and the window selects it.
#pragma once

#include <QWidget>

namespace velaron::ui {

class InputTab : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;

  // Runs the leave check of every number box the tab shows and lets be edited (a hidden box, of a way not
  // chosen or a factor not ticked, is not read and not checked). The first box that fails keeps its message,
  // the tab is shown and the box gets the focus; false then.
  bool checkBoxes();

 signals:
  // The tab has refused an input and wants to be the shown one.
  void wantsShown();

 protected:
  // Asks to be shown, then puts the focus on `w` and gives the window the activation the message took.
  void showAndFocus(QWidget* w);
};

}  // namespace velaron::ui
