// Number and date texts of the report documents. Every text uses the decimal comma whatever the system
// locale says; the plain conversion and the rounding are those of common/numtext.h.
#pragma once

#include <QDateTime>
#include <QString>

namespace velaron::report {

// Probability text of the reports: a value of at least 0.5 as a plain number with three decimals
// ("12,000", "0,700"); a smaller one as a mantissa from 0,500 to 5,000 with three decimals and a negative
// power of ten ("3,000E-01", "0,500E-01", "1,000E-10"). Zero, a negative value and NaN never enter the
// scaling (it would not end): they give the three-decimal form ("0,000", "-0,300"; NaN "0,000").
QString FormatExp(double value);

// The three-decimal mask "0.000": halves away from zero, decimal comma, no digit grouping.
QString FormatMask3(double value);

// The plain number text: up to 15 significant digits, trailing zeros dropped, exponent form where
// "%.15G" switches to it ("1E-07"), decimal comma.
QString Plain(double value);

// Two-decimal rounding (halves to even, in double: 50.25 × 0.65 → "32,66"), then the plain text.
QString Round2Text(double value);

// The number-to-text function that reserves a blank for the sign: " 10" for 10, "-10" for −10.
QString Str(double value);

// Minute boundaries crossed from `start` to `end` (both counted in whole clock minutes): 10:00:59 to
// 10:01:00 gives 1, 10:00:01 to 10:00:59 gives 0, 23:59 to 00:01 the next day 2; a clock set back for
// winter time counts the real minutes, not backwards. 0 when either time is not set.
qint64 MinuteCount(const QDateTime& start, const QDateTime& end);

// "dd.MM.yyyy" and "dd.MM.yyyy H:mm:ss" (the time always printed, also at midnight).
QString DateText(const QDate& date);
QString DateTimeText(const QDateTime& moment);

}  // namespace velaron::report
