// The program's plain number text (common/numtext.h: the decimal comma, up to 15 significant digits) as
// a Qt string, for the windows and the writers.
#pragma once

#include <QString>

#include "common/numtext.h"

namespace velaron {

inline QString NumberText(double x) { return QString::fromStdString(FormatNumber(x)); }

}  // namespace velaron
