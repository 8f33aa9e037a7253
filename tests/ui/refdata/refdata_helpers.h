// Shared helpers of the editor tests: finding controls by their names and typing into them.
#pragma once

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace velaron::test {

template <class T = QWidget>
T* Find(QWidget* root, const char* name) {
  T* w = root->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << "no control " << name;
  return w;
}

inline QPushButton* Button(QWidget* root, const char* name) { return Find<QPushButton>(root, name); }
inline QLineEdit* Edit(QWidget* root, const char* name) { return Find<QLineEdit>(root, name); }

// Types text key by key, as the keyboard would.
inline void Type(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
  }
}

// A stand-in for the main window.
struct MainStandIn : QWidget {
  MainStandIn() { show(); }
};

}  // namespace velaron::test

namespace velaron::test {

// Counts the emissions of one signal.
struct SignalCount {
  template <class Sender, class Signal>
  SignalCount(Sender* sender, Signal signal) {
    QObject::connect(sender, signal, sender, [this] { ++count; });
  }
  int count = 0;
};

}  // namespace velaron::test
