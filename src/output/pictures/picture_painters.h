// The two painters of a result picture's plot, for RenderResultPicture: the map seen from above
// (top_view.cpp) and the banded mesh seen obliquely (mesh_view.cpp), and the marks both draw alike.
#pragma once

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <QString>
#include <algorithm>

#include "common/numtext.h"
#include "output/pictures/result_pictures.h"

namespace velaron::output {

// The route's dashed line at a text size of `fontPx` pixels.
inline QPen RoutePen(int fontPx) { return QPen(QColor(20, 60, 160), std::max(2.0, fontPx / 6.0), Qt::DashLine); }
// A distance along an axis, in metres, with the decimal comma, and the axes' titles.
inline QString MetresText(double v) { return QString::fromStdString(FormatNumber(v)); }
inline QString AxisTitleX() { return QString::fromUtf8("x, м"); }
inline QString AxisTitleY() { return QString::fromUtf8("y, м"); }

// The map: every pixel of `plot` in the band of the field there, the bands' borders as contour lines, the
// route through the rupture point along the options' azimuth (when drawn), the frame and the axes in
// metres. Cells are `cStep` metres apart.
void DrawTopView(QPainter& p, const QRect& plot, const models::Grid& grid, int cStep, const BandScale& scale,
                 int fontPx, const PictureOptions& options);
// Room above the map for the title "y, м" over the top y label, which stands half a line above the plot.
int AxisTitleRoom(const QFontMetrics& fm);

// The mesh over a floor with two back walls, its heights by the levels of the scale, the route laid on the
// surface (when drawn), the levels and the distances in metres along the edges. Returns the direction of
// north on the picture (a unit vector into the picture along the floor's depth).
QPointF DrawMesh(QPainter& p, const QRect& plot, const models::Grid& grid, int cStep, const BandScale& scale,
                 int fontPx, const PictureOptions& options);

}  // namespace velaron::output
