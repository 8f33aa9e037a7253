#include "run/accident_rate.h"

#include <algorithm>

#include "common/numtext.h"
#include "common/qt_text.h"
#include "run/run_texts.h"

namespace velaron::run {

std::optional<double> KoefDy(double diameterMm, const std::vector<db::KoefDyRow>& table) {
  if (diameterMm <= kKoefDySmallDiameter) return kKoefDySmallValue;
  if (diameterMm >= kKoefDyLargeDiameter) return kKoefDyLargeValue;
  // The rows run from the largest diameter down: stop at the first row not above the diameter.
  for (size_t i = 0; i < table.size(); ++i) {
    if (diameterMm < table[i].Dy) continue;
    if (i == 0) return std::nullopt;  // the table does not start above the diameter
    const double d1 = table[i].Dy, k1 = table[i].kreg;
    const double d0 = table[i - 1].Dy, k0 = table[i - 1].kreg;
    return (d0 - diameterMm) * (k1 - k0) / (d0 - d1) + k0;
  }
  return std::nullopt;  // the table ends above the diameter
}

AccidentRateResult ComputeAccidentRate(const result::RateInputs& rate, double diameterMm,
                                       const std::vector<db::RegionRow>& regions,
                                       const std::vector<db::KoefDyRow>& koefDy) {
  AccidentRateResult r;
  if (rate.way == 3) {
    // A probability: every later product with it would be meaningless outside 0..1.
    if (!(rate.alfa_tr >= 0 && rate.alfa_tr <= 1)) r.error = QString::fromUtf8(texts::kAccidentProbabilityRange);
    else r.AccidentRate = rate.alfa_tr;
    return r;
  }
  if (rate.RegionPos < 1 || rate.RegionPos > static_cast<int>(regions.size())) {
    r.error = QString::fromUtf8(texts::kNoRegion);
    return r;
  }
  const db::RegionRow& region = regions[static_cast<size_t>(rate.RegionPos - 1)];
  const auto k = KoefDy(diameterMm, koefDy);
  if (!k) {
    r.error = QString::fromUtf8("Таблица коэффициентов диаметра не содержит значения для диаметра трубы %1 мм")
                  .arg(NumberText(diameterMm));
    return r;
  }
  r.Kreg = region.Kreg;
  r.KoefDy = *k;
  r.regionName = region.Region;
  r.AccidentRate = rate.way == 1 ? region.lambda * *k : rate.Text8 * region.Kreg * *k;
  return r;
}

double ExternalFactorSum(const result::ExternalInputs& e) {
  return e.Check6 * e.Stih + e.Check5 * e.Eroz + e.Check7 * e.Zapor + e.Check8 * e.Rechper;
}

double CrossingSum(const Crossings& c) {
  double sum = 0;
  for (size_t i = 0; i < 4; ++i)
    if (c.ticked[i]) sum += c.probability[i];
  return sum;
}

double StoredCrossingSum(const Crossings& c) { return std::min(CrossingSum(c), 1.0); }

}  // namespace velaron::run
