// Small pieces every tab of the main window is built from: texts, widgets carrying their object names,
// wrapping labels and the numeric boxes of the inputs.
#pragma once

#include <QLabel>
#include <QString>

#include "common/qt_text.h"
#include "ui/widgets/numeric_box.h"

class QComboBox;

namespace velaron::ui {

// `w` named `name`: the object names are the window's interface (the tests and the manual use them).
template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

inline QLabel* WrappedLabel(const char* text, QWidget* parent) {
  auto* l = new QLabel(U(text), parent);
  l->setWordWrap(true);
  return l;
}

// A numeric box named `name` starting with `initial`; an integer filter also checks for an integer on
// leaving, every other filter for a decimal number.
inline NumericBox* NumberBox(const char* name, const char* initial, NumericBox::Keys keys, QWidget* parent) {
  const auto leave = keys == NumericBox::Keys::Integer ? NumericBox::Leave::Integer : NumericBox::Leave::Decimal;
  auto* b = Named(new NumericBox(parent, keys, leave), name);
  b->setText(U(initial));
  return b;
}

// The text of the entry chosen in `combo`; empty when none is chosen.
QString ChosenText(const QComboBox* combo);
// Chooses the entry reading `text` (none when `text` is empty or not listed) and returns its position
// counted from 1, or -1 when none: a list refilled after an editor keeps its choice by name.
int ChooseByText(QComboBox* combo, const QString& text);

}  // namespace velaron::ui
