// The calculation state of one run and the routines of the numerical core that fill it.
//
// Everything a model reads or writes is a field of CalcState (no globals): the settings, the derived
// quantities the run computes before a model, the scenario probabilities, the result grids, the zone
// radii and the direction words. The run fills the inputs, calls one model and copies the results into
// the record of the finished run. Names follow the program's own names for these quantities.
//
// Indexing: Grid is indexed from its negative bounds, (ix, iy) with ix in -nx..nx and iy in -ny..ny, x
// first. The small fixed tables (RadProfile, Profile, WorstDir) keep the program's 1-based numbering:
// element 0 of a dimension that counts from 1 exists but is never used. The zone tables count from 1
// through checked accessors (models/zone_tables.h), and the record of a finished run keeps them as they are.
#pragma once

#include <array>
#include <utility>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "models/calc_settings.h"
#include "models/progress.h"
#include "models/reftables.h"
#include "models/zone_tables.h"

namespace velaron::models {

// ---------------------------------------------------------------------------------------------------
// Errors

// A key outside the stored range of a reference table (gas temperature, pipe diameter, probit). The
// message is in Russian and is shown to the user as it stands.
struct TableRangeError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A refusal of inputs: the message as the window shows it (UTF-8), and the value refused as the headless
// driver adds it ("давление газа на участке 0,05 МПа"), which in the window the box holding the value shows.
struct Refusal {
  std::string message;
  std::string shown;  // empty when the message shows the value itself
};

// A model refused its inputs (a mass or a grid it cannot compute with). The message is shown as it stands;
// `shown` is the value refused, for the driver (Refusal).
struct ModelInputError : std::runtime_error {
  using std::runtime_error::runtime_error;
  explicit ModelInputError(const Refusal& r) : std::runtime_error(r.message), shown(r.shown) {}
  std::string shown;
};

// ---------------------------------------------------------------------------------------------------
// Grids

// A field on the calculation grid: cells (ix, iy), ix in -nx..nx, iy in -ny..ny; cell (ix, iy) holds the
// value at the point (ix·CStep, iy·CStep) metres from the rupture point, +x east, +y north. Storage is
// contiguous, one row per iy (row-major over y), so a grid row is a contiguous run of 2·nx + 1 doubles.
class Grid {
 public:
  Grid() = default;
  Grid(int nx, int ny) { resize(nx, ny); }

  // New bounds, every cell 0 (as re-dimensioning does).
  void resize(int nx, int ny) {
    nx_ = nx < 0 ? 0 : nx;
    ny_ = ny < 0 ? 0 : ny;
    cells_.assign(static_cast<std::size_t>(width()) * static_cast<std::size_t>(height()), 0.0);
  }
  void fill(double v) { cells_.assign(cells_.size(), v); }

  int nx() const { return nx_; }
  int ny() const { return ny_; }
  int width() const { return 2 * nx_ + 1; }
  int height() const { return 2 * ny_ + 1; }
  bool empty() const { return cells_.empty(); }
  bool contains(int ix, int iy) const { return ix >= -nx_ && ix <= nx_ && iy >= -ny_ && iy <= ny_; }
  bool sameBounds(const Grid& o) const { return nx_ == o.nx_ && ny_ == o.ny_; }

  double& operator()(int ix, int iy) { return cells_[index(ix, iy)]; }
  double operator()(int ix, int iy) const { return cells_[index(ix, iy)]; }
  // The cell, or 0 when (ix, iy) lies outside the grid.
  double at0(int ix, int iy) const { return contains(ix, iy) ? cells_[index(ix, iy)] : 0.0; }

  // Row iy as a pointer to its cell ix = -nx (the row holds width() cells).
  double* row(int iy) { return cells_.data() + static_cast<std::size_t>(iy + ny_) * width(); }
  const double* row(int iy) const { return cells_.data() + static_cast<std::size_t>(iy + ny_) * width(); }

  std::vector<double>& cells() { return cells_; }
  const std::vector<double>& cells() const { return cells_; }

 private:
  std::size_t index(int ix, int iy) const {
    return static_cast<std::size_t>(iy + ny_) * static_cast<std::size_t>(width()) + static_cast<std::size_t>(ix + nx_);
  }
  int nx_ = 0;
  int ny_ = 0;
  std::vector<double> cells_;
};

// A layered grid (layer, x, y) with layers 1..count, each a Grid of the same bounds.
class LayeredGrid {
 public:
  LayeredGrid() = default;
  LayeredGrid(int count, int nx, int ny) { resize(count, nx, ny); }
  void resize(int count, int nx, int ny) {
    layers_.assign(static_cast<std::size_t>(count < 0 ? 0 : count), Grid(nx, ny));
  }
  int count() const { return static_cast<int>(layers_.size()); }
  bool empty() const { return layers_.empty(); }
  Grid& layer(int k) { return layers_.at(static_cast<std::size_t>(k - 1)); }
  const Grid& layer(int k) const { return layers_.at(static_cast<std::size_t>(k - 1)); }
  double& operator()(int k, int ix, int iy) { return layer(k)(ix, iy); }
  double operator()(int k, int ix, int iy) const { return layer(k)(ix, iy); }

