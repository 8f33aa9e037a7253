// The zone tables of a run: the radii, m, of the four zone levels (1..4: 99.99, 50, 33 and 1 % of injury)
// for the run as a whole (CurZones), for each scenario kind (ZoneR) and, for each jet case, along each of
// the eight compass directions (ZoneRDir). Zone levels and directions count from 1, north first and
// clockwise, as everywhere in the program; scenario kinds are ScenarioKind. Every access is checked: a
// number outside its range, or a kind that is no jet case in ZoneRDir, throws std::out_of_range. The
// calculation state fills these tables and the record of the finished run keeps them as they are.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace velaron::models {

// The scenario kinds: the rows of the zone tables and the layers of the layered grids (a numbering of its
// own, not the scenario code). The jet cases are the kinds 1..5.
enum class ScenarioKind : int {
  PitWinter = 1,
  PitSummer = 2,
  SymmetricWinter = 3,
  SymmetricSummer = 4,
  Asymmetric = 5,
  FireBall = 6,
  Explosion = 7,
  GasCloud = 8,
  Combined = 9,
};

inline constexpr int kZoneLevels = 4, kScenarioKinds = 9, kJetCases = 5, kDirections = 8;

// The layer of a layered grid that holds a scenario kind.
constexpr int LayerOf(ScenarioKind kind) { return static_cast<int>(kind); }

// The kind of number 1..9 (the jet cases 1..5 in that order).
constexpr ScenarioKind KindOf(int number) { return static_cast<ScenarioKind>(number); }

// Index of a number counted from 1; 0 and below fall outside every table, so that at() throws.
constexpr std::size_t IndexFrom1(int number) { return number >= 1 ? static_cast<std::size_t>(number - 1) : SIZE_MAX; }

// Radii of the zone levels 1..4, m: 0 where a level is not attained, −1 where a radius was not found.
class ZoneRow {
 public:
  constexpr ZoneRow() = default;
  constexpr ZoneRow(double r1, double r2, double r3, double r4) : radii_{r1, r2, r3, r4} {}

  double& operator()(int level) { return radii_.at(IndexFrom1(level)); }
  double operator()(int level) const { return radii_.at(IndexFrom1(level)); }
  void fill(double radius) { radii_.fill(radius); }
  // The radii of levels 1..4 in order.
  const std::array<double, kZoneLevels>& radii() const { return radii_; }
  bool operator==(const ZoneRow&) const = default;

 private:
  std::array<double, kZoneLevels> radii_{};
};

using DirectionRows = std::array<ZoneRow, kDirections>;  // directions 1..8 in order

class ZoneTables {
 public:
  // The run's zones.
  ZoneRow& CurZones() { return current_; }
  const ZoneRow& CurZones() const { return current_; }
  // The zones of a scenario kind.
  ZoneRow& ZoneR(ScenarioKind kind) { return byKind_.at(IndexFrom1(static_cast<int>(kind))); }
  const ZoneRow& ZoneR(ScenarioKind kind) const { return byKind_.at(IndexFrom1(static_cast<int>(kind))); }
  // The zones of a jet case along direction 1..8, and all eight directions of a jet case.
  ZoneRow& ZoneRDir(ScenarioKind jetCase, int direction) { return directions(jetCase).at(IndexFrom1(direction)); }
  const ZoneRow& ZoneRDir(ScenarioKind jetCase, int direction) const {
    return directions(jetCase).at(IndexFrom1(direction));
  }
  DirectionRows& directions(ScenarioKind jetCase) { return byDirection_.at(IndexFrom1(static_cast<int>(jetCase))); }
  const DirectionRows& directions(ScenarioKind jetCase) const {
    return byDirection_.at(IndexFrom1(static_cast<int>(jetCase)));
  }
  // Every direction of every jet case to 0.
  void clearDirections() {
    for (DirectionRows& rows : byDirection_)
      for (ZoneRow& row : rows) row.fill(0);
  }
  bool operator==(const ZoneTables&) const = default;

 private:
  ZoneRow current_;
  std::array<ZoneRow, kScenarioKinds> byKind_{};
  std::array<DirectionRows, kJetCases> byDirection_{};
};

}  // namespace velaron::models
