#include "ui/mainwindow/input_tab.h"

#include "ui/widgets/messages.h"
#include "ui/widgets/numeric_box.h"

namespace velaron::ui {

bool InputTab::checkBoxes() {
  for (NumericBox* b : findChildren<NumericBox*>()) {
    if (!b->isVisibleTo(this) || !b->isEnabled()) continue;
    if (!b->runLeaveCheck()) {
      showAndFocus(b);
      return false;
    }
  }
  return true;
}

void InputTab::showAndFocus(QWidget* w) {
  emit wantsShown();
  FocusAfterMessage(w);
}

}  // namespace velaron::ui
