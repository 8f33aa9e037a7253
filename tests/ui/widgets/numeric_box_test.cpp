#include <QApplication>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include "widgets/numeric_box.h"
#include "message_catcher.h"

using velaron::ui::NumericBox;

namespace {
void Type(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
  }
}

// A shown, active window holding number boxes with the given texts, one under the other.
struct BoxWindow {
  explicit BoxWindow(std::initializer_list<const char*> texts) {
    auto* layout = new QVBoxLayout(&window);
    for (const char* text : texts) {
      boxes.push_back(new NumericBox(&window));
      boxes.back()->setText(text);
      layout->addWidget(boxes.back());
    }
    window.show();
    QApplication::setActiveWindow(&window);
  }
  QWidget window;
  std::vector<NumericBox*> boxes;
};
}  // namespace

TEST(NumericBox, KeyFiltersOfTheFourKinds) {
  const std::tuple<NumericBox::Keys, const char*, const char*> cases[] = {
      {NumericBox::Keys::Decimal, "1a.5-,", "1.5,"},
      {NumericBox::Keys::SignedDecimal, "-3,5x", "-3,5"},
      {NumericBox::Keys::Integer, "30.0,5", "3005"},
      {NumericBox::Keys::Any, "-4x", "-4x"}};
  for (const auto& [keys, typed, kept] : cases) {
    NumericBox box(nullptr, keys);
    Type(&box, typed);
    EXPECT_EQ(box.text(), kept) << typed;
  }
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
  BoxWindow w({"1", "x", ""});
  EXPECT_FALSE(NumericBox::checkAll(&w.window));
  EXPECT_EQ(catcher.requests.size(), 1u);
  EXPECT_TRUE(w.boxes[1]->hasFocus());
  w.boxes[1]->setText("2");
  w.boxes[2]->setText("3.25");
  EXPECT_TRUE(NumericBox::checkAll(&w.window));
  EXPECT_EQ(w.boxes[2]->text(), "3,25");
}

TEST(NumericBox, TwoBadBoxesDoNotBounceTheFocusBetweenThem) {
  // The first box refuses to be left and takes the focus back; the second box, which loses the focus it
  // had only just been given, was never really left and must not run its own check (else each refusal
  // would trigger the other's, without end).
  velaron::test::MessageCatcher catcher;
  BoxWindow w({"", ""});
  NumericBox *a = w.boxes[0], *b = w.boxes[1];
  a->setFocus(Qt::OtherFocusReason);
  a->setText("x");
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