 private:
  std::vector<Grid> layers_;
};

// ---------------------------------------------------------------------------------------------------
// Settings and grid bounds

// Half the number of cells across: the grid runs -GridHalf(XLimit, CStep) .. +GridHalf(XLimit, CStep).
// The quotient is rounded to a whole number, halves to even.
int GridHalf(int limit, int step);

// Points of a radial profile: XLimit/(2·CStep) + 1, rounded.
int ProfilePoints(const CalcSettings& s);

// Which probit formula ProbitGrid applies (chosen by the caller, not by the scenario code).
enum class ProbitBranch { Thermal, Blast };

// Which flame the flux routine draws (chosen by the caller, not by the scenario code).
enum class FlameShape { Pit, Symmetric, Asymmetric };

// Compass directions 1..8 clockwise from north, in the dative for captions (index 0 unused). The second
// name is spelt with a Latin small letter o as its sixth letter, as the program always printed it.
inline const std::array<std::string, 9> kDirectionNames = {
    "",       "Северному",     "Северo-Восточному", "Восточному",      "Юго-Восточному",
    "Южному", "Юго-Западному", "Западному",         "Северо-Западному"};

// ---------------------------------------------------------------------------------------------------
// Quantities the run derives before a model (outflow, flame geometry); units as noted.

struct DerivedQuantities {
  double AccidentRate = 0;  // accidents per 1000 km a year
  double KoefDy = 0;        // diameter coefficient
  double ExtFactors = 0;    // sum of the external-factor probabilities (capped at 1)
  double p_v = 0;           // crossing sum of the section (capped at 1)
  double PitLength = 0;     // m
  double Davl = 0;          // gas pressure in the section, MPa
  double TempK = 0;         // gas temperature, K (a whole number)
  double Dtrub = 0;         // pipe diameter, m
  double AdiabK = 0;        // adiabatic index
  double SpecVolume = 0;    // m³/kg at Davl, TempK
  double SpeedOut = 0;      // outflow speed, m/s
  double SpecVolume0 = 0;   // m³/kg at 0.1 MPa, TempK
  double MassFlow = 0;      // kg/s
  double MassFireBall = 0;  // kg
  double MassGPVS = 0;      // kg
  double DEquiv = 0;        // equivalent jet diameter, m
  double LTorch = 0;        // jet-flame length in still air, m
  double LTorchBase = 0;    // copy of LTorch, base of the wind-corrected length
  double Ri = 0;            // Richardson term
  double Rw = 0;            // wind speed / outflow speed
  double W2 = 0;            // frustum width at the tip, m
  double KEllipse = 1;      // factor of the elliptic flame section
  double Tilt = 0;          // flame axis from the horizontal, rad
  double JetDir = 0;        // horizontal jet direction, rad
  double JetAngle = 0;      // jet elevation, rad
  double WindAngle = 0;     // rad
  double WindSpeed = 0;     // m/s
  double Azimut = 0;        // route azimuth, degrees
  // Asymmetric flame geometry; valid only when asymmetricComputed is true.
  bool asymmetricComputed = false;
  double LTorchWind = 0;  // m
  double KLift = 0;
  double LiftOff = 0;  // m
  double RL = 0;       // frustum length, m
  double C1 = 0;
  double W1 = 0;         // frustum width at the base, m
  double ConeAngle = 0;  // frustum half-angle, rad
};

// Per-year probabilities of the section's rupture and of each scenario; PIgnition is conditional on a
// rupture. The six shares are the jet-kind shares the run started with (winter: Pkw, Psw, Paw; summer:
// Pks, Pss, Pas).
struct ScenarioProbabilities {
  double PRuptureBase = 0;  // from the accident rate alone, before the external factors
  double PRupture = 0;
  double PIgnition = 0;
  double PKotlTorch = 0;
  double PSimmTorch = 0;
  double PAsimmTorch = 0;
  double PFireBall = 0;
  double PGPVS = 0;
  double Pkw = 0, Pks = 0, Psw = 0, Pss = 0, Paw = 0, Pas = 0;
};

// The named quantities of a run, in the order the driver prints them and the run checks them.
// The outflow and flame quantities.
inline constexpr std::pair<const char*, double DerivedQuantities::*> kDerivedFields[] = {
    {"AccidentRate", &DerivedQuantities::AccidentRate},
    {"KoefDy", &DerivedQuantities::KoefDy},
    {"ExtFactors", &DerivedQuantities::ExtFactors},
    {"p_v", &DerivedQuantities::p_v},
    {"PitLength", &DerivedQuantities::PitLength},
    {"Davl", &DerivedQuantities::Davl},
    {"TempK", &DerivedQuantities::TempK},
    {"Dtrub", &DerivedQuantities::Dtrub},
    {"AdiabK", &DerivedQuantities::AdiabK},
    {"SpecVolume", &DerivedQuantities::SpecVolume},
    {"SpeedOut", &DerivedQuantities::SpeedOut},
    {"SpecVolume0", &DerivedQuantities::SpecVolume0},
    {"MassFlow", &DerivedQuantities::MassFlow},
    {"MassFireBall", &DerivedQuantities::MassFireBall},
    {"MassGPVS", &DerivedQuantities::MassGPVS},
    {"DEquiv", &DerivedQuantities::DEquiv},
    {"LTorch", &DerivedQuantities::LTorch},
    {"Ri", &DerivedQuantities::Ri},
    {"Rw", &DerivedQuantities::Rw},
    {"W2", &DerivedQuantities::W2},
    {"KEllipse", &DerivedQuantities::KEllipse},
    {"Tilt", &DerivedQuantities::Tilt},
    {"JetDir", &DerivedQuantities::JetDir},
    {"JetAngle", &DerivedQuantities::JetAngle},
    {"WindAngle", &DerivedQuantities::WindAngle},
};
// The asymmetric frustum's quantities, present only when the run computed them.
inline constexpr std::pair<const char*, double DerivedQuantities::*> kAsymmetricFields[] = {
    {"LTorchWind", &DerivedQuantities::LTorchWind},
    {"KLift", &DerivedQuantities::KLift},
    {"LiftOff", &DerivedQuantities::LiftOff},
    {"RL", &DerivedQuantities::RL},
    {"W1", &DerivedQuantities::W1},
    {"ConeAngle", &DerivedQuantities::ConeAngle},
};
// The probabilities per year.
inline constexpr std::pair<const char*, double ScenarioProbabilities::*> kProbabilityFields[] = {
    {"PRupture", &ScenarioProbabilities::PRupture},
    {"PIgnition", &ScenarioProbabilities::PIgnition},
    {"PKotlTorch", &ScenarioProbabilities::PKotlTorch},
    {"PSimmTorch", &ScenarioProbabilities::PSimmTorch},
    {"PAsimmTorch", &ScenarioProbabilities::PAsimmTorch},
    {"PFireBall", &ScenarioProbabilities::PFireBall},
    {"PGPVS", &ScenarioProbabilities::PGPVS},
};

// ---------------------------------------------------------------------------------------------------
// The calculation state

using RadProfileTable = std::vector<std::array<double, 3>>;  // (0..N, 0..2): (i,1) percent, (i,2) distance m
using ProfileTable = std::vector<std::array<double, 4>>;     // (0..n, 0..3): (i,1) value, (i,2) m, (i,3) %

// The complex assessment's grids of each scenario it joins: the risk and the percent of injury of the
// explosion, the gas-air cloud, the fireball and the jet fires over a year (empty for the other runs).
struct ComplexGrids {
  Grid RiskExplosion, RiskGPVS, RiskFireBall, RiskTorch;
  Grid ProcExplosion, ProcGPVS, ProcFireBall, ProcTorch;
};

struct CalcState {
  CalcSettings settings;
  std::string progressTitle;  // what the progress window shows as the calculation's title

