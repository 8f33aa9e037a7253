#include "result/printed_texts.h"

#include "common/numtext.h"
#include "common/qt_text.h"
#include "common/texts.h"
#include "result/zone_texts.h"

namespace velaron::result {

namespace {

QString TypedOr(const QString& typed, const QString& otherwise) { return typed.isEmpty() ? otherwise : typed; }

// The run dialog's lift-angle box keeps its first text: the run's asymmetric jet rises at a fixed 25°.
constexpr const char* kRunLiftAngle = "25";

}  // namespace

PrintedTexts PrintedTextsOf(const RunSnapshot& r) {
  PrintedTexts t;
  const RunRequest& req = r.request;
  const MainWindowTexts& typed = req.texts;
  t.ScenarioName = TypedOr(typed.ScenarioName, U(FactsOf(r.scenario()).dialogName));
  t.Mestn = typed.Mestn;
  t.gasName = TypedOr(typed.gasName, r.gas.VName);
  t.regionName = TypedOr(typed.regionName, r.regionName);
  t.cityName = TypedOr(typed.cityName, r.town ? r.town->CityName : QString());
  t.diameterText = TypedOr(typed.diameterText, NumberText(req.pipeline.Diametr));
  t.TempText = TypedOr(typed.temperatureText, NumberText(req.pipeline.Temp));
  t.DavlText = QString::fromStdString(FormatFixed(r.derived.Davl, 2));
  // The jet-flame window's pipe is no route section: it has no length and its window no season.
  const bool routeSection = !req.jetFlame;
  if (routeSection) t.LengthText = NumberText(req.section.Length);
  t.groundNames = typed.groundNames;
  if (routeSection) t.MeteoText[0] = U(texts::kSeasonNames[req.run.season == 1 ? 1 : 0]);
  // The reports' weather lines give the wind speed as it was typed ("2,50" stays "2,50"); the input sheet
  // of the workbook gives the number.
  t.WindSpeedText = NumberText(req.run.WindSpeed);
  t.MeteoText[1] = TypedOr(typed.windSpeedText, t.WindSpeedText);
  const int direction = r.WindDir / 45;
  if (direction >= 0 && direction < static_cast<int>(texts::kWindDirectionNames.size()))
    t.MeteoText[2] = U(texts::kWindDirectionNames[static_cast<size_t>(direction)]);
  t.liftAngleText = U(kRunLiftAngle);
  const models::ZoneRow& zones = r.zones.CurZones();
  for (int z = 1; z <= models::kZoneLevels; ++z) t.zoneTexts[static_cast<size_t>(z - 1)] = RadiusText(zones(z));
  t.zoneTexts[4] = SafeZoneText(zones(4));
  t.distanceTitle = U(kDistanceAxisTitle);
  t.damageTitle = U(r.isOverpressure() ? kOverpressureAxisTitle : kFluxAxisTitle);
  t.percentTitle = U(kPercentAxisTitle);
  return t;
}

}  // namespace velaron::result
