// The pit and the symmetric jet fire (one flame at the rupture point), and the steps that both jet-fire
// models share: the walks along the eight compass directions, the zone radii by direction, the worst
// direction and the profile along it.
//
// The model itself is RaschetSimmTorch (declared with the other models in calc_state.h).
#pragma once

#include "models/calc_state.h"

namespace velaron::models {

// One step along compass direction d (1 north, 2 north-east, ... 8 north-west, clockwise): +y is north,
// +x east; a diagonal step moves one cell in x and one in y.
struct CompassStep {
  int dx = 0;
  int dy = 0;
  bool diagonal = false;
};
CompassStep DirectionStep(int d);

// Distance, m, of point k (k = 0, 1, ...) of direction d: k·CStep, or √2·CStep·k on a diagonal.
double DirectionDistance(int d, int k, int cStep);

// The value of g at point k of direction d. A point beyond the grid's edge reads 0: with YLimit below
// XLimit the walks, which take their length from XLimit, run past the grid's top and bottom.
double DirectionValue(const Grid& g, int d, int k);

// RadProfile (0..n, 0..2) along direction d from GridProc: (i,1) percent at point i − 1, (i,2) its
// distance, i = 1..n, n = XLimit/(2·CStep) + 1.
void FillDirectionProfile(CalcState& s, int d);

// For d = 1..8: the profile along d, ZoneRadii, and ZoneRDir(jetCase, d) := CurZones.
void DirectionZoneRadii(CalcState& s, ScenarioKind jetCase);

// A stand-alone jet run starts its own ZoneR row from 0, so radii of an earlier run never survive into
// this run's results (the row is only ever raised afterwards).
void ClearZoneRRow(CalcState& s, ScenarioKind kind);

// ZoneR(jetCase)(z) := the largest of itself and ZoneRDir(jetCase, 1..8)(z).
void RaiseZoneR(CalcState& s, ScenarioKind jetCase);

// CurZones(z) := the largest radius over the eight directions, z = 4 down to 1, and WorstDir(1) := the
// direction of the last strict improvement (zone 1 decides when any direction attains it; ties go to the
// lowest direction). When no direction has a radius above 0, WorstDir(1) is left as it is.
void FindWorstDirection(CalcState& s, ScenarioKind jetCase);

// Profile (0..n, 0..3) along the direction that WorstDir(1) names (north when it names none): (i,1) heat
// flux, (i,2) distance, m, (i,3) percent at point i − 1; WorstDir(2) := that direction's dative name.
void FillWorstProfile(CalcState& s);

// Number of grid rows of the field (progress steps of one flame).
int FieldRows(const CalcState& s);

}  // namespace velaron::models
