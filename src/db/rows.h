// The settings row of the database; the rows of the other tables are plain value types in db/table_rows.h.
#pragma once

#include "db/table_rows.h"
#include "models/calc_settings.h"

namespace velaron::db {

// `Adjustment`, first row: the calculation settings (XLimit .. Skor_chel, the base, which the
// calculation state takes as they stand) and the stored pipeline inputs of the main window.
struct AdjustmentRow : models::CalcSettings {
  int Gas = 1;
  double Glubina = 1.2, Diametr = 1420, DavlDown = 7.4, DavlUp = 5.4, Temp = 10, Ltrub = 100, Tsrab = 300, Lkr = 30;
};

}  // namespace velaron::db
