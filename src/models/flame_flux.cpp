#include "models/flame_flux.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#if defined(__x86_64__) || defined(__SSE2__)
#include <immintrin.h>
#endif

#include "common/numtext.h"
#include "models/parallel.h"

// No product and sum here is fused into one rounding (the models library is built with
// -ffp-contract=off): the positions are rounded exactly as the method rounds them, and every vector width
// rounds each operation on its own, as the others do.

namespace velaron::models {

namespace {

// Rounding to a fixed number of decimals, halves to even, as nearbyint(x·scale)/scale. Adding and
// subtracting 1.5·2^52 rounds to the nearest whole number with ties to even in the default rounding mode,
// exactly as nearbyint does, as long as |x·scale| < 2^51: positions of metres to 1/10000 m up to 2·10^11 m.
inline double RoundScaled(double x, double scale) {
  constexpr double kMagic = 6755399441055744.0;  // 1.5 · 2^52
  return ((x * scale + kMagic) - kMagic) / scale;
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

FlameCone FlameConeOf(FlameShape shape, const FlameGeometryInputs& g, double tilt) {
  FlameCone c;
  switch (shape) {
    case FlameShape::Asymmetric:
      c.R = (g.W2 - g.W1) / 2;
      c.A = g.ConeAngle;
      c.L = g.RL;
      break;
    case FlameShape::Symmetric:
      c.R = 0.65 * g.LTorch * g.KEllipse;
      c.L = 0.6 * g.LTorch * (1 + std::sin(tilt));
      c.A = std::atan(c.R / c.L);
      break;
    case FlameShape::Pit:
      c.R = 0.4 * g.LTorch * g.KEllipse;
      c.L = 0.5 * g.LTorch * (1 + std::sin(tilt));
      c.A = std::atan(c.R / c.L);
      break;
  }
  c.D = std::sqrt(c.L * c.L + c.R * c.R);
  return c;
}

FlameSetup PrepareFlame(FlameShape shape, const FlameGeometryInputs& g, const TorchFluxArgs& args, int cStep, int nx,
                        int ny) {
  const double T = args.FlameTilt;
  CheckFlame(shape, g, T);
  FlameSetup f;
  f.shape = shape;
  f.K = g.KEllipse;
  const FlameCone cone = FlameConeOf(shape, g, T);
  f.R = cone.R;
  f.L = cone.L;
  f.A = cone.A;
  f.D = cone.D;
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

  // A surface far longer than it is wide would take rings without end: refused.
  if (!(f.D / f.R <= kMaxSlantOverRadius)) throw ModelInputError(kThinFlameMessage);
  f.cosA = std::cos(f.A);
  f.moreRingsFrom = NextRings(f, f.s0, f.rings);
  return f;
}

double NextRings(const FlameSetup& f, double s, std::vector<FlameSetup::Ring>& out) {
  // The rings of the surface: every other slant step, each standing for a band two steps wide.
  out.clear();
  auto rho = [&](double u) { return f.R * u / f.D; };
  for (; s < f.D && out.size() < kRingChunk; s += 2 * f.ds) {
    FlameSetup::Ring ring;
    ring.rho1 = rho(s);
    const double a = s * f.cosA;
    const double bandArea = kPi * (rho(s - f.ds) + rho(s + f.ds)) * 2 * f.ds;
    ring.dA = bandArea / f.N;
    ring.aCosT = a * f.cosT;
    ring.aSinT = a * f.sinT;
    ring.K2rho1 = f.K2 * ring.rho1;
    out.push_back(ring);
  }
  return s;
}

std::string StrongWindText(double speed) {
  return "Скорость ветра " + FormatBeyond(speed, kMaxFlameWind) + " м/с больше " + FormatNumber(kMaxFlameWind) +
         " м/с: факел при таком ветре не рассчитывается. Проверте правильность ввода!";
}

namespace {

// What the patches of one cell share: the receiver (xr, yr) in the flame's frame, the line of sight from
// the flame's tip point to it (V0x, yr, V0z), the tilt.
struct CellConstants {
  double xr, yr, V0x, V0z, sT, cT;
};
// What one ring's patches share.
struct RingConstants {
  double rho1, aCosT, aSinT, K2rho1, EdA;  // EdA = E·dA/π
};
// The patch angles of one cell, padded with empty patches to a whole number of kSumLanes: cosine, sine,
// 1 − e·cos θ and its reciprocal, and the coefficients of the orientation factor's two polynomials in the
// ring radius (see FlameFluxAt).
struct PatchArrays {
  const double *c, *s, *den, *invDen, *alpha, *beta, *m0, *m1, *m2;
  std::size_t count;
};

// Angles of a cell in the flame's frame beyond this many turns either way are reduced to one turn.
constexpr double kMaxTurns = 10;

// The terms of a cell are summed in this many fixed partial sums (patch k of every ring into sum k mod 8),
// whatever the vector width, and these are then added in one fixed order.
constexpr int kSumLanes = 8;
inline double FoldSumLanes(const double* l) {
  return ((l[0] + l[1]) + (l[2] + l[3])) + ((l[4] + l[5]) + (l[6] + l[7]));
}

// Two lanes: SSE2 on every x86-64 processor (plain code elsewhere).
namespace lanes2 {
constexpr int kLanes = 2;
typedef double V __attribute__((vector_size(16)));
typedef long long VI __attribute__((vector_size(16)));
#if defined(__SSE2__)
inline V Sqrt(V x) { return (V)_mm_sqrt_pd((__m128d)x); }
inline bool AnyLane(VI mask) { return _mm_movemask_pd((__m128d)mask) != 0; }
#else
inline V Sqrt(V x) { return V{std::sqrt(x[0]), std::sqrt(x[1])}; }
inline bool AnyLane(VI mask) { return (mask[0] | mask[1]) != 0; }
#endif
#include "models/flame_flux_lanes.inc"
}  // namespace lanes2

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define VELARON_FLUX_WIDE 1
// Four lanes on processors with AVX2, chosen at run time.
#pragma GCC push_options
#pragma GCC target("avx2")
namespace lanes4 {
constexpr int kLanes = 4;
typedef double V __attribute__((vector_size(32)));
typedef long long VI __attribute__((vector_size(32)));
inline V Sqrt(V x) { return (V)_mm256_sqrt_pd((__m256d)x); }
inline bool AnyLane(VI mask) { return _mm256_movemask_pd((__m256d)mask) != 0; }
#include "models/flame_flux_lanes.inc"
}  // namespace lanes4
#pragma GCC pop_options

// Eight lanes on processors with AVX-512 (which brings fused multiply-add with it: kept off as above).
#pragma GCC push_options
#pragma GCC target("avx512f")
namespace lanes8 {
constexpr int kLanes = 8;
typedef double V __attribute__((vector_size(64)));
typedef long long VI __attribute__((vector_size(64)));
inline V Sqrt(V x) { return (V)_mm512_mask_sqrt_pd((__m512d)x, 0xFF, (__m512d)x); }
inline bool AnyLane(VI mask) { return _mm512_test_epi64_mask((__m512i)mask, (__m512i)mask) != 0; }
#include "models/flame_flux_lanes.inc"
}  // namespace lanes8
#pragma GCC pop_options
#endif

// The widest width this processor runs.
FluxLanes WidestLanes() {
#if defined(VELARON_FLUX_WIDE)
  static const FluxLanes widest = __builtin_cpu_supports("avx512f") ? FluxLanes::Eight
                                  : __builtin_cpu_supports("avx2")  ? FluxLanes::Four
                                                                    : FluxLanes::Two;
  return widest;
#else
  return FluxLanes::Two;
#endif
}

std::atomic<int> g_fluxLanes{static_cast<int>(FluxLanes::Best)};

}  // namespace

void SetFluxLanes(FluxLanes lanes) { g_fluxLanes = static_cast<int>(lanes); }

FluxLanes ActiveFluxLanes() {
  const auto wanted = static_cast<FluxLanes>(g_fluxLanes.load());
  const FluxLanes widest = WidestLanes();
  if (wanted == FluxLanes::Best) return widest;
  return static_cast<int>(wanted) <= static_cast<int>(widest) ? wanted : widest;
}

namespace {

// A cell as the patches see it: its angle in the flame's frame, half of the arc of the flame section it sees,
// and its position in the flame's frame (x along the flame's horizontal direction), to the centimetre.
struct Receiver {
  double phi, psi, xr, yr;
};

Receiver ReceiverAt(const FlameFrame& f, double X, double Y) {
  const double r = std::sqrt(X * X + Y * Y);
  const double w = r < f.rho0 ? 1.0 : f.rho0 / r;
  Receiver c;
  c.psi = std::atan(std::sqrt(1 - w * w) / w);
  c.phi = std::atan2(Y, X) + f.WindAngle - f.Dir;
  // Directions of the grid, the wind and the jet stay within a few turns; an angle beyond that (a
  // direction typed as a huge number of degrees) is brought back to one turn, or the patch loop
  // could no longer step through it.
  if (!(std::fabs(c.phi) <= kMaxTurns * kFluxTwoPi)) c.phi = std::remainder(c.phi, kFluxTwoPi);
  c.xr = RoundScaled(r * std::cos(c.phi), 100.0);
  c.yr = RoundScaled(r * std::sin(c.phi), 100.0);
  return c;
}

}  // namespace

double FlameFluxAt(const FlameSetup& f, double X, double Y, FluxScratch& scratch) {
  const Receiver at = ReceiverAt({f.rho0, f.WindAngle, f.Dir}, X, Y);
  const double phi = at.phi, psi = at.psi, xr = at.xr, yr = at.yr;
  const CellConstants cell{xr, yr, xr - f.LcosT, f.Hr - f.LsinT, f.sinT, f.cosT};

  // The patch angles facing the cell are the same on every ring, and so is much of the orientation factor.
  // With the tip point P, U = (cos θ·sin T, sin θ, −cos θ·cos T) and the rim point Q = P + ρ₁·U, the normal
  // Q × (P × Q) is ρ₁·(A + ρ₁·B) with W = P × U, A = P × W, B = U × W; since U·B = 0 and U·A = −|W|², the
  // line of sight V = V0 − ρ₁·U gives V·(A + ρ₁·B) = V0·A + ρ₁·(V0·B + |W|²), and |A + ρ₁·B|² =
  // |W|²·|Q|² = |W|²·(|P|² + ρ₁·(2 P·U + ρ₁·|U|²)). The factor ρ₁ cancels from cos β.
  FluxScratch::Arrays& t = scratch.patches;
  t.clear();
  const double Px = f.Px, Pz = f.Pz, P2 = Px * Px + Pz * Pz;
  const double thetaEnd = phi + psi;
  for (double th = phi - psi; th <= thetaEnd; th += f.dtheta) {
    const double c = std::cos(th), sn = std::sin(th);
    const double Ux = c * f.sinT, Uy = sn, Uz = -(c * f.cosT);
    const double Wx = -Pz * Uy, Wy = Pz * Ux - Px * Uz, Wz = Px * Uy;
    const double Ax = -Pz * Wy, Ay = Pz * Wx - Px * Wz, Az = Px * Wy;
    const double Bx = Uy * Wz - Uz * Wy, By = Uz * Wx - Ux * Wz, Bz = Ux * Wy - Uy * Wx;
    const double W2 = Wx * Wx + Wy * Wy + Wz * Wz;
    const double U2 = Ux * Ux + Uy * Uy + Uz * Uz;
    const double den = 1 - f.e * c;
    t.push(c, sn, den, 1 / den, cell.V0x * Ax + yr * Ay + cell.V0z * Az, cell.V0x * Bx + yr * By + cell.V0z * Bz + W2,
           W2 * P2, W2 * (2 * (Px * Ux + Pz * Uz)), W2 * U2);
  }
  // Empty patches up to a whole number of partial sums: no orientation, so they add exactly 0.
  while (t.c.size() % kSumLanes != 0) t.push(1, 0, 1, 1, 0, 0, 0, 0, 0);
  const PatchArrays a{t.c.data(),    t.s.data(),  t.den.data(), t.invDen.data(), t.alpha.data(),
                      t.beta.data(), t.m0.data(), t.m1.data(),  t.m2.data(),     t.c.size()};
  const double EOverPi = f.E / kPi;
#if defined(VELARON_FLUX_WIDE)
  switch (ActiveFluxLanes()) {
    case FluxLanes::Eight: return lanes8::CellSumV(cell, f, EOverPi, a, scratch.rings);
    case FluxLanes::Four: return lanes4::CellSumV(cell, f, EOverPi, a, scratch.rings);
    default: break;
  }
#endif
  return lanes2::CellSumV(cell, f, EOverPi, a, scratch.rings);
}

// The patch positions of the lanes: x = K²ρ₁·cos θ/(1 − e·cos θ)·sin T + a·cos T to the millimetre, y =
// K²ρ₁·sin θ/(1 − e·cos θ), z = a·sin T − ρ₁·cos θ·cos T (its second term to a tenth of a millimetre), and
// the receiver at height 0. The elliptic radius is a conic about its focus with semi-major axis ρ₁: along its
// axis it reaches from −(1 − e)·ρ₁ to (1 + e)·ρ₁, across it ±K·ρ₁. The boxes are widened by more than the
// roundings (of the positions, and of the receiver, which the bound takes as the flux takes it).
FlameFluxBound::FlameFluxBound(const FlameSetup& f) : frame_{f.rho0, f.WindAngle, f.Dir}, dtheta_(f.dtheta) {
  const double EOverPi = f.E / kPi;
  std::vector<FlameSetup::Ring> chunk = f.rings;
  Box all{INFINITY, -INFINITY, 0, INFINITY, -INFINITY, 0};
  for (double s = f.moreRingsFrom;;) {
    for (const FlameSetup::Ring& ring : chunk) {
      if (ring.rho1 == 0) continue;  // the method takes nothing from it
      const double rho = ring.rho1;
      const double slack = 0.002 + 1e-9 * (std::fabs(ring.aCosT) + std::fabs(ring.aSinT) + 2 * rho);
      const double back = -(1 - f.e) * rho * f.sinT, ahead = (1 + f.e) * rho * f.sinT;
      const double across = std::fabs(rho * f.cosT);
      Box b;
      b.xLow = ring.aCosT + std::min(back, ahead) - slack;
      b.xHigh = ring.aCosT + std::max(back, ahead) + slack;
      b.yHalf = f.K * rho + slack;
      b.zLow = ring.aSinT - across - slack;
      b.zHigh = ring.aSinT + across + slack;
      b.weight = EOverPi * ring.dA;
      rings_.push_back(b);
      all = {std::min(all.xLow, b.xLow), std::max(all.xHigh, b.xHigh), std::max(all.yHalf, b.yHalf),
             std::min(all.zLow, b.zLow), std::max(all.zHigh, b.zHigh), all.weight + b.weight};
    }
    if (!(s < f.D)) break;
    s = NextRings(f, s, chunk);
  }
  if (!rings_.empty()) whole_.push_back(all);
}

double FlameFluxBound::sum(const std::vector<Box>& boxes, double xr, double yr) const {
  double total = 0;
  for (const Box& b : boxes) {
    const double dx = std::max({0.0, b.xLow - xr, xr - b.xHigh});
    const double dy = std::max(0.0, std::fabs(yr) - b.yHalf);
    const double dz = std::max({0.0, b.zLow, -b.zHigh});
    const double dd = dx * dx + dy * dy + dz * dz;
    if (!(dd > 0)) return INFINITY;
    total += b.weight * std::exp(-kAtmosphericDamping * std::sqrt(dd)) / dd;
  }
  return total;
}

double FlameFluxBound::at(double X, double Y, double enough) const {
  const Receiver c = ReceiverAt(frame_, X, Y);
  // The patch loop takes no patch when the arc is not a number.
  if (!(c.psi >= 0)) return 0;
  // The patch angles step by Δθ from φ − ψ while they stay within φ + ψ; the sums of the steps may round one
  // more patch in. The terms, their sums and the exponential are each within a few roundings of the exact.
  const double patches = 2 * c.psi / dtheta_ + 2;
  constexpr double kRounding = 1 + 1e-9;
  const double coarse = kRounding * patches * sum(whole_, c.xr, c.yr);
  if (coarse <= enough) return coarse;
  return std::min(coarse, kRounding * patches * sum(rings_, c.xr, c.yr));
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

}  // namespace velaron::models
