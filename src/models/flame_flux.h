// Heat flux of one burning gas jet on the ground cells of the calculation grid.
//
// The flame is a cone (a frustum for the asymmetric jet) whose cross-section turns into an ellipse as
// the wind grows; its surface is cut into small patches and the flux at a cell is the sum, over the
// patches that face the cell, of emissive power × transmissivity × patch area × orientation factor /
// (π × distance²), in kW/m².
//
// Everything that does not depend on the receiving cell (geometry, emissive power, the rings of the
// surface with their areas) is prepared once per flame in a FlameSetup; the sines and cosines of the
// patch angles, and the parts of the orientation factor that depend on the angle alone, are computed once
// per cell and shared by all rings, and two, four or eight patches are computed at a time on vector lanes,
// with the same bits whatever the width and the thread count. Every position that the method rounds is
// rounded exactly as the method states, so the patches taken are the same; the sums agree with the
// straightforward form of the method to about 1e-14 relative. Rows are independent and run in parallel.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/pi.h"
#include "models/calc_state.h"

namespace velaron::models {

// Constants of the flux method, kept as the program always used them.
inline constexpr double kFluxTwoPi = 2 * kPi;          // 6.28318530717958
inline constexpr double kStefanBoltzmann = 5.67e-11;   // kW/(m²·K⁴)
inline constexpr double kAtmosphericDamping = 0.0007;  // 1/m, transmissivity exp(−k·d)
inline constexpr double kSlantStepFraction = 0.025;    // slant step as a fraction of the flame radius

// Refusal texts of the flame checks (shown to the user as they stand).
inline constexpr const char* kStrongWindMessage =
    "Скорость ветра 10 м/с и более: факел при таком ветре не рассчитывается. Проверте правильность ввода!";
inline constexpr const char* kEllipseOutOfRangeMessage =
    "Недопустимая форма сечения факела (коэффициент эллипса вне пределов 0..1). Проверте правильность ввода!";
inline constexpr const char* kEmptyFrustumMessage =
    "Ширина факела у вершины не превышает удвоенной ширины у основания: факел не может быть рассчитан. "
    "Проверте правильность ввода!";
inline constexpr const char* kNoFlameMessage = "Длина факела должна быть больше нуля. Проверте правильность ввода!";
inline constexpr const char* kThinFlameMessage =
    "Факел слишком узок по сравнению с его длиной: такая форма факела не рассчитывается. Проверте правильность ввода!";

// The strongest wind a jet flame is computed in, m/s. The elliptic section's factor is 1 − 0.1·v: near
// 10 m/s the section degenerates and the number of surface rings (and the cost) grows as 1/KEllipse.
inline constexpr double kMaxFlameWind = 9.9;
// The refusal of a stronger wind, naming the speed and the limit.
std::string StrongWindText(double speed);

// The longest flame surface, as slant length over radius, that is integrated: twenty rings per unit,
// so at most 20 000 rings (the flames of winds up to kMaxFlameWind need a few thousand).
inline constexpr double kMaxSlantOverRadius = 1000;
// Rings prepared at a time: the rest of a longer surface is made again, chunk by chunk, for every cell,
// so the working memory stays the same whatever the flame.
inline constexpr std::size_t kRingChunk = 1024;

// The flame quantities read from the calculation state (the run's derived quantities).
struct FlameGeometryInputs {
  double LTorch = 0;     // flame length in still air, m (pit and symmetric flames)
  double KEllipse = 1;   // factor of the elliptic section
  double W1 = 0;         // frustum base width, m (asymmetric flame)
  double W2 = 0;         // frustum tip width, m
  double RL = 0;         // frustum length, m
  double ConeAngle = 0;  // frustum half-angle, rad
  double WindAngle = 0;  // rad: turns the grid into the flame's frame
};

FlameGeometryInputs FlameInputsFrom(const DerivedQuantities& d);

// Refuses a flame that cannot be computed, before anything is touched: a wind of 10 m/s or more
// (KEllipse ≤ 0), KEllipse above 1, an asymmetric frustum that would be empty (W2 ≤ 2·W1: its rings run
// from W1/2 to (W2 − W1)/2), or a flame of no size. Throws ModelInputError with the message to show.
void CheckFlame(FlameShape shape, const FlameGeometryInputs& g, double tilt);

// The cone (or frustum) of one flame as the surface integration lays it out: radius at its wide end, axis
// length, half-angle and slant length (the length of the surface along its side), m and rad.
struct FlameCone {
  double R = 0;
  double L = 0;
  double A = 0;
  double D = 0;
};
// Pit and symmetric flames take their size from the still-air length, the ellipse factor and the tilt; the
// asymmetric frustum from its widths and length. The inputs must have passed CheckFlame.
FlameCone FlameConeOf(FlameShape shape, const FlameGeometryInputs& g, double tilt);

// Everything about one flame that the cells share.
struct FlameSetup {
  FlameShape shape = FlameShape::Pit;
  double R = 0;                 // flame radius (the frustum's tip radius for the asymmetric jet), m
  double L = 0;                 // axis length, m
  double A = 0;                 // cone half-angle, rad
  double D = 0;                 // slant length, m
  double E = 0;                 // emissive power, kW/m²
  double ds = 0;                // slant step, m
  double dtheta = 0;            // angular step, rad
  double N = 0;                 // angular steps per full turn (not rounded)
  double rho0 = 0;              // radius of the first ring, m
  double s0 = 0;                // slant distance of the first ring, m
  double K = 1, K2 = 1, e = 0;  // ellipse factor, its square, eccentricity
  double sinT = 0, cosT = 1;    // of the flame tilt
  double LcosT = 0, LsinT = 0;  // tip point without the base offsets
  double Px = 0, Pz = 0;        // tip point with the base offsets
  double BaseX = 0, BaseZ = 0;
  double Hr = 0;
  double WindAngle = 0, Dir = 0;  // grid angle + WindAngle − Dir is the angle in the flame's frame
  double halfShift = 0;
  int cStep = 1;
  int nx = 0, ny = 0;  // grid half-widths in cells

