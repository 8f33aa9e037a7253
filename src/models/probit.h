// Probit formulas and the escape-distance search of the thermal probit field.
#pragma once

#include <cstdint>
#include <vector>

#include "models/calc_state.h"

namespace velaron::models {

// Heat flux at or below which a person is safe, kW/m²: the escape ends at the nearest such cell.
inline constexpr double kSafeFlux = 4.0;

// Slope of the injury probit of a blast: Pr = 5 − 0.26·ln((17500/ΔP)^8.4 + (290/I)^9.3). The gas-air
// cloud once used 0.22 here, a slip that made its zones wider than the same blast from an explosion.
inline constexpr double kBlastProbitSlope = 0.26;

// Injury probit of a blast with overpressure dP (Pa) and impulse I (Pa·s); 0 where either is not positive.
double BlastProbit(double dP, double I);

// Injury probit of a heat flux q (kW/m²) endured for t seconds.
double ThermalProbit(double q, double t);

// Exposure time, s, of a person who reacts in 5 s and then runs the distance d (m) at `speed` (m/s).
inline double EscapeTime(double d, double speed) { return 5 + d / speed; }

// Escape distances of a thermal field. A person in a hot cell (flux above kSafeFlux) runs to the nearest
// safe cell that lies strictly farther from the centre in both coordinates, or to the nearest grid edge
// when that is nearer. The answer equals that of examining every cell of the grid; the search visits
// only the grid columns that can still hold a nearer safe cell, through per-column tables of the next
// safe row and per-row tables of the next column that has one.
class EscapeSearch {
 public:
  EscapeSearch(const Grid& flux, const CalcSettings& s);
  // The escapes over the whole of `flux`, whose cells lie `step` m apart, in a grid whose edges stand
  // `xHalf` and `yHalf` m from the centre: `flux` may be the middle of a larger grid, when every cell of
  // that grid beyond it is safe and so is its own border (the nearest safe cell then always lies in it).
  EscapeSearch(const Grid& flux, int step, double xHalf, double yHalf);
  // Escape distance, m, from cell (ix, iy).
  double distance(int ix, int iy) const;

 private:
  static constexpr std::int32_t kNone = INT32_MIN;
  std::size_t colIndex(int ix, int iy) const {
    return static_cast<std::size_t>(ix + nx_) * static_cast<std::size_t>(h_) + static_cast<std::size_t>(iy + ny_);
  }
  std::size_t rowIndex(int iy, int ix) const {
    return static_cast<std::size_t>(iy + ny_) * static_cast<std::size_t>(w_) + static_cast<std::size_t>(ix + nx_);
  }
  EscapeSearch(const Grid& flux, int nx, int ny, int step, double xHalf, double yHalf);
  // Nearest safe cell in the columns on one side (sx = ±1) of the rows beyond row t (sy = ±1).
  void scan(int ix, int iy, int sx, int sy, double& best) const;

  int nx_, ny_, w_, h_;
  double step_, xHalf_, yHalf_;
  std::vector<std::int32_t> up_;         // [column][row]: lowest safe row ≥ row, or kNone
  std::vector<std::int32_t> down_;       // [column][row]: highest safe row ≤ row, or kNone
  std::vector<std::int32_t> upRight_;    // [row][column]: first column ≥ column with up_ set, or kNone
  std::vector<std::int32_t> upLeft_;     // [row][column]: last column ≤ column with up_ set, or kNone
  std::vector<std::int32_t> downRight_;  // the same for down_
  std::vector<std::int32_t> downLeft_;
};

// A progress that passes on only the cancel request (for the stages after the field, which report no
// steps of their own but still stop when the user cancels).
class CancelOnlyProgress : public Progress {
 public:
  explicit CancelOnlyProgress(Progress& inner) : inner_(inner) {}
  bool cancelled() const override { return inner_.cancelled(); }

 private:
  Progress& inner_;
};

}  // namespace velaron::models
