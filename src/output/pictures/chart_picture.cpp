#include "output/pictures/chart_picture.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "common/numtext.h"

namespace velaron::output {

namespace {

constexpr int kTextPoints = 9;
const QColor kLineColor(31, 78, 160);
const QColor kGridColor(215, 215, 215);

QString Label(double v) {
  if (std::fabs(v) < 1e-9) v = 0;
  return QString::fromStdString(FormatNumber(v));
}

}  // namespace

double ChartTickStep(double span, int ticks) {
  if (!(span > 0) || !std::isfinite(span) || ticks < 1) return 1;
  const double raw = span / ticks;
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  const double f = raw / mag;
  return (f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10) * mag;
}

QImage RenderDistanceChart(const std::vector<std::pair<double, double>>& points, const ChartPictureOptions& o) {
  QImage img(std::max(o.width, 120), std::max(o.height, 90), QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QFont font = p.font();
  font.setPointSize(kTextPoints);
  p.setFont(font);
  const QFontMetrics fm(font);

  // Ranges: x over the points, y from 0 (or below, for negative values) to the largest value.
  double x0 = 0, x1 = 1, y0 = 0, y1 = 1;
  bool any = false;
  for (const auto& [x, y] : points) {
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    if (!any) x0 = x1 = x, y1 = y, any = true;
    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
  }
  if (!(x1 > x0)) x1 = x0 + 1;
  if (!(y1 > y0)) y1 = y0 + 1;
  const double xs = ChartTickStep(x1 - x0), ys = ChartTickStep(y1 - y0, 6);
  x0 = std::floor(x0 / xs) * xs, x1 = std::ceil(x1 / xs) * xs;
  y0 = std::floor(y0 / ys) * ys, y1 = std::ceil(y1 / ys) * ys;

  int labelWidth = 0;
  for (double v = y0; v <= y1 + ys / 2; v += ys) labelWidth = std::max(labelWidth, fm.horizontalAdvance(Label(v)));
  const int lineH = fm.height();
  const QRect plot(lineH + 8 + labelWidth + 6, 10, 0, 0);
  QRect area = plot;
  area.setRight(img.width() - 16);
  area.setBottom(img.height() - (2 * lineH + 12));
  auto px = [&](double x) { return area.left() + (x - x0) / (x1 - x0) * area.width(); };
  auto py = [&](double y) { return area.bottom() - (y - y0) / (y1 - y0) * area.height(); };

  // Grid, ticks and their labels.
  p.setPen(QPen(kGridColor, 1));
  for (double v = x0; v <= x1 + xs / 2; v += xs) p.drawLine(QPointF(px(v), area.top()), QPointF(px(v), area.bottom()));
  for (double v = y0; v <= y1 + ys / 2; v += ys) p.drawLine(QPointF(area.left(), py(v)), QPointF(area.right(), py(v)));
  p.setPen(Qt::black);
  p.drawRect(area);
  for (double v = x0; v <= x1 + xs / 2; v += xs)
    p.drawText(QRectF(px(v) - 40, area.bottom() + 3, 80, lineH), Qt::AlignHCenter | Qt::AlignTop, Label(v));
  for (double v = y0; v <= y1 + ys / 2; v += ys)
    p.drawText(QRectF(area.left() - labelWidth - 6, py(v) - lineH / 2.0, labelWidth + 2, lineH),
               Qt::AlignRight | Qt::AlignVCenter, Label(v));

  // Axis titles: x under the labels, y turned along the left edge.
  p.drawText(QRect(area.left(), area.bottom() + lineH + 6, area.width(), lineH), Qt::AlignCenter, o.xTitle);
  p.save();
  p.translate(4, area.center().y());
  p.rotate(-90);
  p.drawText(QRect(-area.height() / 2, 0, area.height(), lineH), Qt::AlignCenter, o.yTitle);
  p.restore();

  // The line.
  QPainterPath path;
  bool first = true;
  for (const auto& [x, y] : points) {
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    const QPointF at(px(x), py(y));
    if (first) path.moveTo(at), first = false;
    else path.lineTo(at);
  }
  p.setClipRect(area.adjusted(-1, -1, 1, 1));
  p.setPen(QPen(kLineColor, 2));
  p.drawPath(path);
  return img;
}

}  // namespace velaron::output
