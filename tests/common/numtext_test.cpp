#include <gtest/gtest.h>

#include "common/numtext.h"

using namespace velaron;

TEST(ParseNumber, CommaIsTheDecimalSeparator) {
  EXPECT_DOUBLE_EQ(*ParseNumber("1,5"), 1.5);
  EXPECT_DOUBLE_EQ(*ParseNumber("-10,25"), -10.25);
  EXPECT_DOUBLE_EQ(*ParseNumber(" 472,45 "), 472.45);
  EXPECT_DOUBLE_EQ(*ParseNumber(",5"), 0.5);
  EXPECT_DOUBLE_EQ(*ParseNumber("300"), 300.0);
}

TEST(ParseNumber, RefusesWhatIsNotANumber) {
  EXPECT_FALSE(ParseNumber(""));
  EXPECT_FALSE(ParseNumber("   "));
  EXPECT_FALSE(ParseNumber("1,2,3"));
  EXPECT_FALSE(ParseNumber("1.5"));  // points are turned into commas by the box before it checks
  EXPECT_FALSE(ParseNumber("12a"));
  EXPECT_FALSE(ParseNumber("-"));
  EXPECT_FALSE(ParseNumber(","));
  EXPECT_DOUBLE_EQ(*ParseNumberLoose("1.5"), 1.5);
}

TEST(PointsToCommas, ReplacesEveryPoint) { EXPECT_EQ(PointsToCommas("1.2.3"), "1,2,3"); }

TEST(FormatNumber, PlainTextWithComma) {
  EXPECT_EQ(FormatNumber(0.33), "0,33");
  EXPECT_EQ(FormatNumber(1420), "1420");
  EXPECT_EQ(FormatNumber(-7.5), "-7,5");
  EXPECT_EQ(FormatNumber(0), "0");
  EXPECT_EQ(FormatNumber(0.1 + 0.2), "0,3");  // 15 significant digits hide the binary tail
  EXPECT_EQ(FormatNumber(1e-7), "1E-07");
  EXPECT_EQ(FormatNumber(1.5e-7), "1,5E-07");
}

TEST(Rounding, HalvesGoToEven) {
  EXPECT_EQ(ToIntHalfEven(2.5), 2);
  EXPECT_EQ(ToIntHalfEven(3.5), 4);
  EXPECT_EQ(ToIntHalfEven(-2.5), -2);
  EXPECT_DOUBLE_EQ(RoundHalfEven(0.125, 2), 0.12);
  EXPECT_DOUBLE_EQ(RoundHalfEven(0.375, 2), 0.38);
  // Round(x, 2) works in double: 50.25*0.65 = 32.6625 (binary 32.66249...) gives 32.66.
  EXPECT_DOUBLE_EQ(Round2(50.25 * 0.65), 32.66);
  EXPECT_EQ(FormatFixed(Round2(50.25 * 0.65), 2), "32,66");
  EXPECT_EQ(FormatFixed(0, 3), "0,000");
  EXPECT_EQ(FormatFixed(-0.0001, 2), "0,00");
}
