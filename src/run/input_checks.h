// Range checks of the numbers a run starts from, shared by the main window (on leaving a box and before a
// run) and by the run's own checks (the headless driver reads them from a file): every probability within
// 0..1, percentages within 0..100, lengths, rates and the line pressures not negative, the burial depth up to
// 100 m (no trunk pipeline lies deeper, and the crater and flame base are not drawn for more), the route
// azimuth any finite number (whatever turn it is on, it is used modulo 360°).
// Each refusal names the field as the main window labels it.
#pragma once

#include <QString>
#include <limits>

#include "models/calc_state.h"
#include "models/settings_rules.h"
#include "models/reftables.h"
#include "result/run_request.h"

namespace velaron::run {

// One field's allowed values: [low, high]; an unbounded side is ±infinity. Non-numbers and infinities are
// refused.
struct InputRange {
  const char* field;  // the field's caption
  double low;
  double high;
};

inline constexpr double kNoBound = std::numeric_limits<double>::infinity();

inline constexpr InputRange kTempRange{"Температура газа, °С", -273, 1000};
inline constexpr InputRange kDepthRange{"Глубина залегания, м", 0, 100};
// The line pressures at the two ends: the section's pressure between them can come out above 0 with one of
// them below it. Their upper bound, that of the gas tables, is checked with the run's own message.
inline constexpr InputRange kPressureFromRange{"Давление газа в начале газопровода, МПа", 0, kNoBound};
inline constexpr InputRange kPressureToRange{"Давление газа в конце газопровода, МПа", 0, kNoBound};
inline constexpr InputRange kInversRange{
    "Среднегодовая относительная повторяемость инверсионной устойчивости атмосферы, %", 0, 100};
inline constexpr InputRange kAccidentsPer1000kmRange{"Количество аварий на 1000 км газопровода в год", 0, kNoBound};
inline constexpr InputRange kAccidentProbabilityRange{
    "Вероятность возникновения хотя бы одной аварии на газопроводе (1 км) в течение года", 0, 1};
inline constexpr InputRange kExternalRanges[4] = {{"Вероятность эрозии почвы", 0, 1},
                                                  {"Вероятность стихийных бедствий", 0, 1},
                                                  {"Вероятность влияния запорных арматур", 0, 1},
                                                  {"Вероятность влияния речных переходов", 0, 1}};
inline constexpr InputRange kCrossingRange{"Вероятность влияния пересечения на возгорание", 0, 1};
inline constexpr InputRange kLengthRange{"Длина участка, м", 0, kNoBound};
inline constexpr InputRange kDistanceRange{"Удаление начала участка от точки начала газопровода, м", 0, kNoBound};
inline constexpr InputRange kAzimuthRange{"Азимут трубопровода, °", -kNoBound, kNoBound};
// The section's sum over its four crossings, each at most 1: above 1 it is taken as 1 with a note, but a sum
// below 0 or above 4 is no sum of them at all (a slip the cap would hide).
inline constexpr InputRange kCrossingSumRange{"Сумма вероятностей влияния пересечений на возгорание", 0, 4};

// Empty when `value` is within the range; else the message naming the field, the value and the bounds.
QString CheckRange(double value, const InputRange& range);

// The first input of the request (and of the run's section) outside its range, as a message; empty when
// all are within them. Only the inputs the request uses are checked: the rate of its way, the ticked
// external factors.
QString CheckInputRanges(const result::RunRequest& request, const db::SectionRow& section);

// A window's caption as a refusal names its field: on one line, without the colon that ends it.
QString FieldName(const char* caption);

// The value a refusal leaves to the window's box beside it, as the driver adds it: "<field>: значение <value>".
QString ShownValue(const QString& field, const QString& value);

// The settings window's caption of a setting, by its field or by its key in the driver's file (nullptr for a
// key of no setting).
const char* SettingCaption(models::SettingsField field);
const char* SettingCaption(const QString& key);

// The refused setting of the settings rule `field`, named by the settings window's caption, with its value
// as `s` holds it.
QString SettingShown(models::SettingsField field, const models::CalcSettings& s);

// The setting that makes the fireball's mass (outflow · `Tfb` · `Dola`) too small to compute with: the smaller of
// the two numbers (a mass that small comes from a setting near 0; the other is then of the order of 1 or more).
models::SettingsField FireBallSetting(double Tfb, double Dola);
// The same of the cloud's mass (outflow · `Tobl` · `Dola_obl`).
models::SettingsField CloudSetting(double Tobl, double Dola_obl);

// The refusal of a setting (named by the settings window's `caption`) whose `value` makes `quantity` no finite
// number: too large, or with `tooSmall` too small.
QString SettingOverflows(const char* caption, double value, const char* quantity, bool tooSmall = false);

// Pressure of the still air into which the gas flows out, MPa: the run reads the gas tables there too.
inline constexpr double kAmbientPressureMPa = 0.1;

// The temperature, K, at which the run reads the gas tables for a gas temperature typed in °C: whole
// degrees + 273, as the method counts.
double TableTemperatureK(double tempC);

// The refusal of a gas temperature that the gas-property tables do not cover, in the units of the main
// window: `tempC` as typed, `tempK` the temperature the tables are read at, for every pressure from pLowMPa
// to pHighMPa and at the still-air pressure; it names the range allowed there in °C. Empty when the tables
// cover it, and when a pressure is outside the tables (the pressure's own check speaks then).
QString CheckGasTemperature(const models::ReferenceTables& tables, double tempC, double tempK, double pLowMPa,
                            double pHighMPa);

// The scenario probabilities the inputs give, each within 0..1. The rupture probability is the base one
// times (1 + the external factors): a section whose accident rate makes the base near 1 would get a
// "probability" up to 2. Empty when all pass; else the message naming the first that does not.
QString CheckScenarioProbabilities(const models::ScenarioProbabilities& p);

}  // namespace velaron::run
