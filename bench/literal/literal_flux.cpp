#include "literal/literal_flux.h"

#include <cmath>

#include "common/numtext.h"

namespace velaron::models::literal {

namespace {
constexpr double Pi = 3.14159265358979;
constexpr double TwoPi = 6.28318530717958;

double Round(double x, int digits) { return RoundHalfEven(x, digits); }
}  // namespace

void TorchFluxGrid(CalcState& s, FlameShape shape, double BaseZ, double BaseX, double /*Spare3*/, double Emissivity,
                   double /*Spare5*/, double FlameTemp, double& Radius, double /*Spare8*/, double FlameTilt, int& X,
                   int Y, int Hr, double Dir, double Shift) {
  const DerivedQuantities& d0 = s.derived;
  const double XLimit = s.settings.XLimit;
  const double CStep = s.settings.CStep;
  const double T = FlameTilt;
  const double K = d0.KEllipse;

  // 1. Geometry.
  double R = 0, A = 0, L = 0;
  if (shape == FlameShape::Asymmetric) {
    R = (d0.W2 - d0.W1) / 2;
    A = d0.ConeAngle;
    L = d0.RL;
  } else if (shape == FlameShape::Symmetric) {
    R = 0.65 * d0.LTorch * K;
    L = 0.6 * d0.LTorch * (1 + std::sin(T));
    A = std::atan(R / L);
  } else {
    R = 0.4 * d0.LTorch * K;
    L = 0.5 * d0.LTorch * (1 + std::sin(T));
    A = std::atan(R / L);
  }
  Radius = R;
  const double D = std::sqrt(L * L + R * R);
  auto rho = [&](double u) { return R * u / D; };

  // 2. Emissive power.
  const double E = Emissivity * 5.67e-11 * std::exp(4 * std::log(FlameTemp));
  // 3. Steps.
  const double ds = 0.025 * R;
  const double dtheta = ds / R;
  const double N = TwoPi / dtheta;
  // 4. Start values.
  double rho0 = 0, s0 = 0;
  if (shape == FlameShape::Asymmetric) {
    rho0 = d0.W1 / 2;
    s0 = (d0.W1 / 2) * D / R;
  } else {
    rho0 = R * ds / D;
    s0 = ds;
  }
  // 5. First column.
  X = ToIntHalfEven(-XLimit / 2 + Shift / 2);

  double q = 0;
  while (X <= XLimit / 2 + Shift / 2) {
    // 6.
    const double r = std::sqrt(static_cast<double>(X) * X + static_cast<double>(Y) * Y);
    if (r != 0) {
      // 7.
      q = 0;
      const double w = r < rho0 ? 1.0 : rho0 / r;
      const double psi = std::atan(std::sqrt(1 - w * w) / w);
      // 8.
      const double phi = std::atan2(static_cast<double>(Y), static_cast<double>(X)) + d0.WindAngle - Dir;
      const double xr = Round(r * std::cos(phi), 2);
      const double yr = Round(r * std::sin(phi), 2);
      // 9.
      for (double sl = s0; sl < D; sl += 2 * ds) {
        const double rho1 = rho(sl);
        const double a = sl * std::cos(A);
        const double dS = Pi * (rho(sl - ds) + rho(sl + ds)) * 2 * ds;
        const double dA = dS / N;
        for (double th = phi - psi; th <= phi + psi; th += dtheta) {
          // Normal.
          const double Px = L * std::cos(T) + BaseX, Py = 0, Pz = L * std::sin(T) + BaseZ;
          const double Qx = rho1 * std::cos(th) * std::sin(T) + L * std::cos(T) + BaseX;
          const double Qy = rho1 * std::sin(th);
          const double Qz = L * std::sin(T) - rho1 * std::cos(th) * std::cos(T) + BaseZ;
          const double Cx = Py * Qz - Pz * Qy;
          const double Cy = Pz * Qx - Px * Qz;
          const double Cz = Px * Qy - Py * Qx;
          const double Mx = Qy * Cz - Qz * Cy;
          const double My = Qz * Cx - Qx * Cz;
          const double Mz = Qx * Cy - Qy * Cx;
          // Line of sight.
          const double Q1x = rho1 * std::cos(th) * std::sin(T) + L * std::cos(T);
          const double Q1y = rho1 * std::sin(th);
          const double Q1z = L * std::sin(T) - rho1 * std::cos(th) * std::cos(T);
          const double Vx = xr - Q1x, Vy = yr - Q1y, Vz = Hr - Q1z;
          double cosb = std::fabs(Vx * Mx + Vy * My + Vz * Mz) /
                        (std::sqrt(Vx * Vx + Vy * Vy + Vz * Vz) * std::sqrt(Mx * Mx + My * My + Mz * Mz));
          if (cosb <= 0) cosb = 0;
          // Patch on the elliptic section.
          const double e = std::sqrt(1 - K * K);
          const double rth = K * K * rho1 / (1 - e * std::cos(th));
          const double Xs = Round(rth * std::cos(th) * std::sin(T) + a * std::cos(T), 3);
          const double Ys = rth * std::sin(th);
          const double Zs = a * std::sin(T) - Round(rho1 * std::cos(th) * std::cos(T), 4);
          const double dist = std::sqrt((xr - Xs) * (xr - Xs) + (yr - Ys) * (yr - Ys) + Zs * Zs);
          if (cosb <= 1) {
            const double tau = std::exp(-0.0007 * dist);
            double dq = E * tau * dA * cosb / (Pi * dist * dist);
            if (dq <= 0) dq = 0;
            q = q + dq;
          }
        }
      }
    }
    // 12.
    const int ix = ToIntHalfEven(X / CStep - (Shift / 2) / CStep);
    const int iy = ToIntHalfEven(Y / CStep);
    s.GridValue(ix, iy) = q;
    // 13.
    X = X + static_cast<int>(CStep);
  }
}

void TorchFluxField(CalcState& s, FlameShape shape, const TorchFluxArgs& args) {
  const int first = ToIntHalfEven(-s.settings.YLimit / 2.0);
  const int last = ToIntHalfEven(s.settings.YLimit / 2.0);
  double radius = 0;
  for (int j = first; j <= last; j += s.settings.CStep) {
    int X = 0;
    TorchFluxGrid(s, shape, args.BaseZ, args.BaseX, 1.5, args.Emissivity, 0.0, args.FlameTemp, radius, 200.0,
                  args.FlameTilt, X, j, args.Hr, args.Dir, args.Shift);
  }
}

}  // namespace velaron::models::literal

