#include "ui/mainwindow/tab_parts.h"

#include <QComboBox>

namespace velaron::ui {

QString ChosenText(const QComboBox* combo) { return combo->currentIndex() >= 0 ? combo->currentText() : QString(); }

int ChooseByText(QComboBox* combo, const QString& text) {
  const int i = text.isEmpty() ? -1 : combo->findText(text, Qt::MatchExactly);
  combo->setCurrentIndex(i);
  return i >= 0 ? i + 1 : -1;
}

}  // namespace velaron::ui
