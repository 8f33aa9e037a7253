#include "run/input_checks.h"

#include <algorithm>
#include <cmath>

#include "common/numtext.h"
#include "common/qt_text.h"
#include "run/run_texts.h"

namespace velaron::run {

QString CheckRange(double value, const InputRange& r) {
  if (value >= r.low && value <= r.high && std::isfinite(value)) return {};
  const QString field = QString::fromUtf8(r.field);
  // A value just beyond a bound is shown with the digits that set it apart from the bound.
  const double bound = value < r.low ? r.low : r.high;
  const QString shown = std::isfinite(value) ? QStringLiteral("значение %1").arg(NumberTextBeyond(value, bound))
                                             : QStringLiteral("не число");
  QString bounds;
  if (std::isinf(r.low) && std::isinf(r.high)) bounds = QStringLiteral("должно быть конечным числом");
  else if (std::isinf(r.high)) bounds = QStringLiteral("должно быть не меньше %1").arg(NumberText(r.low));
  else bounds = QStringLiteral("должно быть от %1 до %2").arg(NumberText(r.low), NumberText(r.high));
  return QStringLiteral("%1: %2, а %3. Проверте правильность ввода!").arg(field, shown, bounds);
}

QString FieldName(const char* caption) {
  // Without the run of blanks that lays a caption out over two lines.
  QString name = QString::fromUtf8(caption).simplified();
  if (name.endsWith(QLatin1Char(':'))) name.chop(1);
  return name;
}

QString ShownValue(const QString& field, const QString& value) {
  return QStringLiteral("%1: значение %2").arg(field, value);
}

namespace {
// The settings by their field and their key in the driver's file, with the settings window's caption.
struct SettingName {
  models::SettingsField field;
  const char* key;
  const char* caption;
};
constexpr SettingName kSettingNames[] = {
    {models::SettingsField::XLimit, "XLimit", velaron::texts::kXLimitCaption},
    {models::SettingsField::YLimit, "YLimit", velaron::texts::kYLimitCaption},
    {models::SettingsField::CStep, "CStep", velaron::texts::kCStepCaption},
    {models::SettingsField::Skor_chel, "Skor_chel", velaron::texts::kSkorChelCaption},
    {models::SettingsField::Tfb, "Tfb", velaron::texts::kTfbCaption},
    {models::SettingsField::Dola, "Dola", velaron::texts::kDolaCaption},
    {models::SettingsField::Tobl, "Tobl", velaron::texts::kToblCaption},
    {models::SettingsField::Dola_obl, "Dola_obl", velaron::texts::kDolaOblCaption}};
}  // namespace

const char* SettingCaption(models::SettingsField field) {
  for (const SettingName& n : kSettingNames)
    if (n.field == field) return n.caption;
  return nullptr;
}

const char* SettingCaption(const QString& key) {
  for (const SettingName& n : kSettingNames)
    if (key == QLatin1String(n.key)) return n.caption;
  return nullptr;
}

QString SettingShown(models::SettingsField field, const models::CalcSettings& s) {
  using F = models::SettingsField;
  // The numbers the rules refuse them beyond: a fraction's nearer end, the times' and the speed's 0.
  const auto fraction = [](double x) { return RefusedText(x, x < 0 ? 0 : 1); };
  const auto value = [&]() -> QString {
    switch (field) {
      case F::CStep: return NumberText(s.CStep);
      case F::XLimit: return NumberText(s.XLimit);
      case F::YLimit: return NumberText(s.YLimit);
      case F::Skor_chel: return RefusedText(s.Skor_chel, 0);
      case F::Tfb: return RefusedText(s.Tfb, 0);
      case F::Dola: return fraction(s.Dola);
      case F::Tobl: return RefusedText(s.Tobl, 0);
      case F::Dola_obl: return fraction(s.Dola_obl);
    }
    return {};
  };
  return ShownValue(FieldName(SettingCaption(field)), value());
}

models::SettingsField FireBallSetting(double Tfb, double Dola) {
  return Dola < Tfb ? models::SettingsField::Dola : models::SettingsField::Tfb;
}

models::SettingsField CloudSetting(double Tobl, double Dola_obl) {
  return Dola_obl < Tobl ? models::SettingsField::Dola_obl : models::SettingsField::Tobl;
}

QString SettingOverflows(const char* caption, double value, const char* quantity, bool tooSmall) {
  return QString::fromUtf8(texts::kSettingOverflows)
      .arg(FieldName(caption), NumberText(value), tooSmall ? QStringLiteral("мало") : QStringLiteral("велико"),
           QString::fromUtf8(quantity));
}

QString CheckInputRanges(const result::RunRequest& request, const db::SectionRow& section) {
  const result::PipelineInputs& p = request.pipeline;
  const std::pair<double, const InputRange*> checks[] = {
      {p.DavlDown, &kPressureFromRange}, {p.DavlUp, &kPressureToRange},    {p.Temp, &kTempRange},
      {p.Glubina, &kDepthRange},         {p.InversPercent, &kInversRange}, {section.Length, &kLengthRange},
      {section.Udal, &kDistanceRange},   {section.Azimut, &kAzimuthRange}, {section.p_v, &kCrossingSumRange}};
  for (const auto& [value, range] : checks)
    if (QString e = CheckRange(value, *range); !e.isEmpty()) return e;
  if (request.rate.way == 2)
    if (QString e = CheckRange(request.rate.Text8, kAccidentsPer1000kmRange); !e.isEmpty()) return e;
  if (request.rate.way == 3)
    if (QString e = CheckRange(request.rate.alfa_tr, kAccidentProbabilityRange); !e.isEmpty()) return e;
  const result::ExternalInputs& x = request.external;
  const std::pair<int, double> factors[4] = {
      {x.Check5, x.Eroz}, {x.Check6, x.Stih}, {x.Check7, x.Zapor}, {x.Check8, x.Rechper}};
  for (int i = 0; i < 4; ++i)
    if (factors[i].first)
      if (QString e = CheckRange(factors[i].second, kExternalRanges[i]); !e.isEmpty()) return e;
  return {};
}

double TableTemperatureK(double tempC) { return ToIntHalfEven(tempC) + 273; }

QString CheckGasTemperature(const models::ReferenceTables& tables, double tempC, double tempK, double pLowMPa,
                            double pHighMPa) {
  const auto atPressure = models::GasTemperatureRange(tables, pLowMPa, pHighMPa);
  const auto still = models::GasTemperatureRange(tables, kAmbientPressureMPa, kAmbientPressureMPa);
  if (!atPressure || !still) return {};
  const double low = std::max(atPressure->low, still->low), high = std::min(atPressure->high, still->high);
  if (tempK >= low && tempK <= high) return {};
  if (pLowMPa > pHighMPa) std::swap(pLowMPa, pHighMPa);
  // Two decimals, or the digits that keep the pressure off the tables' ends (0,004 MPa is no "0").
  auto shown = [](double mpa) {
    const double r = Round2(mpa);
    return r > 0 && r < models::kGasTablePressures.back() / 10 ? NumberText(r) : NumberTextBeyond(mpa, r);
  };
  const QString pressure =
      pLowMPa == pHighMPa ? shown(pLowMPa) : QStringLiteral("от %1 до %2").arg(shown(pLowMPa), shown(pHighMPa));
  return QStringLiteral(
             "Температура газа %1 °С вне таблиц свойств газа: при давлении %2 МПа температура газа должна "
             "быть от %3 до %4 °С. Проверте правильность ввода!")
      .arg(NumberTextBeyond(tempC, tempK < low ? low - 273 : high - 273), pressure, NumberText(low - 273),
           NumberText(high - 273));
}

QString CheckScenarioProbabilities(const models::ScenarioProbabilities& p) {
  // Named as the reports name them.
  const std::pair<const char*, double> all[] = {
      {"гильотинного разрушения газопровода", p.PRupture},   {"возгорания", p.PIgnition},
      {"формирования котлованного факела", p.PKotlTorch},    {"формирования симметричного факела", p.PSimmTorch},
      {"формирования асимметричного факела", p.PAsimmTorch}, {"формирования огневого шара", p.PFireBall},
      {"формирования газо-паровоздушного облака", p.PGPVS}};
  for (const auto& [name, value] : all)
    if (!(value >= 0 && value <= 1))
      return QStringLiteral(
                 "Вероятность %1 (%2) вне пределов от 0 до 1: частота аварий слишком велика "
                 "для участка такой длины. Проверте правильность ввода!")
          .arg(QString::fromUtf8(name), NumberTextBeyond(value, value < 0 ? 0 : 1));
  return {};
}

}  // namespace velaron::run