namespace velaron::models::testdata {

ReferenceTables SyntheticTables() {
  ReferenceTables t;
  for (int i = 267; i <= 733; ++i) {
    const double pr = i / 100.0;
    t.probit.push_back({pr, 100.0 * 0.5 * std::erfc(-(pr - 5.0) / std::sqrt(2.0))});
  }
  for (int i = 0; i <= 10; ++i) {
    const double D = 0.5 + 0.1 * i;
    t.lp.push_back({D, 20.0 + 30.0 * (D - 0.5)});
  }
  return t;
}

CalcState JetState(int xLimit, int yLimit, int cStep) {
  CalcState s;
  s.settings.XLimit = xLimit, s.settings.YLimit = yLimit, s.settings.CStep = cStep, s.settings.Skor_chel = 1;
  DerivedQuantities& d = s.derived;
  d.LTorch = 150, d.KEllipse = 0.7, d.WindSpeed = 3;
  d.WindAngle = 0 * 3.14159265358979 / 180 + 3.14159265358979 / 2;
  d.Tilt = 75 * 3.14159265358979 / 180;
  d.JetAngle = 25.0 / 180 * 3.14159265358979;
  d.Azimut = 30;
  d.asymmetricComputed = true;
  d.W1 = 4, d.W2 = 50, d.RL = 110, d.LiftOff = 12, d.Dtrub = 1.02;
  d.ConeAngle = std::atan(((d.W2 - d.W1) / 2) / d.RL);
  s.dimension(s.GridValue);
  s.LayerFlux.resize(6, s.nx(), s.ny());
  s.LayerProc.resize(8, s.nx(), s.ny());
  return s;
}

}  // namespace velaron::models::testdata
