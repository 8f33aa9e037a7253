#include "output/pictures/chart_picture.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "common/numtext.h"
#include "common/qt_text.h"

namespace velaron::output {

namespace {

// The smallest multiple of `step` at or above `v`, one step more when the curve would touch the frame.
double RoundUp(double v, double step, bool strictlyAbove) {
  double top = std::ceil(v / step - 1e-9) * step;
  if (strictlyAbove && top < v * 1.03) top += step;
  return std::max(top, step);
}

}  // namespace

double TickStep(double low, double high, int maxTicks) {
  const double span = high - low;
  if (!(span > 0) || !std::isfinite(span)) return 1;
  const double raw = span / std::max(1, maxTicks - 1);
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  for (double f : {1.0, 2.0, 5.0})
    if (f * mag >= raw * (1 - 1e-9)) return f * mag;
  return 10 * mag;
}

std::vector<double> TicksAt(double low, double high, double step) {
  std::vector<double> t;
  const double eps = step * 1e-9;
  for (double k = std::ceil((low - eps) / step); k * step <= high + eps; k += 1) {
    const double v = k * step;
    t.push_back(std::abs(v) < eps ? 0.0 : v);
  }
  return t;
}

ChartAxes DistanceChartAxes(const std::vector<std::pair<double, double>>& points, double xMaxShared, double yLimit) {
  double xMax = std::max(0.0, xMaxShared), yMax = 0;
  for (const auto& [x, y] : points) {
    if (std::isfinite(x)) xMax = std::max(xMax, x);
    if (std::isfinite(y)) yMax = std::max(yMax, y);
  }
  ChartAxes a;
  // The distance axis ends at the farthest point, whatever its distance (707 m at the corner of a 1000 m
  // grid): the ticks stay round and inside it.
  if (xMax > 0) {
    a.xStep = TickStep(0, xMax, 7);
    a.xMax = xMax;
  }
  if (yMax > 0) {
    a.yStep = TickStep(0, yMax, 8);
    a.yMax = RoundUp(yMax, a.yStep, true);
    // A round step divides a round limit, so the axis still ends on a tick.
    if (yLimit > 0 && yMax <= yLimit) a.yMax = std::min(a.yMax, RoundUp(yLimit, a.yStep, false));
  }
  return a;
}

QImage RenderDistanceChart(const std::vector<std::pair<double, double>>& points, const ChartPictureOptions& s) {
  const int w = std::max(s.width, 160), h = std::max(s.height, 120);
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  const ChartAxes a = DistanceChartAxes(points, s.xMaxShared, s.yLimit);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(std::clamp(std::min(w / 45, h / 26), 10, 36));
  p.setFont(font);
  const QFontMetrics fm(font);
  const std::vector<double> xTicks = TicksAt(0, a.xMax, a.xStep), yTicks = TicksAt(0, a.yMax, a.yStep);
  int labelW = 0;
  for (double v : yTicks) labelW = std::max(labelW, fm.horizontalAdvance(NumberText(v)));
  const int pad = fm.height() / 2;
  const int lastLabelW = xTicks.empty() ? 0 : fm.horizontalAdvance(NumberText(xTicks.back()));
  const QRect plot(pad + fm.height() + 4 + labelW + 6, pad + fm.height() / 2, 0, 0);
  const QRect frame(plot.left(), plot.top(), w - plot.left() - lastLabelW / 2 - pad,
                    h - plot.top() - pad - fm.height() * 2 - 8);
  // The values run from a little above the frame's bottom to a little below its top, so that a curve lying
  // on 0 or on the axis's end (a probability of 99,99 %) is drawn whole inside the frame, not cut in half.
  const int lineWidth = std::max(2, font.pixelSize() / 6);
  const double inset = lineWidth / 2.0 + 1;
  const double bottom = frame.bottom() - inset, span = frame.height() - 1 - 2 * inset;
  auto toPx = [&](double x, double y) {
    return QPointF(frame.left() + x / a.xMax * frame.width(), bottom - y / a.yMax * span);
  };
  // Grid lines and tick labels.
  p.setPen(QPen(QColor(220, 220, 220), 1));
  for (double v : yTicks) p.drawLine(toPx(0, v), toPx(a.xMax, v));
  for (double v : xTicks) p.drawLine(QPointF(toPx(v, 0).x(), frame.bottom()), QPointF(toPx(v, 0).x(), frame.top()));
  p.setPen(Qt::black);
  for (double v : yTicks) {
    const QPointF at = toPx(0, v);
    // The y axis's "0" stands above the corner, clear of the x axis's "0" under it.
    const double top = v == 0 ? at.y() - fm.height() : at.y() - fm.height() / 2.0;
    p.drawText(QRectF(at.x() - labelW - 6, top, labelW + 2, fm.height()),
               Qt::AlignRight | (v == 0 ? Qt::AlignBottom : Qt::AlignVCenter), NumberText(v));
  }
  for (double v : xTicks) {
    const double x = toPx(v, 0).x();
    const QString t = NumberText(v);
    const int tw = fm.horizontalAdvance(t) + 4;
    p.drawText(QRectF(x - tw / 2.0, frame.bottom() + 3, tw, fm.height()), Qt::AlignCenter, t);
  }
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(frame);
  // Axis titles: x under the labels, y along the left edge.
  p.drawText(QRect(frame.left(), frame.bottom() + fm.height() + 5, frame.width(), fm.height()), Qt::AlignCenter,
             s.xTitle);
  p.save();
  p.translate(pad, frame.center().y());
  p.rotate(-90);
  p.drawText(QRect(-frame.height() / 2, 0, frame.height(), fm.height()), Qt::AlignCenter, s.yTitle);
  p.restore();
  // The curve.
  QPainterPath path;
  bool first = true;
  for (const auto& [x, y] : points) {
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    if (first) path.moveTo(toPx(x, y));
    else path.lineTo(toPx(x, y));
    first = false;
  }
  p.setClipRect(frame);
  p.setPen(QPen(QColor(20, 60, 160), lineWidth));
  p.drawPath(path);
  p.end();
  return image;
}

}  // namespace velaron::output
