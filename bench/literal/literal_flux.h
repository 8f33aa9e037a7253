// The heat flux of one jet flame written the plain way, one row per call, every quantity recomputed where
// the method states it (sines and cosines per patch, the column as a whole number of metres). The fast
// routine is checked and timed against it.
#pragma once

#include <string>

#include "models/calc_state.h"

namespace velaron::models::literal {

// Fills row Y (m) of s.GridValue with the flux of the flame `shape`, reading LTorch, KEllipse, W1, W2,
// RL, ConeAngle and WindAngle from s.derived and XLimit, CStep from s.settings. The arguments keep the
// order of the routine's fourteen: Spare3, Spare5 and Spare8 are not read; Radius receives the flame
// radius; X is the column counter and is left at the first coordinate past the row's end.
void TorchFluxGrid(CalcState& s, FlameShape shape, double BaseZ, double BaseX, double Spare3, double Emissivity,
                   double Spare5, double FlameTemp, double& Radius, double Spare8, double FlameTilt, int& X, int Y,
                   int Hr, double Dir, double Shift);

// Every row of the grid through the routine above, in order (the way the models loop it).
void TorchFluxField(CalcState& s, FlameShape shape, const TorchFluxArgs& args);

}  // namespace velaron::models::literal

namespace velaron::models::testdata {

// Reference tables made up for the jet tests and benchmarks (not the shipped database): a probit table
// from the normal distribution, percent = 100·Φ(Pr − 5), at every 0.01 from 2.67 to 7.33, and a
// pit-length table rising linearly from 20 m at D = 0.5 m to 50 m at D = 1.5 m.
ReferenceTables SyntheticTables();

// A calculation state on a grid of the given widths and step, holding a plausible jet flame: flame length
// 150 m, 3 m/s wind (KEllipse 0.7) from the north, tilt 75°, escape speed 1 m/s; for the asymmetric jet
// a frustum 4 m wide at its base and 50 m at its tip, 110 m long, lifted off by 12 m, at 25° elevation,
// route azimuth 30°.
CalcState JetState(int xLimit, int yLimit, int cStep);

// Counts the steps announced and reported, and asks to stop once `stopAfter` steps are done (never when
// negative).
class CountingProgress : public Progress {
 public:
  explicit CountingProgress(int stopAfter = -1) : stopAfter_(stopAfter) {}
  void begin(const std::string&, int steps) override { planned += steps; }
  void step() override { ++done; }
  bool cancelled() const override { return stopAfter_ >= 0 && done >= stopAfter_; }
  int planned = 0;
  int done = 0;

 private:
  int stopAfter_;
};

}  // namespace velaron::models::testdata
