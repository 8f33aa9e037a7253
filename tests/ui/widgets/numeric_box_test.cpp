// The number box's check on leaving: points become decimal commas, anything else than a number is refused.
#include <gtest/gtest.h>

#include "ui/widgets/numeric_box.h"
#include "message_catcher.h"

using velaron::ui::NumericBox;

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