  struct Ring {
    double rho1;    // ring radius, m
    double aCosT;   // axial distance × cos T
    double aSinT;   // axial distance × sin T
    double dA;      // patch area, m²
    double K2rho1;  // K² × ring radius
  };
  double cosA = 1;           // of the half-angle
  std::vector<Ring> rings;   // the first kRingChunk rings of the surface
  double moreRingsFrom = 0;  // slant distance of the next ring after them (≥ D when there is none)
};

// Puts the rings from slant distance `s` on into `out`, at most kRingChunk of them, and returns the slant
// distance of the ring after the last (≥ f.D at the end of the surface).
double NextRings(const FlameSetup& f, double s, std::vector<FlameSetup::Ring>& out);

// Checks the flame (CheckFlame) and prepares it for a grid of nx × ny half-widths.
FlameSetup PrepareFlame(FlameShape shape, const FlameGeometryInputs& g, const TorchFluxArgs& args, int cStep, int nx,
                        int ny);

// Scratch space of one worker: the patch angles of one cell and what the rings share of them.
struct FluxScratch {
  struct Arrays {
    std::vector<double> c, s, den, invDen, alpha, beta, m0, m1, m2;
    void clear() {
      for (auto* v : {&c, &s, &den, &invDen, &alpha, &beta, &m0, &m1, &m2}) v->clear();
    }
    void push(double c_, double s_, double den_, double invDen_, double alpha_, double beta_, double m0_, double m1_,
              double m2_) {
      c.push_back(c_);
      s.push_back(s_);
      den.push_back(den_);
      invDen.push_back(invDen_);
      alpha.push_back(alpha_);
      beta.push_back(beta_);
      m0.push_back(m0_);
      m1.push_back(m1_);
      m2.push_back(m2_);
    }
  };
  Arrays patches;
  std::vector<FlameSetup::Ring> rings;  // the current chunk of a surface longer than one chunk
};

// How many patches the flux computes at a time: four needs AVX2, eight AVX-512 (Best takes the widest the
// processor has; a width it lacks falls back to the widest it has). Every width gives the same bits;
// tests and benchmarks pin one.
enum class FluxLanes { Best, Two, Four, Eight };
void SetFluxLanes(FluxLanes lanes);
FluxLanes ActiveFluxLanes();  // the width the next cells will use

// Flux, kW/m², at the point (X, Y) m from the flame base (X already includes the shift); the point must
// not be the flame base itself, where the flux is not defined (the row takes its neighbour's value there).
double FlameFluxAt(const FlameSetup& f, double X, double Y, FluxScratch& scratch);

// What turns a point into the flame's frame: the radius of the first ring, the wind angle and the direction.
struct FlameFrame {
  double rho0, WindAngle, Dir;
};

// A bound from above of what FlameFluxAt computes at a point, for ruling points out without their flux. Every
// patch of a ring lies in the ring's box in the flame's frame (the elliptic section of radius ρ₁ reaches from
// −(1 − e)·ρ₁ to (1 + e)·ρ₁ along its axis and ±K·ρ₁ across it; the positions the method rounds, to the
// rounding), no orientation factor exceeds 1 (a patch counts only where it does not), and a point takes at
// most 2ψ/Δθ + 2 patches of each ring. So each ring adds at most that many patches times E·dA/π ·
// exp(−k·d)/d², d the distance from the point to the ring's box; the sum, raised for the rounding of its
// terms, is at least the flux. Where the point lies in a box the bound is infinite.
class FlameFluxBound {
 public:
  explicit FlameFluxBound(const FlameSetup& f);
  // At least FlameFluxAt(f, X, Y) (X already includes the shift; not the flame base itself). Where the boxes
  // as one already bound the flux to at most `enough`, that coarser bound.
  double at(double X, double Y, double enough = 0) const;

  // The box of each ring of the surface that has a size, in the order of the rings, in the flame's frame.
  struct Box {
    double xLow, xHigh, yHalf, zLow, zHigh;
    double weight;  // E·dA/π of one patch of the ring
  };
  const std::vector<Box>& ringBoxes() const { return rings_; }

 private:
  double sum(const std::vector<Box>& boxes, double xr, double yr) const;
  FlameFrame frame_;
  double dtheta_;
  std::vector<Box> rings_;
  std::vector<Box> whole_;  // one box around all the rings, with their weights added
};

// One row (iy) of the field into `row` (2·nx + 1 cells, from ix = −nx): cell ix is evaluated at
// x = ix·CStep + Shift/2, y = iy·CStep. A cell at the flame base repeats the cell before it in the row
// (0 when it is the row's first cell).
void FlameFluxRow(const FlameSetup& f, int iy, double* row, FluxScratch& scratch);

// The whole field of one flame into s.GridValue (dimensioned to the grid when its bounds differ), rows in
// parallel, one progress step per row. Returns the flame radius. Throws ModelInputError for a flame
// that cannot be computed (before anything is written) and Cancelled when the user stops it.
double TorchFluxField(CalcState& s, FlameShape shape, const TorchFluxArgs& args, Progress& progress = NoProgress());

}  // namespace velaron::models
