#include "models/jet_asymmetric.h"

#include <cmath>

#include "common/numtext.h"
#include "common/pi.h"
#include "models/flame_flux.h"
#include "models/jet_symmetric.h"
#include "models/probit.h"

namespace velaron::models {

namespace {

// Layers of LayerFlux and LayerProc the run dimensions (1..6 and 1..8); the jet-flame window does not.
constexpr int kFluxLayers = 6;
constexpr int kProcLayers = 8;
// The asymmetric jet's row of the zone tables and its layer.
constexpr ScenarioKind kAsymmetric = ScenarioKind::Asymmetric;
constexpr int kAsymmetricLayer = LayerOf(kAsymmetric);

// The layered grids must exist over the calculation grid before the jets raise layer 5.
void EnsureLayers(CalcState& s) {
  const int nx = s.nx(), ny = s.ny();
  auto fits = [&](const LayeredGrid& g, int count) {
    return g.count() >= count && g.layer(kAsymmetricLayer).nx() == nx && g.layer(kAsymmetricLayer).ny() == ny &&
           !g.layer(kAsymmetricLayer).empty();
  };
  if (!fits(s.LayerFlux, kAsymmetricLayer)) s.LayerFlux.resize(kFluxLayers, nx, ny);
  if (!fits(s.LayerProc, kAsymmetricLayer)) s.LayerProc.resize(kProcLayers, nx, ny);
}
}  // namespace

double AsimmTorchRiskProbability(const ScenarioProbabilities& p) { return p.PAsimmTorch; }

std::array<double, 4> AsimmJetDirections(double A) {
  return {(-A + 20) * kPi / 180, (-A - 20) * kPi / 180, (-A - 160) * kPi / 180, (-A - 200) * kPi / 180};
}

AsimmFlameBase AsimmFlameBaseFor(double jetAngle, double liftOff, double pitLength, double depth, int cStep) {
  AsimmFlameBase b;
  b.Z0 = std::sin(jetAngle) * (std::cos(jetAngle) * pitLength / 2 + liftOff) - depth;
  b.X0 = std::cos(jetAngle) * liftOff;
  b.Shift = (ToIntHalfEven(pitLength / 2) / cStep) * cStep;
  return b;
}

TorchFluxArgs AsimmJetArgs(const AsimmFlameBase& base, double tilt, double dir) {
  TorchFluxArgs args;
  args.BaseZ = base.Z0;
  args.BaseX = base.X0;
  args.FlameTilt = tilt;
  args.Dir = dir;
  args.Shift = base.Shift;
  return args;
}

void RaschetAsimmTorch(CalcState& s, const AsimmTorchInputs& in, const ReferenceTables& tables, Progress& progress) {
  // Refuse a flame that cannot be computed before anything of the state changes; the jets work with
  // the jet's own elevation as their tilt.
  CheckFlame(FlameShape::Asymmetric, FlameInputsFrom(s.derived), s.derived.JetAngle);
  const double Lp = GetLp(tables, in.D);

  // No worst direction until this run finds one.
  s.WorstDir[1].clear();
  s.WorstDir[2].clear();
  EnsureLayers(s);

  s.derived.Tilt = s.derived.JetAngle;
  const AsimmFlameBase base = AsimmFlameBaseFor(s.derived.Tilt, s.derived.LiftOff, Lp, in.Glubina, s.settings.CStep);

  progress.begin(s.progressTitle, 4 * FieldRows(s));
  {
    // The jets lie along the route whatever the wind's direction; the state keeps the wind's angle.
    struct FrameAngle {
      double& angle;
      const double kept;
      explicit FrameAngle(double& a) : angle(a), kept(a) { angle = kAsimmJetFrameAngle; }
      ~FrameAngle() { angle = kept; }
    } frame(s.derived.WindAngle);
    for (double dir : AsimmJetDirections(s.derived.Azimut)) {
      s.derived.JetDir = dir;
      TorchFluxField(s, FlameShape::Asymmetric, AsimmJetArgs(base, s.derived.Tilt, s.derived.JetDir), progress);
      // The jets combine by maximum, never by sum.
      MaxIntoLayer(s.LayerFlux, s.GridValue, s.settings, kAsymmetricLayer);
    }
  }
  GetGridLayer(s.GridValue, s.LayerFlux, s.settings, kAsymmetricLayer);

  // The probit field reports no rows of its own, but still stops when the user cancels.
  CancelOnlyProgress cancelOnly(progress);
  ProbitGrid(s, ProbitBranch::Thermal, tables, cancelOnly);
  MaxIntoLayer(s.LayerProc, s.GridProc, s.settings, kAsymmetricLayer);

  for (ZoneRow& dir : s.zones.directions(kAsymmetric)) dir.fill(0.0);
  DirectionZoneRadii(s, kAsymmetric);
  ClearZoneRRow(s, kAsymmetric);
  RaiseZoneR(s, kAsymmetric);

  if (in.worstDirection) {
    FindWorstDirection(s, kAsymmetric);
    FillWorstProfile(s);
  }

  FillRisk(s, in.Prob);
}

}  // namespace velaron::models
