#include "numtext.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <cstdio>
#include <cstring>

namespace velaron {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<double> ParseWith(std::string_view text, bool pointToo) {
  std::string_view s = Trim(text);
  if (s.empty()) return std::nullopt;
  std::string buf;
  buf.reserve(s.size());
  size_t i = 0;
  bool negative = false;
  if (s[0] == '-' || s[0] == '+') {
    negative = s[0] == '-';
    i = 1;
  }
  int digits = 0, seps = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      buf.push_back(c);
      ++digits;
    } else if (c == ',' || (pointToo && c == '.')) {
      if (++seps > 1) return std::nullopt;
      buf.push_back('.');
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0) return std::nullopt;
  if (buf.front() == '.') buf.insert(buf.begin(), '0');
  double v = 0;
  auto [p, ec] = std::from_chars(buf.data(), buf.data() + buf.size(), v);
  if (ec != std::errc() || p != buf.data() + buf.size()) return std::nullopt;
  return negative ? -v : v;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) { return ParseWith(text, false); }

std::optional<double> ParseNumberLoose(std::string_view text) { return ParseWith(text, true); }

std::string PointsToCommas(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

namespace {

// The number text with up to `digits` significant digits (see FormatNumber).
std::string FormatDigits(double x, int digits) {
  if (std::isnan(x)) return "NaN";
  if (std::isinf(x)) return x > 0 ? "Inf" : "-Inf";
  if (x == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*G", digits, x);  // C locale is not assumed: commas are put in below
  std::string s(buf);
  // Drop trailing zeros of the mantissa ("%G" already does for the fixed form).
  std::string mant = s, exp;
  if (auto e = s.find('E'); e != std::string::npos) {
    mant = s.substr(0, e);
    exp = s.substr(e);
    if (mant.find_first_of(".,") != std::string::npos) {
      while (!mant.empty() && mant.back() == '0') mant.pop_back();
      if (!mant.empty() && (mant.back() == '.' || mant.back() == ',')) mant.pop_back();
    }
  }
  for (char& c : mant)
    if (c == '.') c = ',';
  return mant + exp;
}

}  // namespace

std::string FormatNumber(double x) { return FormatDigits(x, 15); }

std::string FormatBeyond(double x, double bound) {
  std::string text = FormatDigits(x, 15);
  if (x == bound) return text;
  const std::string boundText = FormatNumber(bound);
  // 17 significant digits tell every two doubles apart.
  for (int digits = 16; digits <= 17 && text == boundText; ++digits) text = FormatDigits(x, digits);
  return text;
}

std::string FormatRefused(double x, double bound) {
  if (x == 0 && std::signbit(x)) return "-0";
  return FormatBeyond(x, bound);  // a NaN bound equals no text: FormatNumber's
}

std::string FormatFixed(double x, int decimals) {
  if (decimals < 0) decimals = 0;
  double r = RoundHalfEven(x, decimals);
  if (r == 0) r = 0;  // no "-0,00"
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, r);
  std::string s(buf);
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

double RoundHalfEven(double x, int digits) {
  // nearbyint follows the current rounding mode, which the program never changes from to-nearest-even.
  if (digits == 0) return std::nearbyint(x);
  double scale = std::pow(10.0, digits);
  return std::nearbyint(x * scale) / scale;
}

int ToIntHalfEven(double x) {
  // Beyond the range of int the conversion is undefined: the nearest bound is taken (0 for NaN), and the
  // callers' range checks refuse such a value.
  const double r = std::nearbyint(x);
  if (!(r >= std::numeric_limits<int>::min())) return std::isnan(r) ? 0 : std::numeric_limits<int>::min();
  if (r > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(r);
}

}  // namespace velaron
