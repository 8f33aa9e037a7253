#include <gtest/gtest.h>

#include <QTimeZone>
#include <cmath>
#include <limits>
#include <string>

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

// Minute boundaries crossed from the run's start to its end: each time counted in whole clock minutes,
// the first count taken from the second. Worked by hand from that rule: within one minute 0, a boundary
// crossed by one second 1, across midnight, the year's end and the leap day the minutes of the clock
// face go on counting. A clock set back by an hour (summer time ending) does not run the count
// backwards: 02:59 summer time (00:59 UTC) to 02:01 winter time (01:01 UTC), the clock turned from 03:00
// back to 02:00 in between, is a run of two minutes, not −58.
TEST(ReportNumbers, MinuteCountCountsClockMinuteBoundariesAcrossMidnightAndWithinAMinute) {
  const auto at = [](const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("dd.MM.yyyy HH:mm:ss"));
  };
  struct Case {
    const char* start;
    const char* end;
    qint64 minutes;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"07.12.2026 10:00:05", "07.12.2026 10:00:55", 0},  // within one minute
           {"07.12.2026 10:00:01", "07.12.2026 10:00:59", 0},
           {"07.12.2026 10:00:00", "07.12.2026 10:00:00", 0},
           {"07.12.2026 10:00:59", "07.12.2026 10:01:00", 1},  // one second, one boundary
           {"07.12.2026 10:00:59", "07.12.2026 10:01:01", 1},
           {"07.12.2026 10:00:00", "07.12.2026 10:59:59", 59},
           {"07.12.2026 10:58:30", "07.12.2026 11:01:10", 3},
           {"07.12.2026 23:59:00", "08.12.2026 00:01:00", 2},  // across midnight
           {"07.12.2026 23:59:59", "08.12.2026 00:00:00", 1},
           {"07.12.2026 23:30:00", "09.12.2026 00:30:00", 1500},  // 30 + 1440 + 30
           {"31.12.2025 23:59:30", "01.01.2026 00:00:10", 1},     // the year's end
           {"28.02.2024 23:59:00", "01.03.2024 00:00:00", 1441},  // the leap day between: 1 + 1440
       }) {
    SCOPED_TRACE(std::string(c.start) + " .. " + c.end);
    ASSERT_TRUE(at(c.start).isValid() && at(c.end).isValid());
    EXPECT_EQ(MinuteCount(at(c.start), at(c.end)), c.minutes);
  }
  // The clock set back from 03:00 summer time (UTC+2) to 02:00 winter time (UTC+1).
  const QDateTime summer(QDate(2026, 10, 25), QTime(2, 59, 0), QTimeZone(2 * 3600));
  const QDateTime winter(QDate(2026, 10, 25), QTime(2, 1, 0), QTimeZone(3600));
  EXPECT_EQ(MinuteCount(summer, winter), 2);
  // A time not set counts nothing.
  EXPECT_EQ(MinuteCount(QDateTime(), at("07.12.2026 10:00:00")), 0);
  EXPECT_EQ(MinuteCount(at("07.12.2026 10:00:00"), QDateTime()), 0);
}
