#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "output/report/report_numbers.h"

using namespace velaron::report;

TEST(FormatExp, PlainFromOneHalfUpAndMantissaWithNegativePowerBelow) {
  struct Case {
    double value;
    const char* text;
  };
  for (const Case& c : std::initializer_list<Case>{
           {12, "12,000"},
           {0.7, "0,700"},
           {0.5, "0,500"},  // n ≤ 1: the plain form
           {0.3, "3,000E-01"},
           {0.05, "0,500E-01"},  // the mantissa runs from 0,5 to 5
           {0.04999, "4,999E-02"},
           {0.015625, "1,562E-02"},   // x = 15.625 exactly, 1562.5 goes to the even 1562
           {0.0049999, "5,000E-03"},  // k rounds up to 5000
           {2.5e-5, "2,500E-05"},
           {1e-10, "1,000E-10"},  // n = 11: "E-" without the zero
           {3.7e-12, "3,700E-12"},
           {123456.0625, "123456,063"},  // an exact half goes away from zero in the mask "0.000"
           {1e20, "100000000000000000000,000"},
       })
    EXPECT_EQ(FormatExp(c.value).toStdString(), c.text) << c.value;
}

TEST(FormatExp, ZeroNegativeAndNaNGiveThePlainMaskAndNeverLoop) {
  EXPECT_EQ(FormatExp(0).toStdString(), "0,000");
  EXPECT_EQ(FormatExp(-0.0).toStdString(), "0,000");
  EXPECT_EQ(FormatExp(-0.3).toStdString(), "-0,300");
  EXPECT_EQ(FormatExp(-1e-7).toStdString(), "0,000");
  EXPECT_EQ(FormatExp(std::nan("")).toStdString(), "0,000");
  // The smallest positive double needs 324 scalings; the counter and the text cope.
  EXPECT_EQ(FormatExp(std::numeric_limits<double>::denorm_min()).right(5).toStdString(), "E-324");
}

TEST(ReportNumbers, TwoDecimalRoundingThenPlainText) {
  struct Case {
    double value;
    const char* text;
  };
  for (const Case& c : std::initializer_list<Case>{
           {50.25 * 0.65, "32,66"},  // 32.6625 is 32.66249... in binary
           {37.5 * 0.65, "24,38"},   // exactly 24.375: the half goes to the even 24,38
           {50.25 * 0.5, "25,12"},   // exactly 25.125 → 25,12
           {12.5, "12,5"},
           {40, "40"},
           {812.4567, "812,46"},
           {123.456, "123,46"},
           {7, "7"},
           {45.678 * 0.6, "27,41"},
           {45.678 - 45.678 * 0.6, "18,27"},
           {30.125, "30,12"},
           {0, "0"},
           {-2.345, "-2,35"},
       })
    EXPECT_EQ(Round2Text(c.value).toStdString(), c.text) << c.value;
}
