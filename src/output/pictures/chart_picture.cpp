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
  if (xMax > 0) {
    a.xStep = TickStep(0, xMax, 7);
    a.xMax = RoundUp(xMax, a.xStep, false);
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
  std::vector<double> yTicks;
  for (double v = 0; v <= a.yMax * (1 + 1e-9); v += a.yStep) yTicks.push_back(v);
  int labelW = 0;
  for (double v : yTicks) labelW = std::max(labelW, fm.horizontalAdvance(NumberText(v)));
  const int pad = fm.height() / 2;
  const QRect plot(pad + fm.height() + 4 + labelW + 6, pad + fm.height() / 2, 0, 0);
  const QRect frame(plot.left(), plot.top(), w - plot.left() - fm.horizontalAdvance(NumberText(a.xMax)) / 2 - pad,
                    h - plot.top() - pad - fm.height() * 2 - 8);
  auto toPx = [&](double x, double y) {
    return QPointF(frame.left() + x / a.xMax * frame.width(), frame.bottom() - y / a.yMax * frame.height());
  };
  // Grid lines and tick labels.
  p.setPen(QPen(QColor(220, 220, 220), 1));
  for (double v : yTicks) p.drawLine(toPx(0, v), toPx(a.xMax, v));
  for (double v = 0; v <= a.xMax * (1 + 1e-9); v += a.xStep) p.drawLine(toPx(v, 0), toPx(v, a.yMax));
  p.setPen(Qt::black);
  for (double v : yTicks) {
    const QPointF at = toPx(0, v);
    // The y axis's "0" stands above the corner, clear of the x axis's "0" under it.
    const double top = v == 0 ? at.y() - fm.height() : at.y() - fm.height() / 2.0;
    p.drawText(QRectF(at.x() - labelW - 6, top, labelW + 2, fm.height()),
               Qt::AlignRight | (v == 0 ? Qt::AlignBottom : Qt::AlignVCenter), NumberText(v));
  }
  for (double v = 0; v <= a.xMax * (1 + 1e-9); v += a.xStep) {
    const QPointF at = toPx(v, 0);
    const QString t = NumberText(v);
    const int tw = fm.horizontalAdvance(t) + 4;
    p.drawText(QRectF(at.x() - tw / 2.0, at.y() + 3, tw, fm.height()), Qt::AlignCenter, t);
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
  p.setPen(QPen(QColor(20, 60, 160), std::max(2, font.pixelSize() / 6)));
  p.drawPath(path);
  p.end();
  return image;
}

}  // namespace velaron::output
