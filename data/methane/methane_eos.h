// Pure methane from the reference equation of state of Setzmann and Wagner (J. Phys. Chem. Ref. Data 20
// (1991) 1061): reduced Helmholtz energy as an ideal part plus 36 residual and 4 Gaussian terms. The
// gas-property tables of the program's database are computed from it (see generate_tables.cpp).
#pragma once

#include <array>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace velaron::methane {

inline constexpr double kTc = 190.564;        // K
inline constexpr double kRhoc = 10139.128;    // mol/m³
inline constexpr double kR = 8.31451;         // J/(mol·K)
inline constexpr double kMolarMass = 16.0428;  // g/mol

// Ideal part: α⁰ = ln δ + a1 + a2·τ + c0·ln τ + Σ n·ln(1 − exp(−θ·τ)); a1, a2 drop out of cp and v.
inline constexpr double kIdealC0 = 3.0016;
inline constexpr std::array<double, 5> kIdealN = {0.008449, 4.6942, 3.4865, 1.6572, 1.4115};
inline constexpr std::array<double, 5> kIdealTheta = {3.400432401, 10.26951575, 20.43932747, 29.93744884,
                                                      79.13351945};

// Residual terms n·δ^d·τ^t, times exp(−δ^l) when l > 0.
inline constexpr std::array<int, 36> kD = {1, 1, 1, 2, 2, 2, 2, 3, 4, 4, 8, 9, 10, 1, 1, 1, 2, 4,
                                           5, 6, 1, 2, 3, 4, 4, 3, 5, 5, 8, 2, 3, 4, 4, 4, 5, 6};
inline constexpr std::array<int, 36> kL = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1,
                                           1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4};
inline constexpr std::array<double, 36> kT = {-0.5, 0.5, 1, 0.5, 1,  1.5, 4.5, 0,  1,  3,  1,  3,
                                              3,    0,   1, 2,   0, 0,   2,   2,  5,  5,  5,  2,
                                              4,    12,  8, 10,  10, 10,  14,  12, 18, 22, 18, 14};
inline constexpr std::array<double, 36> kN = {
    0.04367901028,   0.6709236199,   -1.765577859,     0.8582330241,  -1.206513052,  0.512046722,
    -0.0004000010791, -0.01247842423, 0.03100269701,    0.001754748522, -3.171921605e-6, -2.24034684e-6,
    2.947056156e-7,  0.1830487909,   0.1511883679,     -0.4289363877, 0.06894002446, -0.01408313996,
    -0.0306305483,   -0.02969906708, -0.01932040831,   -0.1105739959, 0.09952548995, 0.008548437825,
    -0.06150555662,  -0.04291792423, -0.0181320729,    0.0344590476,  -0.00238591945, -0.01159094939,
    0.06641693602,   -0.0237154959,  -0.03961624905,   -0.01387292044, 0.03389489599, -0.002927378753};

// Gaussian terms n·δ^d·τ^t·exp(−η(δ − 1)² − β(τ − γ)²).
inline constexpr std::array<double, 4> kGN = {9.324799946e-5, -6.287171518, 12.71069467, -6.423953466};
inline constexpr std::array<int, 4> kGD = {2, 0, 0, 0};
inline constexpr std::array<double, 4> kGT = {2, 0, 1, 2};
inline constexpr std::array<double, 4> kGEta = {20, 40, 40, 40};
inline constexpr std::array<double, 4> kGBeta = {200, 250, 250, 250};
inline constexpr std::array<double, 4> kGGamma = {1.07, 1.11, 1.11, 1.11};

// Derivatives of the residual part, each multiplied by its powers of δ and τ so that they stay finite.
struct Residual {
  double d = 0;    // δ·αʳ_δ
  double dd = 0;   // δ²·αʳ_δδ
  double tt = 0;   // τ²·αʳ_ττ
  double dt = 0;   // δ·τ·αʳ_δτ
};

