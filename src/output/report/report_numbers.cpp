#include "report_numbers.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "common/numtext.h"
#include "common/qt_text.h"

namespace velaron::report {

namespace {

// Digits of a whole number of thousandths as "i,ddd".
QString Thousandths(std::int64_t k) {
  const bool negative = k < 0;
  const std::uint64_t a = negative ? 0 - static_cast<std::uint64_t>(k) : static_cast<std::uint64_t>(k);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%s%llu,%03llu", negative ? "-" : "", static_cast<unsigned long long>(a / 1000),
                static_cast<unsigned long long>(a % 1000));
  return QString::fromLatin1(buf);
}

}  // namespace

QString FormatMask3(double value) {
  if (!std::isfinite(value)) return QStringLiteral("0,000");
  // value × 1000 is exact in the 64-bit mantissa of long double, so a half is seen as a half.
  const long double scaled = static_cast<long double>(value) * 1000.0L;
  if (std::fabs(scaled) < 9.0e18L) {
    const auto k = static_cast<std::int64_t>(std::roundl(scaled));  // halves away from zero
    if (k == 0) return QStringLiteral("0,000");
    return Thousandths(k);
  }
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.3f", value);
  return QString::fromLatin1(buf).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString FormatExp(double value) {
  // Zero, negative values and NaN never reach 5 by multiplying by ten: they keep the plain form.
  if (!(value > 0) || !std::isfinite(value)) return FormatMask3(std::isnan(value) ? 0.0 : value);
  double x = value;
  int n = 0;
  while (x < 5) {
    x = x * 10;
    ++n;
  }
  if (n <= 1) return FormatMask3(value);
  const auto k = static_cast<std::int64_t>(std::nearbyint(x * 100));  // ties to even: 1562.5 → 1562
  return Thousandths(k) + (n <= 10 ? QStringLiteral("E-0") : QStringLiteral("E-")) + QString::number(n - 1);
}

QString Plain(double value) { return NumberText(value); }

QString Round2Text(double value) { return Plain(Round2(value)); }

QString Str(double value) {
  const QString text = Plain(value);
  return value >= 0 ? QLatin1Char(' ') + text : text;
}

qint64 MinuteCount(const QDateTime& start, const QDateTime& end) {
  // A time not set (a record made without a run) has no day to count from.
  if (!start.isValid() || !end.isValid()) return 0;
  // Counted on the one time line that all clocks share, so that a run over the hour that a clock set back
  // for winter time repeats does not count backwards; clock offsets are whole minutes, so these minute
  // boundaries are those of the wall clock.
  auto minutes = [](const QDateTime& t) {
    const qint64 seconds = t.toSecsSinceEpoch();
    return seconds / 60 - (seconds % 60 < 0 ? 1 : 0);  // whole minutes, rounded down before 1970 too
  };
  return minutes(end) - minutes(start);
}

QString DateText(const QDate& date) { return date.toString(QStringLiteral("dd.MM.yyyy")); }

QString DateTimeText(const QDateTime& moment) { return moment.toString(QStringLiteral("dd.MM.yyyy H:mm:ss")); }

}  // namespace velaron::report
