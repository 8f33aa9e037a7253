#include <QApplication>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include "app/numeric_box.h"
#include "message_catcher.h"

using velaron::ui::NumericBox;

namespace {
void Type(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
  }
}
}  // namespace

TEST(NumericBox, KeyFiltersOfTheThreeKinds) {
  NumericBox dec(nullptr, NumericBox::Keys::Decimal);
  Type(&dec, "1a.5-,");
  EXPECT_EQ(dec.text(), "1.5,");
  NumericBox sig(nullptr, NumericBox::Keys::SignedDecimal);
  Type(&sig, "-3,5x");
  EXPECT_EQ(sig.text(), "-3,5");
  NumericBox whole(nullptr, NumericBox::Keys::Integer);
  Type(&whole, "30.0,5");
  EXPECT_EQ(whole.text(), "3005");
  NumericBox any(nullptr, NumericBox::Keys::Any);
  Type(&any, "-4x");
  EXPECT_EQ(any.text(), "-4x");
}

TEST(NumericBox, LeaveCheckConvertsPointsAndRefusesNonNumbers) {
  velaron::test::MessageCatcher catcher;
  NumericBox box;
  box.setText("1.5");
  EXPECT_TRUE(box.runLeaveCheck());
  EXPECT_EQ(box.text(), "1,5");
  EXPECT_TRUE(catcher.requests.empty());

  box.setText("1.2.3");
  EXPECT_FALSE(box.runLeaveCheck());
  EXPECT_EQ(box.text(), "1,2,3");
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_EQ(catcher.requests[0].text, QString::fromUtf8("Проверте правильность ввода!"));
  EXPECT_EQ(catcher.requests[0].title, QString::fromUtf8("Внимание!!!"));
  EXPECT_EQ(catcher.requests[0].icon, QMessageBox::Warning);

  box.setText("");
  EXPECT_FALSE(box.runLeaveCheck());

  NumericBox whole(nullptr, NumericBox::Keys::Integer, NumericBox::Leave::Integer);
  whole.setText("3.5");  // integer check replaces nothing
  EXPECT_FALSE(whole.runLeaveCheck());
  EXPECT_EQ(whole.text(), "3.5");
}

TEST(NumericBox, CheckAllStopsAtTheFirstBadBoxAndFocusesIt) {
  velaron::test::MessageCatcher catcher;
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* a = new NumericBox(&window);
  auto* b = new NumericBox(&window);
  auto* c = new NumericBox(&window);
  layout->addWidget(a);
  layout->addWidget(b);
  layout->addWidget(c);
  a->setText("1");
  b->setText("x");
  c->setText("");
  window.show();
  QApplication::setActiveWindow(&window);
  EXPECT_FALSE(NumericBox::checkAll(&window));
  EXPECT_EQ(catcher.requests.size(), 1u);
  EXPECT_TRUE(b->hasFocus());
  b->setText("2");
  c->setText("3.25");
  EXPECT_TRUE(NumericBox::checkAll(&window));
  EXPECT_EQ(c->text(), "3,25");
}

TEST(NumericBox, TwoBadBoxesDoNotBounceTheFocusBetweenThem) {
  // The first box refuses to be left and takes the focus back; the second box, which loses the focus it
  // had only just been given, was never really left and must not run its own check (else each refusal
  // would trigger the other's, without end).
  velaron::test::MessageCatcher catcher;
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* a = new NumericBox(&window);
  auto* b = new NumericBox(&window);
  layout->addWidget(a);
  layout->addWidget(b);
  window.show();
  QApplication::setActiveWindow(&window);
  a->setFocus(Qt::OtherFocusReason);
  a->setText("x");
  b->setText("");
  b->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(catcher.requests.size(), 1u);
  EXPECT_TRUE(a->hasFocus());
  // Once the first box is put right, leaving it for the bad second one passes; leaving that one is refused.
  a->setText("1");
  b->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(catcher.requests.size(), 1u);
  EXPECT_TRUE(b->hasFocus());
  a->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(catcher.requests.size(), 2u);
  EXPECT_TRUE(b->hasFocus());
}
