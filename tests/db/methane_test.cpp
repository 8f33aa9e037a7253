// The methane equation of state and the property tables it makes.
#include <QFile>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "db_test_util.h"
#include "methane_eos.h"

namespace velaron::methane {
namespace {

// The published check values of the equation (Setzmann and Wagner, 1991).
TEST(MethaneEos, PublishedPressuresAndTheInverse) {
  // At Tc and ρc the equation gives pc = 4.5992 MPa, printed to the pascal.
  EXPECT_NEAR(Pressure(kTc, kRhoc), 4599200.0, 1.0);
  // 209.6204 K at 9125.2152 mol/m³ gives 7 085 356.49 Pa, printed to the hundredth of a pascal.
  EXPECT_NEAR(Pressure(209.6204, 9125.2152), 7085356.49, 0.005);
  // Newton's solution must give back the pressure it was asked for, across the tables' whole range.
  for (int bar : kTablePressuresBar)
    for (double t : {223.0, 250.5, 300.0, 373.0})
      EXPECT_NEAR(Pressure(t, Density(t, bar * 1e5)), bar * 1e5, bar * 1e5 * 1e-12) << bar << " bar, " << t << " K";
  // At 1 bar and 300 K methane is close to an ideal gas: v ≈ RT/(pM) = 8.31451·300/(1e5·0.0160428)
  // = 1.5548 m³/kg, within 0.3 % (the compressibility there is about 0.998).
  EXPECT_NEAR(PropertiesAt(300.0, 1e5).v, 8.31451 * 300.0 / (1e5 * 0.0160428), 1.5548 * 0.003);
}

// The check table of the shipped rows: cp in kJ/(kg·K) to 4 decimals and v in m³/kg to 6 decimals at
// 263, 283 and 303 K, copied from the reference values kept with the data.
TEST(MethaneEos, CheckTableToItsPrintedDigits) {
  struct CheckRow {
    int bar;
    double cp263, v263, cp283, v283, cp303, v303;
  };
  const CheckRow check[] = {
      {1, 2.1639, 1.359402, 2.1995, 1.463648, 2.2428, 1.567800},
      {12, 2.2588, 0.109924, 2.2764, 0.119178, 2.3064, 0.128326},
      {26, 2.4013, 0.048748, 2.3867, 0.053382, 2.3948, 0.057896},
      {60, 2.8752, 0.019057, 2.7186, 0.021501, 2.6441, 0.023786},
      {70, 3.0517, 0.015839, 2.8325, 0.018050, 2.7254, 0.020092},
      {80, 3.2414, 0.013448, 2.9517, 0.015481, 2.8089, 0.017338},
      {100, 3.6309, 0.010185, 3.1953, 0.011946, 2.9780, 0.013532},
      {150, 4.1717, 0.006353, 3.6671, 0.007563, 3.3408, 0.008697},
      {200, 4.0225, 0.004959, 3.7662, 0.005753, 3.5132, 0.006561},
      {300, 3.5984, 0.003948, 3.5485, 0.004364, 3.4672, 0.004814},
  };
  for (const CheckRow& c : check) {
    const double cps[] = {c.cp263, c.cp283, c.cp303}, vs[] = {c.v263, c.v283, c.v303};
    for (int k = 0; k < 3; ++k) {
      const Properties p = PropertiesAt(263 + 20 * k, c.bar * 1e5);
      EXPECT_NEAR(p.cp, cps[k], 0.5e-4 + 1e-12) << c.bar << " bar, " << 263 + 20 * k << " K";
      EXPECT_NEAR(p.v, vs[k], 0.5e-6 + 1e-12) << c.bar << " bar, " << 263 + 20 * k << " K";
    }
  }
}

}  // namespace
}  // namespace velaron::methane
