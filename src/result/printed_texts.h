// Every text that a window or a document prints of a finished run, made from its record in one place: the
// report, the workbook and the main window's results print these and format nothing of the run again.
// The texts the user typed are printed as typed; a text the record lacks (a run without the main window,
// such as the driver's or the jet-flame window's) is printed from the run's numbers and rows.
#pragma once

#include <QString>
#include <array>

#include "result/run_snapshot.h"

namespace velaron::result {

struct PrintedTexts {
  QString ScenarioName;  // the run dialog's name of the scenario, or the driver input's
  QString Mestn;         // the pipeline's location
  QString gasName, regionName, cityName;
  QString diameterText;                // mm
  QString TempText;                    // gas temperature, °C
  QString DavlText;                    // section pressure, MPa, two decimals
  QString LengthText;                  // section length, m; none for the jet-flame window's pipe
  std::array<QString, 4> groundNames;  // the section's four soil levels
  std::array<QString, 3> MeteoText;    // season (none for the jet-flame window), wind speed, wind direction
  QString WindSpeedText;               // the wind speed as the number the run took, m/s (the workbook's)
  QString liftAngleText;               // the run dialog's lift angle of the pipe end, degrees
  // The run's zones: levels 1..4 (RadiusText), then where the safe zone begins (SafeZoneText).
  std::array<QString, 5> zoneTexts;
  // Titles of the distance charts: the distance, the damaging factor of `graf1`, the percent of `graf2`.
  QString distanceTitle, damageTitle, percentTitle;
};

PrintedTexts PrintedTextsOf(const RunSnapshot& record);

}  // namespace velaron::result
