#include "models/flame_flux.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/numtext.h"
#include "models/parallel.h"

namespace velaron::models {

namespace {

// Rounding to a fixed number of decimals, halves to even, as nearbyint(x·scale)/scale. Adding and
// subtracting 1.5·2^52 rounds to the nearest whole number with ties to even in the default rounding mode,
// exactly as nearbyint does, as long as |x·scale| < 2^51: positions of metres to 1/10000 m up to 2·10^11 m.
inline double RoundScaled(double x, double scale) {
  constexpr double kMagic = 6755399441055744.0;  // 1.5 · 2^52
  return ((x * scale + kMagic) - kMagic) / scale;
}

// The whole-number part of x·scale as RoundScaled finds it, times 1/scale: the rounding decides exactly
// as the method's, the last step may differ from a division by one unit in the last place.
inline double RoundTo(double x, double scale, double inverse) {
  constexpr double kMagic = 6755399441055744.0;  // 1.5 · 2^52
  return ((x * scale + kMagic) - kMagic) * inverse;
}

// A square root with no errno bookkeeping (a branch per call otherwise); the value is the same.
#if defined(__SSE2__)
inline double SqrtNoErrno(double x) { return _mm_cvtsd_f64(_mm_sqrt_sd(_mm_setzero_pd(), _mm_set_sd(x))); }
#else
inline double SqrtNoErrno(double x) { return std::sqrt(x); }
#endif

// exp(x) for x ≤ 0, to within a few units in the last place, without a library call so that a loop of
// them runs on vector lanes: x = n·ln 2 + r with |r| ≤ ln 2 / 2, exp(r) by its Taylor series to the 12th
// power (remainder below 2e-16), and 2^n put straight into the exponent bits. Below −700 the result
// (under 1e-304) is taken as exp(−700).
inline double ExpOfNonPositive(double x) {
  constexpr double kLog2e = 1.4426950408889634;
  constexpr double kLn2Hi = 6.93147180369123816490e-01;  // ln 2 to 32 bits: n·kLn2Hi is exact
  constexpr double kLn2Lo = 1.90821492927058770002e-10;
  constexpr double kMagic = 6755399441055744.0;          // 1.5 · 2^52
  x = std::max(x, -700.0);
  const double t = x * kLog2e + kMagic;  // n sits in the low bits of t
  const double n = t - kMagic;
  const double r = (x - n * kLn2Hi) - n * kLn2Lo;
  double p = 1.0 / 479001600;  // 1/12!
  p = p * r + 1.0 / 39916800;
  p = p * r + 1.0 / 3628800;
  p = p * r + 1.0 / 362880;
  p = p * r + 1.0 / 40320;
  p = p * r + 1.0 / 5040;
  p = p * r + 1.0 / 720;
  p = p * r + 1.0 / 120;
  p = p * r + 1.0 / 24;
  p = p * r + 1.0 / 6;
  p = p * r + 0.5;
  p = p * r + 1.0;
  p = p * r + 1.0;
  // 2^n: the low bits of t hold n (two's complement), so (bits(t) + 1023) << 52 is the exponent of 2^n.
  const std::uint64_t scale = (std::bit_cast<std::uint64_t>(t) + 1023u) << 52;
  return p * std::bit_cast<double>(scale);
}

// The quantities the flame of this shape reads are all numbers.
bool Finite(FlameShape shape, const FlameGeometryInputs& g, double tilt) {
  const bool common = std::isfinite(g.KEllipse) && std::isfinite(g.WindAngle) && std::isfinite(tilt);
  if (shape == FlameShape::Asymmetric)
    return common && std::isfinite(g.W1) && std::isfinite(g.W2) && std::isfinite(g.RL) && std::isfinite(g.ConeAngle);
  return common && std::isfinite(g.LTorch);
}

}  // namespace

FlameGeometryInputs FlameInputsFrom(const DerivedQuantities& d) {
  FlameGeometryInputs g;
  g.LTorch = d.LTorch;
  g.KEllipse = d.KEllipse;
  g.W1 = d.W1;
  g.W2 = d.W2;
  g.RL = d.RL;
  g.ConeAngle = d.ConeAngle;
  g.WindAngle = d.WindAngle;
  return g;
}

void CheckFlame(FlameShape shape, const FlameGeometryInputs& g, double tilt) {
  if (!Finite(shape, g, tilt)) throw ModelInputError(kNoFlameMessage);
  // KEllipse = 1 − 0.1 × wind speed: at 10 m/s and more the flame section has no size.
  if (!(g.KEllipse > 0)) throw ModelInputError(kStrongWindMessage);
  if (g.KEllipse > 1) throw ModelInputError(kEllipseOutOfRangeMessage);
  if (shape == FlameShape::Asymmetric) {
    if (!(g.W1 >= 0) || !(g.RL > 0)) throw ModelInputError(kNoFlameMessage);
    if (!(g.W2 > 2 * g.W1)) throw ModelInputError(kEmptyFrustumMessage);
  } else {
    if (!(g.LTorch > 0)) throw ModelInputError(kNoFlameMessage);
  }
}

FlameSetup PrepareFlame(FlameShape shape, const FlameGeometryInputs& g, const TorchFluxArgs& args, int cStep,
                        int nx, int ny) {
  const double T = args.FlameTilt;
  CheckFlame(shape, g, T);
  FlameSetup f;
  f.shape = shape;
  f.K = g.KEllipse;
  switch (shape) {
    case FlameShape::Asymmetric:
      f.R = (g.W2 - g.W1) / 2;
      f.A = g.ConeAngle;
      f.L = g.RL;
      break;
    case FlameShape::Symmetric:
      f.R = 0.65 * g.LTorch * f.K;
      f.L = 0.6 * g.LTorch * (1 + std::sin(T));
      f.A = std::atan(f.R / f.L);
      break;
    case FlameShape::Pit:
      f.R = 0.4 * g.LTorch * f.K;
      f.L = 0.5 * g.LTorch * (1 + std::sin(T));
      f.A = std::atan(f.R / f.L);
      break;
  }
  f.D = std::sqrt(f.L * f.L + f.R * f.R);
  f.E = args.Emissivity * kStefanBoltzmann * std::exp(4 * std::log(args.FlameTemp));
  f.ds = kSlantStepFraction * f.R;
  f.dtheta = f.ds / f.R;
  f.N = kFluxTwoPi / f.dtheta;
  if (shape == FlameShape::Asymmetric) {
    f.rho0 = g.W1 / 2;
    f.s0 = (g.W1 / 2) * f.D / f.R;
  } else {
    f.rho0 = f.R * f.ds / f.D;
    f.s0 = f.ds;
  }
  f.K2 = f.K * f.K;
  f.e = std::sqrt(1 - f.K * f.K);
  f.sinT = std::sin(T);
  f.cosT = std::cos(T);
  f.LcosT = f.L * f.cosT;
  f.LsinT = f.L * f.sinT;
  f.BaseX = args.BaseX;
  f.BaseZ = args.BaseZ;
  f.Px = f.LcosT + f.BaseX;
  f.Pz = f.LsinT + f.BaseZ;
  f.Hr = args.Hr;
  f.WindAngle = g.WindAngle;
  f.Dir = args.Dir;
  f.halfShift = args.Shift / 2;
  f.cStep = cStep;
  f.nx = nx;
  f.ny = ny;

  // The rings of the surface: every other slant step, each standing for a band two steps wide.
  const double cosA = std::cos(f.A);
  auto rho = [&](double u) { return f.R * u / f.D; };
  for (double s = f.s0; s < f.D; s += 2 * f.ds) {
    FlameSetup::Ring ring;
    ring.rho1 = rho(s);
    const double a = s * cosA;
    const double bandArea = kFluxPi * (rho(s - f.ds) + rho(s + f.ds)) * 2 * f.ds;
    ring.dA = bandArea / f.N;
    ring.aCosT = a * f.cosT;
    ring.aSinT = a * f.sinT;
    ring.K2rho1 = f.K2 * ring.rho1;
    f.rings.push_back(ring);
  }
  return f;
}

// What one cell's patches share: the flame's tilt and tip, the base offsets, the receiver.
struct PatchConstants {
  double sT, cT, Px, Pz, LcosT, LsinT, BaseX, BaseZ, Hr, xr, yr;
};
// What one ring's patches share.
struct RingConstants {
  double rho1, aCosT, aSinT, K2rho1, EdA;  // EdA = E·dA/π
};

// The flux that one patch sends to the cell: E·τ·dA·cos β/(π·d²), 0 when the patch does not count.
inline double PatchTerm(const PatchConstants& p, const RingConstants& g, double c, double sn, double den) {
  const double rc = g.rho1 * c;
  const double rcCosT = rc * p.cT;
  // Rim point of the patch without the base offsets (line of sight) and with them (normal).
  const double qx0 = rc * p.sT + p.LcosT;
  const double qy = g.rho1 * sn;
  const double qz0 = p.LsinT - rcCosT;
  const double qx = qx0 + p.BaseX;
  const double qz = qz0 + p.BaseZ;
  // Normal M = Q × (P × Q), P the tip point (its y is 0).
  const double cx = 0 * qz - p.Pz * qy;
  const double cy = p.Pz * qx - p.Px * qz;
  const double cz = p.Px * qy - 0 * qx;
  const double mx = qy * cz - qz * cy;
  const double my = qz * cx - qx * cz;
  const double mz = qx * cy - qy * cx;
  const double vx = p.xr - qx0;
  const double vy = p.yr - qy;
  const double vz = p.Hr - qz0;
  // Orientation factor cos β = |V·M| / (|V|·|M|), kept as its two parts: the patch counts while the
  // factor does not compute above 1 (rounding), and a factor of 0 gives nothing.
  const double dot = std::fabs(vx * mx + vy * my + vz * mz);
  const double norm = SqrtNoErrno((vx * vx + vy * vy + vz * vz) * (mx * mx + my * my + mz * mz));
  // Patch position on the elliptic section (positions rounded as the method states).
  const double rTheta = g.K2rho1 / den;
  const double xs = RoundTo(rTheta * c * p.sT + g.aCosT, 1000.0, 1e-3);
  const double ys = rTheta * sn;
  const double zs = g.aSinT - RoundTo(rcCosT, 10000.0, 1e-4);
  const double dd = (p.xr - xs) * (p.xr - xs) + (p.yr - ys) * (p.yr - ys) + zs * zs;
  const double d = SqrtNoErrno(dd);
  const bool counts = dot <= norm && norm > 0;
  const double weight = counts ? g.EdA * dot / (norm * dd) : 0.0;
  const double exponent = counts ? -kAtmosphericDamping * d : 0.0;
  return ExpOfNonPositive(exponent) * weight;
}

#if defined(__SSE2__)
// exp of two non-positive numbers, lane by lane the same operations as ExpOfNonPositive.
inline __m128d ExpOfNonPositive2(__m128d x) {
  const __m128d magic = _mm_set1_pd(6755399441055744.0);
  x = _mm_max_pd(x, _mm_set1_pd(-700.0));
  const __m128d t = _mm_add_pd(_mm_mul_pd(x, _mm_set1_pd(1.4426950408889634)), magic);
  const __m128d n = _mm_sub_pd(t, magic);
  const __m128d r = _mm_sub_pd(_mm_sub_pd(x, _mm_mul_pd(n, _mm_set1_pd(6.93147180369123816490e-01))),
                               _mm_mul_pd(n, _mm_set1_pd(1.90821492927058770002e-10)));
  __m128d p = _mm_set1_pd(1.0 / 479001600);
  const double coef[] = {1.0 / 39916800, 1.0 / 3628800, 1.0 / 362880, 1.0 / 40320, 1.0 / 5040, 1.0 / 720,
                         1.0 / 120, 1.0 / 24, 1.0 / 6, 0.5, 1.0, 1.0};
  for (double cf : coef) p = _mm_add_pd(_mm_mul_pd(p, r), _mm_set1_pd(cf));
  const __m128i bits = _mm_slli_epi64(_mm_add_epi64(_mm_castpd_si128(t), _mm_set1_epi64x(1023)), 52);
  return _mm_mul_pd(p, _mm_castsi128_pd(bits));
}

inline __m128d RoundTo2(__m128d x, double scale, double inverse) {
  const __m128d magic = _mm_set1_pd(6755399441055744.0);
  return _mm_mul_pd(_mm_sub_pd(_mm_add_pd(_mm_mul_pd(x, _mm_set1_pd(scale)), magic), magic), _mm_set1_pd(inverse));
}

// PatchTerm for two neighbouring patch angles at once.
inline __m128d PatchTerms2(const PatchConstants& p, const RingConstants& g, const double* cp, const double* sp,
                           const double* dp) {
  const __m128d c = _mm_loadu_pd(cp);
  const __m128d sn = _mm_loadu_pd(sp);
  const __m128d den = _mm_loadu_pd(dp);
  const __m128d rho1 = _mm_set1_pd(g.rho1);
  const __m128d sT = _mm_set1_pd(p.sT), cT = _mm_set1_pd(p.cT);
  const __m128d Px = _mm_set1_pd(p.Px), Pz = _mm_set1_pd(p.Pz);
  const __m128d zero = _mm_setzero_pd();
  const __m128d xr = _mm_set1_pd(p.xr), yr = _mm_set1_pd(p.yr);

  const __m128d rc = _mm_mul_pd(rho1, c);
  const __m128d rcCosT = _mm_mul_pd(rc, cT);
  const __m128d qx0 = _mm_add_pd(_mm_mul_pd(rc, sT), _mm_set1_pd(p.LcosT));
  const __m128d qy = _mm_mul_pd(rho1, sn);
  const __m128d qz0 = _mm_sub_pd(_mm_set1_pd(p.LsinT), rcCosT);
  const __m128d qx = _mm_add_pd(qx0, _mm_set1_pd(p.BaseX));
  const __m128d qz = _mm_add_pd(qz0, _mm_set1_pd(p.BaseZ));
  const __m128d cx = _mm_sub_pd(_mm_mul_pd(zero, qz), _mm_mul_pd(Pz, qy));
  const __m128d cy = _mm_sub_pd(_mm_mul_pd(Pz, qx), _mm_mul_pd(Px, qz));
  const __m128d cz = _mm_sub_pd(_mm_mul_pd(Px, qy), _mm_mul_pd(zero, qx));
  const __m128d mx = _mm_sub_pd(_mm_mul_pd(qy, cz), _mm_mul_pd(qz, cy));
  const __m128d my = _mm_sub_pd(_mm_mul_pd(qz, cx), _mm_mul_pd(qx, cz));
  const __m128d mz = _mm_sub_pd(_mm_mul_pd(qx, cy), _mm_mul_pd(qy, cx));
  const __m128d vx = _mm_sub_pd(xr, qx0);
  const __m128d vy = _mm_sub_pd(yr, qy);
  const __m128d vz = _mm_sub_pd(_mm_set1_pd(p.Hr), qz0);
  const __m128d rawDot =
      _mm_add_pd(_mm_add_pd(_mm_mul_pd(vx, mx), _mm_mul_pd(vy, my)), _mm_mul_pd(vz, mz));
  const __m128d dot = _mm_andnot_pd(_mm_set1_pd(-0.0), rawDot);
  const __m128d vv = _mm_add_pd(_mm_add_pd(_mm_mul_pd(vx, vx), _mm_mul_pd(vy, vy)), _mm_mul_pd(vz, vz));
  const __m128d mm = _mm_add_pd(_mm_add_pd(_mm_mul_pd(mx, mx), _mm_mul_pd(my, my)), _mm_mul_pd(mz, mz));
  const __m128d norm = _mm_sqrt_pd(_mm_mul_pd(vv, mm));

  const __m128d rTheta = _mm_div_pd(_mm_set1_pd(g.K2rho1), den);
  const __m128d xs =
      RoundTo2(_mm_add_pd(_mm_mul_pd(_mm_mul_pd(rTheta, c), sT), _mm_set1_pd(g.aCosT)), 1000.0, 1e-3);
  const __m128d ys = _mm_mul_pd(rTheta, sn);
  const __m128d zs = _mm_sub_pd(_mm_set1_pd(g.aSinT), RoundTo2(rcCosT, 10000.0, 1e-4));
  const __m128d ex = _mm_sub_pd(xr, xs), ey = _mm_sub_pd(yr, ys);
  const __m128d dd = _mm_add_pd(_mm_add_pd(_mm_mul_pd(ex, ex), _mm_mul_pd(ey, ey)), _mm_mul_pd(zs, zs));
  const __m128d d = _mm_sqrt_pd(dd);

  const __m128d counts = _mm_and_pd(_mm_cmple_pd(dot, norm), _mm_cmpgt_pd(norm, zero));
  const __m128d weight =
      _mm_and_pd(counts, _mm_div_pd(_mm_mul_pd(_mm_set1_pd(g.EdA), dot), _mm_mul_pd(norm, dd)));
  const __m128d exponent = _mm_and_pd(counts, _mm_mul_pd(_mm_set1_pd(-kAtmosphericDamping), d));
  return _mm_mul_pd(ExpOfNonPositive2(exponent), weight);
}
#endif

double AtmosphericTransmissivity(double d) { return ExpOfNonPositive(-kAtmosphericDamping * d); }

double FlameFluxAt(const FlameSetup& f, double X, double Y, FluxScratch& scratch) {
  const double r = std::sqrt(X * X + Y * Y);
  // Half of the arc of the flame section that the cell sees.
  const double w = r < f.rho0 ? 1.0 : f.rho0 / r;
  const double psi = std::atan(std::sqrt(1 - w * w) / w);
  // The cell in the flame's frame (x along the flame's horizontal direction), to the centimetre.
  const double phi = std::atan2(Y, X) + f.WindAngle - f.Dir;
  const double xr = RoundScaled(r * std::cos(phi), 100.0);
  const double yr = RoundScaled(r * std::sin(phi), 100.0);

  // The patch angles facing the cell are the same on every ring: their sines and cosines once per cell.
  scratch.cosTheta.clear();
  scratch.sinTheta.clear();
  scratch.denom.clear();
  const double thetaEnd = phi + psi;
  for (double th = phi - psi; th <= thetaEnd; th += f.dtheta) {
    const double c = std::cos(th);
    scratch.cosTheta.push_back(c);
    scratch.sinTheta.push_back(std::sin(th));
    scratch.denom.push_back(1 - f.e * c);
  }
  const std::size_t patches = scratch.cosTheta.size();
  const double* cth = scratch.cosTheta.data();
  const double* sth = scratch.sinTheta.data();
  const double* den = scratch.denom.data();

  const PatchConstants pc{f.sinT, f.cosT, f.Px, f.Pz, f.LcosT, f.LsinT, f.BaseX, f.BaseZ, f.Hr, xr, yr};
  const double EOverPi = f.E / kFluxPi;
  double q = 0;
  for (const FlameSetup::Ring& ring : f.rings) {
    const RingConstants rk{ring.rho1, ring.aCosT, ring.aSinT, ring.K2rho1, EOverPi * ring.dA};
    std::size_t k = 0;
#if defined(__SSE2__)
    // Two patches at a time on vector lanes; each lane does the same operations as PatchTerm, so the
    // terms, and the order in which they are added, do not depend on the pairing.
    alignas(16) double terms[2];
    for (; k + 1 < patches; k += 2) {
      _mm_store_pd(terms, PatchTerms2(pc, rk, cth + k, sth + k, den + k));
      q = q + terms[0];
      q = q + terms[1];
    }
#endif
    for (; k < patches; ++k) q = q + PatchTerm(pc, rk, cth[k], sth[k], den[k]);
  }
  return q;
}

void FlameFluxRow(const FlameSetup& f, int iy, double* row, FluxScratch& scratch) {
  const double Y = static_cast<double>(iy) * f.cStep;
  // The flame base has no flux of its own: a cell there repeats the cell before it (0 when first).
  double q = 0;
  for (int ix = -f.nx; ix <= f.nx; ++ix) {
    const double X = static_cast<double>(ix) * f.cStep + f.halfShift;
    if (X != 0 || Y != 0) q = FlameFluxAt(f, X, Y, scratch);
    row[ix + f.nx] = q;
  }
}

double TorchFluxField(CalcState& s, FlameShape shape, const TorchFluxArgs& args, Progress& progress) {
  const int nx = s.nx(), ny = s.ny();
  const FlameSetup f = PrepareFlame(shape, FlameInputsFrom(s.derived), args, s.settings.CStep, nx, ny);
  if (s.GridValue.nx() != nx || s.GridValue.ny() != ny || s.GridValue.empty()) s.dimension(s.GridValue);
  Grid& out = s.GridValue;
  ParallelRows(
      -ny, ny,
      [&](int iy) {
        thread_local FluxScratch scratch;
        FlameFluxRow(f, iy, out.row(iy), scratch);
      },
      progress);
  return f.R;
}

double TorchFluxGrid(CalcState& s, FlameShape shape, const TorchFluxArgs& args, int Y) {
  const int nx = s.nx(), ny = s.ny();
  const FlameSetup f = PrepareFlame(shape, FlameInputsFrom(s.derived), args, s.settings.CStep, nx, ny);
  const int iy = ToIntHalfEven(static_cast<double>(Y) / s.settings.CStep);
  if (s.GridValue.nx() != nx || s.GridValue.ny() != ny || s.GridValue.empty() || iy < -ny || iy > ny)
    throw ModelInputError("Поле теплового потока не подготовлено для этой строки сетки");
  thread_local FluxScratch scratch;
  FlameFluxRow(f, iy, s.GridValue.row(iy), scratch);
  return f.R;
}

}  // namespace velaron::models
