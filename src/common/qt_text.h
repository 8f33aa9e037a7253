// Qt strings for the windows and the writers: the program's texts, written in UTF-8 in the sources, and
// its plain number text (common/numtext.h: the decimal comma, up to 15 significant digits).
#pragma once

#include <QString>

#include "common/numtext.h"

namespace velaron {

// A text of the sources (UTF-8) as a Qt string.
inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

inline QString NumberText(double x) { return QString::fromStdString(FormatNumber(x)); }

// The number text of a value refused beyond `bound` (FormatBeyond).
inline QString NumberTextBeyond(double x, double bound) { return QString::fromStdString(FormatBeyond(x, bound)); }

// The number text of a value a refusal shows (FormatRefused).
inline QString RefusedText(double x, double bound = std::numeric_limits<double>::quiet_NaN()) {
  return QString::fromStdString(FormatRefused(x, bound));
}

}  // namespace velaron
