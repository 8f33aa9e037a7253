// The main window over a temporary database, shown on the offscreen platform, with its messages caught.
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

#include "common/qt_text.h"
#include "ui/widgets/numeric_box.h"
#include "ui/mainwindow/form1.h"
#include "message_catcher.h"
#include "test_database.h"

namespace velaron::test {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<ui::Form1>();
    window->setRunDialogOpener([this](ui::Form1&, const result::RunRequest& r) {
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
  // Types `keys` over the whole text of the named box, which keeps the focus.
  void type(const char* name, const char* keys) {
    box(name)->setFocus();
    box(name)->selectAll();
    QTest::keyClicks(box(name), QString::fromUtf8(keys));
  }
  // The named line edits (number boxes included) show these texts.
  void expectTexts(std::initializer_list<std::pair<const char*, const char*>> texts) const {
    for (const auto& [name, text] : texts) EXPECT_EQ(find<QLineEdit>(name)->text().toStdString(), text) << name;
  }
  // Exactly one message was shown since the last check, with this text (any, when not given) and, when given,
  // this title and icon.
  void expectMessage(const char* text, const char* title = nullptr, std::optional<QMessageBox::Icon> icon = {}) {
    ASSERT_EQ(messages.requests.size(), 1u) << messages.texts().join("|").toStdString();
    if (text) {
      EXPECT_EQ(messages.requests[0].text.toStdString(), text);
    } else {
      EXPECT_FALSE(messages.requests[0].text.isEmpty());
    }
    EXPECT_TRUE(!title || messages.requests[0].title == U(title)) << messages.requests[0].title.toStdString();
    EXPECT_TRUE(!icon || messages.requests[0].icon == *icon) << messages.requests[0].icon;
    messages.requests.clear();
  }

  TempDatabase database;  // opened before the window, closed after it
  MessageCatcher messages;
  std::unique_ptr<ui::Form1> window;
  int opened = 0;
  result::RunRequest request;
};

}  // namespace velaron::test
