#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

#include "common/numtext.h"

using namespace velaron;

TEST(ParseNumber, CommaIsTheDecimalSeparatorAndAnythingElseIsRefused) {
  for (auto [text, value] :
       {std::pair{"1,5", 1.5}, {"-10,25", -10.25}, {" 472,45 ", 472.45}, {",5", 0.5}, {"300", 300.0}})
    EXPECT_DOUBLE_EQ(ParseNumber(text).value_or(std::nan("")), value) << text;
  // Points are turned into commas by the box before it checks; the loose reading takes them as they are.
  for (const char* text : {"", "   ", "1,2,3", "1.5", "12a", "-", ","}) EXPECT_FALSE(ParseNumber(text)) << text;
  EXPECT_DOUBLE_EQ(*ParseNumberLoose("1.5"), 1.5);
  EXPECT_EQ(PointsToCommas("1.2.3"), "1,2,3");
}

TEST(FormatNumber, PlainTextWithComma) {
  // 15 significant digits hide the binary tail of 0.1 + 0.2.
  for (auto [value, text] : {std::pair{0.33, "0,33"},
                             {1420.0, "1420"},
                             {-7.5, "-7,5"},
                             {0.0, "0"},
                             {0.1 + 0.2, "0,3"},
                             {1e-7, "1E-07"},
                             {1.5e-7, "1,5E-07"}})
    EXPECT_EQ(FormatNumber(value), text) << value;
}

// A value refused just beyond its bound read as the bound ("9,9 больше 9,9"): it gets the digits that set it apart.
TEST(FormatBeyond, ShowsTheDigitsThatSetAValueApartFromItsBound) {
  const std::tuple<double, double, const char*> cases[] = {{9.900000000000002, 9.9, "9,900000000000002"},
                                                           {4.000000000000001, 4, "4,000000000000001"},
                                                           {100.00000000000001, 100, "100,00000000000001"},
                                                           {-1e-20, 0, "-1E-20"},
                                                           {0.1 + 0.2, 0.3, "0,30000000000000004"},
                                                           {150, 100, "150"},
                                                           {9.9, 9.9, "9,9"},
                                                           {4.0001, 4, "4,0001"}};
  for (const auto& [value, bound, text] : cases) EXPECT_EQ(FormatBeyond(value, bound), text) << text;
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