  DerivedQuantities derived;
  ScenarioProbabilities probabilities;

  // Result grids on the calculation grid (GridProc has one extra cell on every side, which stays 0).
  Grid GridValue;   // overpressure, Pa, or heat flux, kW/m²
  Grid GridImpuls;  // blast impulse, Pa·s
  Grid GridProbit;
  Grid GridProc;          // probability of injury, % (0 .. 99.99)
  Grid GridRisk;          // individual risk, per year
  LayeredGrid LayerFlux;  // layers 1..6 by ScenarioKind
  LayeredGrid LayerProc;  // layers 1..8 by ScenarioKind
  ComplexGrids complex;

  RadProfileTable RadProfile;
  ZoneTables zones;                     // CurZones, ZoneR, ZoneRDir
  std::array<double, 8> RadiusDP{};     // distances at which overpressure falls through 300 .. 3 kPa
  std::array<std::string, 3> WorstDir;  // [1] number "1".."8", [2] dative name
  ProfileTable Profile;

  double RFireBall = 0;  // fireball radius Ds/2, m
  double TFireBall = 0;  // fireball lifetime, s

  // Grid bounds from the settings.
  int nx() const { return GridHalf(settings.XLimit, settings.CStep); }
  int ny() const { return GridHalf(settings.YLimit, settings.CStep); }
  // Dimensions a grid to the calculation grid, all cells 0.
  void dimension(Grid& g) const { g.resize(nx(), ny()); }
};

// ---------------------------------------------------------------------------------------------------
// Table lookups and interpolation (no database: over the tables loaded for the run)

enum class GasColumn { cp, v };

// Property of the gas at the pressure 10·Davl bar and the temperature TempK: interpolated in temperature
// within the two tables that bracket the pressure, then in pressure (cp linearly; v through p·v).
// Throws TableRangeError for a temperature outside a table or a pressure of 300 bar or more.
double GetGasProperty(const ReferenceTables& tables, GasColumn column, double Davl, double TempK);

// The temperatures, K, that GetGasProperty answers for at every pressure from pLowMPa to pHighMPa: the
// range common to every gas-property table read there. Nothing when a pressure is outside the tables
// (not above 0 or not below 30 MPa) or the tables share no range.
struct TemperatureRange {
  double low = 0, high = 0;
};
std::optional<TemperatureRange> GasTemperatureRange(const ReferenceTables& tables, double pLowMPa, double pHighMPa);

// Specific volume at the pressure P between the tables at P1 (v1) and P2 (v2): p·v is interpolated
// linearly and divided by P, since v itself falls roughly as 1/p. At P1 or P2 the table's own value.
double InterpolateSpecificVolume(double v1, double v2, double P, double P1, double P2);

// Pit length, m, for the pipe diameter D, m. Throws TableRangeError outside the table, naming the diameter as
// `typedMm` when given (a tiny diameter typed in millimetres is 0 once divided by 1000).
double GetLp(const ReferenceTables& tables, double D, std::optional<double> typedMm = std::nullopt);

// The probits below which no one is injured (0 %) and from which everyone is (99,99 %).
inline constexpr double kNoInjuryProbit = 2.67;
inline constexpr double kSureInjuryProbit = 7.33;

// Probability of injury, %, for a probit: 99.99 above 7.33, 0 below 2.67, else from the probit table.
// Throws TableRangeError for a probit in 2.67..7.33 that the table does not bracket.
double ProbitToPercent(const ReferenceTables& tables, double pr);

// y0 + (x − x0)·(y1 − y0)/dx, with dx = 0 taken as 0.001 (so x = x0 gives y0).
double RowInterp(double y0, double y1, double x, double x0, double dx);

// y1 + (x − x1)·(y2 − y1)/(x2 − x1); with x1 = x2 the result is y2.
double LinInterp(double x, double x1, double x2, double y1, double y2);

inline double MaxValue(double a, double b) { return a < b ? b : a; }
inline double MinValue(double a, double b) { return a < b ? a : b; }

// ---------------------------------------------------------------------------------------------------
// Whole-grid routines over the calculation grid of `s` (cells visited by coordinate, y outer).

void ScaleGrid(Grid& Dst, const Grid& Src, double factor, const CalcSettings& s);
void CopyGrid(Grid& Dst, const Grid& Src, const CalcSettings& s);
void GetGridLayer(Grid& Dst, const LayeredGrid& Src, const CalcSettings& s, int K);
void MaxOverLayers(Grid& Dst, const LayeredGrid& Src, const CalcSettings& s, int N);
void ScaleGridCap100(Grid& G, double factor, const CalcSettings& s);
void MaxIntoLayer(LayeredGrid& Dst, const Grid& Src, const CalcSettings& s, int K);

// ---------------------------------------------------------------------------------------------------
// Probit, percent, risk, zone radii

// Fills GridProbit and GridProc from GridValue (and GridImpuls for the blast branch); rows in parallel.
// It reports no steps of its own (the field's rows are the steps) but stops with Cancelled on a cancel.
void ProbitGrid(CalcState& s, ProbitBranch branch, const ReferenceTables& tables, Progress& progress = NoProgress());

// Percent of injury for one probit: < 2.67 gives 0, ≥ 7.33 gives 99.99, else the probit table.
double PercentFromProbit(const ReferenceTables& tables, double pr);

// Re-dimensions GridProc (one-cell margin) and fills it from GridProbit; no steps, stops on a cancel.
void PercentGrid(CalcState& s, const ReferenceTables& tables, Progress& progress = NoProgress());

// RadProfile along +x from GridProc: (i,1) = GridProc(i − 1, 0), (i,2) = (i − 1)·CStep, i = 1..N.
void FillRadProfile(CalcState& s);

// CurZones(1..4) from RadProfile (radii of the 99.99, 50, 33 and 1 % levels, 2 decimals, 0 if not attained).
void ZoneRadii(CalcState& s);

// GridRisk := probability × 0.01 × GridProc on a freshly dimensioned GridRisk.
void FillRisk(CalcState& s, double probability);

// ---------------------------------------------------------------------------------------------------
// Scenario models. Each reads its inputs and the state, fills the result grids and radii, reports its
// rows to `progress` under s.progressTitle, and throws Cancelled when the user stops it; the state then
// holds partial results, so a caller that must keep the previous results runs the model on a copy of the
// state and keeps the copy only when the model returns. A refusal (ModelInputError, TableRangeError)
// comes before anything is changed. None writes a file.

struct ExplosionInputs {
  double D = 0;  // pipe diameter, m
};
struct FireBallInputs {
  double M = 0;     // fireball mass, kg
  double Prob = 0;  // per year
};
struct GPVSInputs {
  double M = 0;         // cloud mass, kg
  double Prob = 0;      // per year
  double qg = 0;        // heat of combustion of the gas, kJ/kg
  int DangerClass = 0;  // hazard class of the gas (3..6 have a flame speed)
};
struct SimmTorchInputs {
  FlameShape shape = FlameShape::Symmetric;  // Pit (code 3) or Symmetric (code 5)
  double Prob = 0;                           // per year
};
struct AsimmTorchInputs {
  double D = 0;                // pipe diameter, m (for the pit length)
  double Prob = 0;             // per year
  double Glubina = 0;          // burial depth of the pipe, m
  bool worstDirection = true;  // find the worst direction and its profile (run scenario 4)
};

// Physical explosion: GridValue (Pa), GridImpuls, GridProbit, GridProc, GridRisk, ZoneR(7), RadiusDP.
// Reads derived.Davl, derived.AdiabK, probabilities.PRupture.
void RaschetExplosion(CalcState& s, const ExplosionInputs& in, const ReferenceTables& tables,
                      Progress& progress = NoProgress());

// Fireball: GridValue (kW/m²), GridProbit, GridProc, GridRisk, ZoneR(6), RFireBall, TFireBall.
void RaschetFireBall(CalcState& s, const FireBallInputs& in, const ReferenceTables& tables,
                     Progress& progress = NoProgress());

// Gas-air cloud: GridValue (Pa), GridImpuls, GridProbit, GridProc, GridRisk, ZoneR(8), RadiusDP.
void RaschetGPVS(CalcState& s, const GPVSInputs& in, const ReferenceTables& tables, Progress& progress = NoProgress());

// The refusals of the fireball and the gas-air cloud: each model makes its check first and changes nothing
// when it refuses.
void CheckFireBallInputs(const CalcState& s, const FireBallInputs& in);
void CheckGPVSInputs(const CalcState& s, const GPVSInputs& in);

// Flame-flux argument block of one jet flame (the constants the callers pass).
struct TorchFluxArgs {
  double BaseZ = 0;  // vertical offset of the flame base, m (asymmetric jet)
  double BaseX = 0;  // offset along the flame direction, m (asymmetric jet)
  double Emissivity = 0.1939;
  double FlameTemp = 1720.0;  // K
  double FlameTilt = 0;       // rad
  int Hr = 0;                 // height of the receiving point, m
  double Dir = 0;             // horizontal flame direction, rad
  double Shift = 0;           // twice the displacement of the flame base along x, m
};

// Pit or symmetric jet fire: GridValue, GridProbit, GridProc, GridRisk, ZoneRDir(1), ZoneR(1), CurZones,
// WorstDir, Profile.
void RaschetSimmTorch(CalcState& s, const SimmTorchInputs& in, const ReferenceTables& tables,
                      Progress& progress = NoProgress());

// Asymmetric jet fire (four jets): LayerFlux(5), LayerProc(5), GridValue, GridProbit, GridProc, GridRisk,
// ZoneRDir(5), ZoneR(5), and with worstDirection CurZones, WorstDir, Profile.
void RaschetAsimmTorch(CalcState& s, const AsimmTorchInputs& in, const ReferenceTables& tables,
                       Progress& progress = NoProgress());

}  // namespace velaron::models
