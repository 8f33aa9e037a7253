// Shared helpers of the editor tests: a scratch database with a stand-in main window, finding controls by
// their names, typing into them, counting signals.
#pragma once

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>
#include <utility>

#include "output/scratch_db.h"

namespace velaron::test {

template <class T = QWidget>
T* Find(QWidget* root, const char* name) {
  T* w = root->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << "no control " << name;
  return w;
}

inline QPushButton* Button(QWidget* root, const char* name) { return Find<QPushButton>(root, name); }
inline QLineEdit* Edit(QWidget* root, const char* name) { return Find<QLineEdit>(root, name); }

// Checks which of the named buttons are enabled.
inline void ExpectEnabled(QWidget* root, std::initializer_list<std::pair<const char*, bool>> buttons) {
  for (const auto& [name, on] : buttons) EXPECT_EQ(Button(root, name)->isEnabled(), on) << name;
}

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

// Counts the emissions of one signal.
struct SignalCount {
  template <class Sender, class Signal>
  SignalCount(Sender* sender, Signal signal) {
    QObject::connect(sender, signal, sender, [this] { ++count; });
  }
  int count = 0;
};

// An editor test: the scratch database is open and the main window is shown.
class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(data.error().isEmpty()) << data.error().toStdString(); }
  int Count(const char* table) { return data.Scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt(); }
  ScratchDatabase data;
  MainStandIn main;
};

}  // namespace velaron::test
