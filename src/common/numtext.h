// Number texts of the program: every number the user types or reads is written with the decimal
// comma, whatever the system locale says, and every rounding the calculation does goes through here.
#pragma once

#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace velaron {

// Reads a number written with the decimal comma: optional blanks around it, an optional leading minus
// (or plus), digits with at most one comma. A point is not a decimal separator here (the input boxes turn
// points into commas before they check). An empty text is not a number.
std::optional<double> ParseNumber(std::string_view text);

// Same as ParseNumber, but a point is read like a comma (for data files and command-line inputs).
std::optional<double> ParseNumberLoose(std::string_view text);

// Replaces every point by a comma, as the input boxes do when they are left.
std::string PointsToCommas(std::string_view text);

// The plain number text: up to 15 significant digits, trailing zeros dropped, decimal comma;
// very small or very large magnitudes come out as "1,5E-07" / "1E+16".
std::string FormatNumber(double x);

// The number text of a value refused beyond `bound`: FormatNumber's, or, when that would read as the
// bound's own text ("9,9" for 9.900000000000002), with as many more significant digits as show the
// difference (up to 17).
std::string FormatBeyond(double x, double bound);

// The number text of a value a refusal shows: FormatBeyond's, FormatNumber's without a bound, and a
// negative zero as "-0", as it was given.
std::string FormatRefused(double x, double bound = std::numeric_limits<double>::quiet_NaN());

// A number with exactly `decimals` digits after the comma (rounded half to even), e.g. "0,000".
std::string FormatFixed(double x, int decimals);

// Rounds to `digits` decimals, halves to even, computed as nearbyint(x*10^digits)/10^digits in double.
double RoundHalfEven(double x, int digits = 0);

// Round(x, 2) of the program: nearbyint(x*100)/100, so 50.25*0.65 gives 32.66.
inline double Round2(double x) { return RoundHalfEven(x, 2); }

// Whole-number conversion of grid arithmetic (loop bounds, grid indices): halves go to the even number.
int ToIntHalfEven(double x);

}  // namespace velaron