inline Residual ResidualTerms(double delta, double tau) {
  Residual r;
  for (std::size_t i = 0; i < kN.size(); ++i) {
    const double dl = kL[i] > 0 ? std::pow(delta, kL[i]) : 0.0;
    const double f = kN[i] * std::pow(delta, kD[i]) * std::pow(tau, kT[i]) * (kL[i] > 0 ? std::exp(-dl) : 1.0);
    const double a = kD[i] - kL[i] * dl;  // δ·∂ln f/∂δ
    r.d += f * a;
    r.dd += f * (a * (a - 1.0) - kL[i] * kL[i] * dl);
    r.tt += f * kT[i] * (kT[i] - 1.0);
    r.dt += f * kT[i] * a;
  }
  for (std::size_t i = 0; i < kGN.size(); ++i) {
    const double f = kGN[i] * std::pow(delta, kGD[i]) * std::pow(tau, kGT[i]) *
                     std::exp(-kGEta[i] * (delta - 1) * (delta - 1) - kGBeta[i] * (tau - kGGamma[i]) * (tau - kGGamma[i]));
    const double a = kGD[i] - 2.0 * kGEta[i] * delta * (delta - 1.0);
    const double b = kGT[i] - 2.0 * kGBeta[i] * tau * (tau - kGGamma[i]);
    r.d += f * a;
    r.dd += f * (a * a - kGD[i] - 2.0 * kGEta[i] * delta * delta);
    r.tt += f * (b * b - kGT[i] - 2.0 * kGBeta[i] * tau * tau);
    r.dt += f * a * b;
  }
  return r;
}

// τ²·α⁰_ττ of the ideal part.
inline double IdealTauTau(double tau) {
  double s = -kIdealC0;
  for (std::size_t i = 0; i < kIdealN.size(); ++i) {
    const double x = kIdealTheta[i] * tau;
    const double e = std::exp(x);
    s -= kIdealN[i] * x * x * e / ((e - 1.0) * (e - 1.0));
  }
  return s;
}

// Pressure, Pa, at temperature `t` (K) and molar density `rho` (mol/m³): p = ρRT(1 + δ·αʳ_δ).
inline double Pressure(double t, double rho) {
  const Residual r = ResidualTerms(rho / kRhoc, kTc / t);
  return rho * kR * t * (1.0 + r.d);
}

// ∂p/∂ρ at constant temperature, J/mol.
inline double PressureSlope(double t, double rho) {
  const Residual r = ResidualTerms(rho / kRhoc, kTc / t);
  return kR * t * (1.0 + 2.0 * r.d + r.dd);
}

// Molar density (mol/m³) of the gas at `t` (K) and `p` (Pa): Newton's method on the pressure from the ideal
// gas, kept inside a bracket by bisection so that it cannot run off above the critical temperature.
inline double Density(double t, double p) {
  double lo = 0.0, hi = 5.0 * kRhoc;
  double rho = p / (kR * t);
  if (rho >= hi) rho = 0.5 * hi;
  for (int it = 0; it < 200; ++it) {
    const double f = Pressure(t, rho) - p;
    if (f > 0) hi = rho; else lo = rho;
    const double slope = PressureSlope(t, rho);
    double next = slope > 0 ? rho - f / slope : 0.5 * (lo + hi);
    if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
    if (std::fabs(next - rho) <= 1e-14 * rho) return next;
    rho = next;
  }
  throw std::runtime_error("methane density: no convergence at T = " + std::to_string(t) + " K, p = " +
                           std::to_string(p) + " Pa");
}

struct Properties {
  double cp = 0;  // kJ/(kg·K)
  double v = 0;   // m³/kg
};

// cp and v at `t` (K) and `p` (Pa).
inline Properties PropertiesAt(double t, double p) {
  const double rho = Density(t, p);
  const double delta = rho / kRhoc, tau = kTc / t;
  const Residual r = ResidualTerms(delta, tau);
  const double cv = -(IdealTauTau(tau) + r.tt) * kR;
  const double num = 1.0 + r.d - r.dt;
  const double cp = cv + kR * num * num / (1.0 + 2.0 * r.d + r.dd);  // J/(mol·K)
  return {cp / kMolarMass, 1.0 / (rho * kMolarMass * 1e-3)};
}

// The tables' pressures (bar) and temperatures (K, every kelvin).
inline constexpr std::array<int, 10> kTablePressuresBar = {1, 12, 26, 60, 70, 80, 100, 150, 200, 300};
inline constexpr int kFirstT = 223, kLastT = 373;

// The whole CSV text of the ten tables: header "table,t,cp,v", then one line a row, doubles in %.17g so
// that they read back bit for bit.
inline std::string TablesCsv() {
  std::string out = "table,t,cp,v\n";
  char line[160];
  for (int bar : kTablePressuresBar)
    for (int t = kFirstT; t <= kLastT; ++t) {
      const Properties pr = PropertiesAt(t, bar * 1e5);
      std::snprintf(line, sizeof line, "%db,%d,%.17g,%.17g\n", bar, t, pr.cp, pr.v);
      out += line;
    }
  return out;
}

}  // namespace velaron::methane
