// The distance charts of the result tab (`graf1`: the damaging factor, `graf2`: the probability of
// injury, both against the distance from the rupture point), built from a completed run.
#pragma once

#include <QtCharts/QChart>

#include "result/run_snapshot.h"

namespace velaron::ui {

// A two-dimensional line chart of one series with the series' axis titles. The caller owns the chart
// (a QChartView takes it over with setChart).
QChart* BuildDistanceChart(const result::DistanceSeries& series);

inline QChart* BuildGraf1(const result::RunSnapshot& s) { return BuildDistanceChart(s.graf1); }
inline QChart* BuildGraf2(const result::RunSnapshot& s) { return BuildDistanceChart(s.graf2); }

}  // namespace velaron::ui
