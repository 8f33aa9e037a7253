// The physical explosion, fireball and gas-air cloud models on a small grid with synthetic tables.
#include <gtest/gtest.h>

#include <cmath>

#include "models/calc_state.h"
#include "models/explosion.h"
#include "models/fireball.h"
#include "models/gpvs.h"
#include "literal/literal_flux.h"
#include "models/model_steps.h"
#include "models/parallel.h"
#include "models/probit.h"
#include "models/synthetic_tables.h"

namespace velaron::models {
namespace {

using testing::SyntheticTables;

CalcState Prepared(int limit = 200, int step = 10) {
  CalcState s;
  s.settings.XLimit = s.settings.YLimit = limit;
  s.settings.CStep = step;
  s.settings.Skor_chel = 5;
  s.derived.Davl = 5;  // MPa
  s.derived.AdiabK = 1.3;
  s.probabilities.PRupture = 2e-4;
  s.progressTitle = "Сценарий \"Взрыв\"";
  return s;
}

// Overpressure profiles along +x (step 10 m), worked by hand: each radius is x − 10 + (T − a)·10/(b − a) in
// the segment where a ≥ T > b, rounded to 2 decimals, halves to even; the outermost crossing wins; a cell
// exactly at a level reaches it; levels not crossed give 0.
TEST(ThresholdRadii, InterpolatedInTheCrossingSegment) {
  struct Case {
    double row[11], radii[8];
  };
  const Case cases[] = {
      // 300 kPa: 100000/200000·10 = 5; 100: 10 + 100000/140000·10 = 17.14; 70: 10 + 130000/140000·10 = 19.29;
      // 50: 20 + 10000/35000·10 = 22.86; 30: 20 + 30000/35000·10 = 28.57; 20: 30 + 5000/14900·10 = 33.36;
      // 10: 40 + 100/8000·10 = 40.125, the half to the even 40.12; 3 kPa is crossed first at 48.875 m, then
      // again between 60 and 70 m: 65.
      {{400000, 200000, 60000, 25000, 10100, 2100, 4000, 2000, 1000, 1000, 1000},
       {5, 17.14, 19.29, 22.86, 28.57, 33.36, 40.12, 65}},
      // 50 kPa: 10000/30000·10 = 3.33; 30, 20 and 3 kPa exactly at 10, 20 and 40 m; 10: 20 + 10000/15000·10.
      {{60000, 30000, 20000, 5000, 3000, 2000, 1000, 1000, 1000, 1000, 1000}, {0, 0, 0, 3.33, 10, 20, 26.67, 40}},
      // 80 kPa falling to 70 kPa at the edge: 300 and 100 never attained, 70 .. 3 not yet crossed.
      {{80000, 79000, 78000, 77000, 76000, 75000, 74000, 73000, 72000, 71000, 70000}, {0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    CalcState s = Prepared(200, 10);
    s.dimension(s.GridValue);
    for (int i = 0; i <= 10; ++i) s.GridValue(i, 0) = c.row[i];
    s.GridValue(3, 1) = 1e9;  // off the axis: not read
    s.RadiusDP.fill(99);
    ThresholdRadii(s);
    for (int k = 0; k < 8; ++k) EXPECT_DOUBLE_EQ(s.RadiusDP[k], c.radii[k]) << c.row[0] << " level " << k;
  }
}

// ---------------------------------------------------------------------------------------------------
// Physical explosion

// The expansion energy's exponent is (k − 1)/k: for k = 1.3 it is 0.2308. It was written k − 1/k = 0.5308,
// which is no thermodynamic exponent at all and made the TNT mass of the example below 117.0 kg instead
// of 79.47 kg.
TEST(Explosion, ExpansionExponentIsKMinusOneOverK) {
  EXPECT_DOUBLE_EQ(ExpansionExponent(1.3), 0.3 / 1.3);
  EXPECT_DOUBLE_EQ(ExpansionExponent(1.4), 0.4 / 1.4);
  // By hand, 5 MPa, k = 1.3, D = 1 m, L = 15 m: P = 5e7, E = (5e7/56)·(1 − 0.02026^0.2308)/0.3
  // = 1.76591e6; M = 0.7854·0.7168·49.358^0.7692·15 = 169.50 kg; m = M·1.2·E/4.52e6 = 79.465 kg.
  EXPECT_NEAR(TntMass(5, 1.3, 1.0, 15), 79.465, 0.001);
}

// ---------------------------------------------------------------------------------------------------
// Fireball

// The air absorbs 7.0e-4 per metre beyond the ball's surface. With the 7e-5 once used, the flux of a
// 2.54·10⁵ kg ball at 500 m came out 16.3 kW/m² instead of the published check value of about 12.9.
TEST(FireBall, SizeAndPublishedCheckOfALargeBall) {
  EXPECT_EQ(kFireBallAttenuation, 7.0e-4);
  const FireBallSize big = FireBallOf(2.54e5);
  EXPECT_NEAR(big.Ds, 312, 0.5);
  EXPECT_NEAR(big.ts, 40, 0.1);
  EXPECT_NEAR(FireBallFlux(big.Ds, 500), 12.9, 0.05);
  // 5.33·1000^0.327 = 5.33·9.5722 = 51.02 m; 0.92·1000^0.303 = 0.92·8.1096 = 7.461 s.
  EXPECT_NEAR(FireBallOf(1000).Ds, 51.02, 0.005);
  EXPECT_NEAR(FireBallOf(1000).ts, 7.46, 0.005);
}

// ---------------------------------------------------------------------------------------------------
// Gas-air cloud

// The cloud's injury probit is 5 − 0.26·ln V, as for any blast; it was once 5 − 0.22·ln V, which at
// V = 10 gave 4.49 instead of 4.40 and so a larger probability of injury far out.
// One cell worked by hand: 5000 kg of a gas of 50000 kJ/kg, E = 2.5·10^11 J, class 4 (175 m/s). At
// (60, 20) m, r = 63.246 m, Rx = 63.246/(2.5·10^11/101300)^(1/3) = 0.46801. Detonation: Px = 1.33146,
// Ix = 0.064222; deflagration: Px1 = (175/343)²·6/7·(0.83/Rx − 0.14/Rx²) = 0.253086, Ix1 = 0.0539317.
// ΔP = 0.253086·101300 = 25637.6 Pa; I = 0.0539317·101300^(2/3)·(2.5·10^11)^(1/3)/343 = 2152.47 Pa·s.
TEST(GPVS, ModelFillsEveryResultWithTheBlastProbitSlope) {
  EXPECT_EQ(kBlastProbitSlope, 0.26);
  CalcState s = Prepared(400, 10);
  testdata::CountingProgress progress;
  RaschetGPVS(s, {5000, 1e-5, 50000, 4}, SyntheticTables(), progress);
  EXPECT_EQ(progress.done, 41);
  const double dP = s.GridValue(6, 2), I = s.GridImpuls(6, 2);
  EXPECT_NEAR(dP, 25637.6, 0.1);
  EXPECT_NEAR(I, 2152.47, 0.01);
  const double V = std::pow(17500 / dP, 8.4) + std::pow(290 / I, 9.3);
  EXPECT_NEAR(s.GridProbit(6, 2), 5 - 0.26 * std::log(V), 1e-12);
}

}  // namespace
}  // namespace velaron::models
