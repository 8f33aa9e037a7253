// Accident rate of the pipeline and the two probability sums of the main window, as plain functions over
// the run request and the database rows, so that the main window, the run and the headless driver all
// compute them the same way.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "db/rows.h"
#include "result/run_request.h"

namespace velaron::run {

// Diameter coefficient outside the table: small pipes up to this diameter take the small-pipe value,
// large pipes from this diameter on take the large-pipe value; between them the table is read.
inline constexpr double kKoefDySmallDiameter = 529;  // mm
inline constexpr double kKoefDySmallValue = 1.43;
inline constexpr double kKoefDyLargeDiameter = 1420;  // mm
inline constexpr double kKoefDyLargeValue = 0.31;

// Diameter coefficient for a pipe of `diameterMm`. Between the two end diameters the rows (stored from the
// largest diameter down) are scanned to the first row whose Dy is at most the diameter, and the value is
// taken on the straight line through that row and the one before it. Nothing when the table does not
// bracket the diameter (the rows are data the user may have edited badly).
std::optional<double> KoefDy(double diameterMm, const std::vector<db::KoefDyRow>& table);

struct AccidentRateResult {
  double AccidentRate = 0;  // per 1000 km a year (ways 1, 2) or the typed probability (way 3)
  double Kreg = 0;          // regional factor (ways 1, 2)
  double KoefDy = 0;        // diameter coefficient (ways 1, 2)
  QString regionName;       // the chosen region (ways 1, 2)
  QString error;            // not empty: the calculation was refused with this message
  bool ok() const { return error.isEmpty(); }
};

// The accident rate by the chosen way: 1 the region's lambda x KoefDy, 2 Text8 x the region's Kreg x
// KoefDy, 3 the typed probability unchanged (refused outside 0..1). `regions` are the rows of `Statistics` in stored
// order (RegionPos counts from 1), `koefDy` the rows of `tabKoef_Dy` in stored order.
AccidentRateResult ComputeAccidentRate(const result::RateInputs& rate, double diameterMm,
                                       const std::vector<db::RegionRow>& regions,
                                       const std::vector<db::KoefDyRow>& koefDy);

// Sum of the probabilities of the ticked external factors (`ExtFactors`); not capped here.
double ExternalFactorSum(const result::ExternalInputs& ext);

// The four crossings of a route section in the order of their flags dpp1..dpp4: road, power line, other
// pipeline, cable line.
struct Crossings {
  std::array<int, 4> ticked{};          // dpp1..dpp4 (0/1)
  std::array<double, 4> probability{};  // P_avto, P_LEP, P_tr, P_kab
};

// Sum of the probabilities of the ticked crossings (`p_v` of the window), not capped.
double CrossingSum(const Crossings& c);
// What the section row stores: the sum, or 1 when the sum is above 1.
double StoredCrossingSum(const Crossings& c);

}  // namespace velaron::run
