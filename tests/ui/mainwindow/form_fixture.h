// The main window over a temporary database, shown on the offscreen platform, with its messages caught.
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>

#include "app/numeric_box.h"
#include "mainwindow/form1.h"
#include "message_catcher.h"
#include "test_database.h"

namespace velaron::test {

inline QString U(const char* s) { return QString::fromUtf8(s); }

inline void Type(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
  }
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<ui::Form1>();
    window->setRunDialogOpener([this](ui::Form1&, const run::RunRequest& r) {
      ++opened;
      request = r;
    });
    window->show();
    QApplication::setActiveWindow(window.get());
  }
  void TearDown() override { window.reset(); }

  template <class W = QWidget>
  W* find(const char* name) const {
    W* w = window->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  ui::NumericBox* box(const char* name) const { return find<ui::NumericBox>(name); }
  QTabWidget* tabs() const { return find<QTabWidget>("SSTab1"); }
  void choose(const char* combo, int index) {
    auto* c = find<QComboBox>(combo);
    c->setCurrentIndex(index);
    emit c->activated(index);
  }
  void select(int row) { find<QListWidget>("List1")->setCurrentRow(row); }
  void leave(const char* name) { box(name)->runLeaveCheck(); }

  TempDatabase database;  // opened before the window, closed after it
  MessageCatcher messages;
  std::unique_ptr<ui::Form1> window;
  int opened = 0;
  run::RunRequest request;
};

}  // namespace velaron::test
