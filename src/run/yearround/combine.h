// The arithmetic that joins the jet cases of a year and the scenarios of the complex assessment: the
// year-round percent of one cell, the seasons' share of the asymmetric jet, the largest zone radii with
// the "not found" mark that sticks and the direction of the largest zone.
#pragma once

#include <string>

#include "models/calc_state.h"
#include "result/run_request.h"

namespace velaron::run::yearround {

// How the asymmetric jet's percent grid is split between the seasons: the summer term is weighted by
// the days above 0 °C, the winter term by the rest of the year (364 days as the year is counted here).
struct SeasonSplit {
  double winter = 0;
  double summer = 0;
};
inline constexpr int kYearDays = 364;
SeasonSplit AsymmetricSeasonSplit(int warmDays);

// The year-round percent of injury of one cell from the six jet-case percents (pit, symmetric and
// asymmetric jet in winter and in summer) and the jet-kind shares: per season, each kind's share × percent
// times the chances of being missed by the two other kinds, the two seasons weighing one half each.
double YearRoundPercent(const result::JetShares& sh, double Kw, double Sw, double Aw, double Ks, double Ss, double As);

// A radius of −1 means "zone not found inside the grid". Combining radii keeps the largest, but once one
// of them is −1 the result is −1 and stays so. Returns the combined radius; `raised` tells whether r
// became the new largest (a strict increase, never on −1).
inline constexpr double kRadiusNotFound = -1.0;
double CombineRadius(double current, double r, bool* raised = nullptr);

// CurZones(z), z = 1..4, as the largest radius over the jet cases 5 down to 1 and the directions 1..8
// of ZoneRDir (sticky −1), levels visited 4 down to 1. WorstDir[1] becomes the direction of the last
// strict increase (ties keep the direction met first); with no increase at all it stays as it was.
void CombineJetRadii(models::ZoneTables& zones, std::array<std::string, 3>& worstDir);

// CurZones(z), z = 1..4, as the largest radius over the rows 1..9 of ZoneR (sticky −1).
void CombineCaseRadii(models::ZoneTables& zones);

// The percent of injury of the largest jet heat flux is kept in a grid of its own (GridProc after the
// year-round assessment, ProcTorch in the complex assessment), never in LayerProc layer 4, which keeps the
// symmetric summer case. The complex assessment takes it into its largest percent with this.
void MaxWithLargestJetFluxPercent(models::Grid& proc, const models::Grid& jetFluxPercent,
                                  const models::CalcSettings& s);

// LayerFlux (6 layers) and LayerProc (8 layers) as the run makes them; re-made empty when they are missing
// or do not fit the grid.
void EnsureRunLayers(models::CalcState& s);

}  // namespace velaron::run::yearround
