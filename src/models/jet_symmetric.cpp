#include "models/jet_symmetric.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "models/flame_flux.h"
#include "models/probit.h"

namespace velaron::models {

namespace {
// Both flames of this model, pit and symmetric, write the first row of the zone tables.
constexpr ScenarioKind kSimmTorchRow = ScenarioKind::PitWinter;
}  // namespace

CompassStep DirectionStep(int d) {
  switch (d) {
    case 1: return {0, 1, false};
    case 2: return {1, 1, true};
    case 3: return {1, 0, false};
    case 4: return {1, -1, true};
    case 5: return {0, -1, false};
    case 6: return {-1, -1, true};
    case 7: return {-1, 0, false};
    case 8: return {-1, 1, true};
    default: throw std::out_of_range("compass direction must be 1..8");
  }
}

double DirectionDistance(int d, int k, int cStep) {
  if (DirectionStep(d).diagonal) return std::sqrt(2.0) * cStep * k;
  return static_cast<double>(k) * cStep;
}

double DirectionValue(const Grid& g, int d, int k) {
  const CompassStep st = DirectionStep(d);
  return g.at0(st.dx * k, st.dy * k);
}

void FillDirectionProfile(CalcState& s, int d) {
  const int n = ProfilePoints(s.settings);
  s.RadProfile.assign(static_cast<std::size_t>(n) + 1, {0.0, 0.0, 0.0});
  for (int i = 1; i <= n; ++i) {
    s.RadProfile[i][1] = DirectionValue(s.GridProc, d, i - 1);
    s.RadProfile[i][2] = DirectionDistance(d, i - 1, s.settings.CStep);
  }
}

void DirectionZoneRadii(CalcState& s, ScenarioKind jetCase) {
  for (int d = 1; d <= kDirections; ++d) {
    FillDirectionProfile(s, d);
    ZoneRadii(s);
    s.zones.ZoneRDir(jetCase, d) = s.zones.CurZones();
  }
}

void ClearZoneRRow(CalcState& s, ScenarioKind kind) { s.zones.ZoneR(kind).fill(0); }

void RaiseZoneR(CalcState& s, ScenarioKind jetCase) {
  ZoneRow& row = s.zones.ZoneR(jetCase);
  for (int d = 1; d <= kDirections; ++d)
    for (int z = 1; z <= kZoneLevels; ++z)
      if (s.zones.ZoneRDir(jetCase, d)(z) > row(z)) row(z) = s.zones.ZoneRDir(jetCase, d)(z);
}

void FindWorstDirection(CalcState& s, ScenarioKind jetCase) {
  ZoneRow& cur = s.zones.CurZones();
  for (int z = kZoneLevels; z >= 1; --z) {
    cur(z) = 0;
    for (int d = 1; d <= kDirections; ++d) {
      if (s.zones.ZoneRDir(jetCase, d)(z) > cur(z)) {
        cur(z) = s.zones.ZoneRDir(jetCase, d)(z);
        s.WorstDir[1] = std::to_string(d);
      }
    }
  }
}

void FillWorstProfile(CalcState& s) {
  int d = 1;
  for (int k = 1; k <= 8; ++k)
    if (s.WorstDir[1] == std::to_string(k)) d = k;
  s.WorstDir[2] = kDirectionNames[d];
  const int n = ProfilePoints(s.settings);
  s.Profile.assign(static_cast<std::size_t>(n) + 1, {0.0, 0.0, 0.0, 0.0});
  for (int i = 1; i <= n; ++i) {
    s.Profile[i][1] = DirectionValue(s.GridValue, d, i - 1);
    s.Profile[i][2] = DirectionDistance(d, i - 1, s.settings.CStep);
    s.Profile[i][3] = DirectionValue(s.GridProc, d, i - 1);
  }
}

int FieldRows(const CalcState& s) { return 2 * s.ny() + 1; }

void RaschetSimmTorch(CalcState& s, const SimmTorchInputs& in, const ReferenceTables& tables, Progress& progress) {
  if (in.shape == FlameShape::Asymmetric)
    throw std::invalid_argument("RaschetSimmTorch draws the pit or the symmetric flame only");
  // Refuse a flame that cannot be computed before anything of the state changes.
  CheckFlame(in.shape, FlameInputsFrom(s.derived), s.derived.Tilt);

  // No worst direction until this run finds one.
  s.WorstDir[1].clear();
  s.WorstDir[2].clear();

  progress.begin(s.progressTitle, FieldRows(s));
  s.derived.JetDir = 0;
  TorchFluxArgs args;
  args.FlameTilt = s.derived.Tilt;
  args.Dir = s.derived.JetDir;
  TorchFluxField(s, in.shape, args, progress);

  // The probit field reports no rows of its own, but still stops when the user cancels.
  CancelOnlyProgress cancelOnly(progress);
  ProbitGrid(s, ProbitBranch::Thermal, tables, cancelOnly);

  s.zones.clearDirections();
  DirectionZoneRadii(s, kSimmTorchRow);
  ClearZoneRRow(s, kSimmTorchRow);
  RaiseZoneR(s, kSimmTorchRow);

  FillRisk(s, in.Prob);

  FindWorstDirection(s, kSimmTorchRow);
  FillWorstProfile(s);
}

}  // namespace velaron::models
