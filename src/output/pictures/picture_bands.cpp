#include "output/pictures/picture_bands.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/numtext.h"
#include "common/qt_text.h"

namespace velaron::output {

namespace {

// Sequential colours from pale to dark red.
constexpr std::array<QRgb, 9> kRamp = {qRgb(255, 247, 188), qRgb(254, 227, 145), qRgb(254, 196, 79),
                                       qRgb(254, 153, 41),  qRgb(236, 112, 20),  qRgb(217, 72, 1),
                                       qRgb(180, 30, 20),   qRgb(140, 10, 40),   qRgb(90, 0, 50)};
const QColor kBackground(246, 248, 250);
// Heat-flux levels at most: seven bands and the background below them.
constexpr size_t kMostFluxLevels = 8;

QString ExpText(double v) {
  // "1,0E-06": one decimal, a signed two-digit exponent, the decimal comma.
  return QString::asprintf("%.1E", v).replace(QLatin1Char('.'), QLatin1Char(','));
}

}  // namespace

int BandScale::bandOf(double v) const {
  if (bands() < 1 || !(v >= edges.front())) return -1;
  const auto it = std::upper_bound(edges.begin(), edges.end(), v);
  const int b = static_cast<int>(it - edges.begin()) - 1;
  return std::min(b, bands() - 1);
}

double PictureValue(PictureKind kind, double v) { return kind == PictureKind::Overpressure ? v / 1000 : v; }

double PictureMax(const models::Grid& g, PictureKind kind) {
  double m = 0;
  if (g.empty()) return m;
  for (int y = -g.ny(); y <= g.ny(); ++y)
    for (int x = -g.nx(); x <= g.nx(); ++x) m = std::max(m, PictureValue(kind, g(x, y)));
  return m;
}

BandScale PictureBands(PictureKind kind, double maxValue) {
  BandScale s;
  const double m = std::isfinite(maxValue) && maxValue > 0 ? maxValue : 0;
  switch (kind) {
    case PictureKind::Probability:
      s.edges = {1, 33, 50, 99.99};
      s.openTop = true;
      break;
    case PictureKind::Overpressure: {
      static constexpr double kLevels[] = {3, 10, 20, 30, 50, 70, 100, 300};
      for (double level : kLevels) {
        s.edges.push_back(level);
        if (level >= m) break;
      }
      if (s.edges.back() == 300 && m > 300) s.openTop = true;
      if (s.edges.size() < 2) s.edges.push_back(10);  // a field below 3 kPa still has its first band
      break;
    }
    case PictureKind::HeatFlux: {
      // Round levels of the 1-2-5 series, the top one the first at or above the maximum, down to
      // 1 kW/m² (what a person bears for long) once there are five bands, and never more than seven, so
      // that with the background below the lowest level the legend holds at most eight rows.
      // Like the other kinds the levels grow geometrically, so the zones near the flame and the wide
      // weak zones both show.
      const double top = m > 0 ? m : 1;
      double mag = std::pow(10.0, std::floor(std::log10(top)));
      double level = 10 * mag;
      for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * mag >= top * (1 - 1e-12)) {
          level = f * mag;
          break;
        }
      std::vector<double> down{level};
      auto lower = [](double v) {  // the next smaller value of the series
        const double e = std::pow(10.0, std::floor(std::log10(v) + 1e-9));
        const double f = v / e;
        return f > 4.5 ? 2 * e : f > 1.5 ? e : 0.5 * e;
      };
      while (down.size() < kMostFluxLevels && !(down.size() >= 6 && down.back() <= 1 + 1e-12))
        down.push_back(lower(down.back()));
      s.edges.assign(down.rbegin(), down.rend());
      break;
    }
    case PictureKind::Risk: {
      const int top = m > 0 ? static_cast<int>(std::ceil(std::log10(m) - 1e-9)) : -6;
      for (int e = top - 6; e <= top; ++e) s.edges.push_back(std::pow(10.0, e));
      break;
    }
  }
  return s;
}

BandScale GridBands(const models::Grid& grid, PictureKind kind) { return PictureBands(kind, PictureMax(grid, kind)); }

QColor BandColor(int band, int bands) {
  if (band < 0) return kBackground;
  if (bands <= 1) return QColor(kRamp[4]);
  // Spread the bands over the ramp; with few bands skip the palest colours so each stands out.
  const double first = bands <= 4 ? 1 : 0;
  const double t = first + (static_cast<double>(kRamp.size()) - 1 - first) * band / (bands - 1);
  const int i = std::clamp(static_cast<int>(std::floor(t)), 0, static_cast<int>(kRamp.size()) - 1);
  const int j = std::min(i + 1, static_cast<int>(kRamp.size()) - 1);
  const double f = t - i;
  const QColor a(kRamp[static_cast<size_t>(i)]), b(kRamp[static_cast<size_t>(j)]);
  return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - f) + b.redF() * f),
                          static_cast<float>(a.greenF() * (1 - f) + b.greenF() * f),
                          static_cast<float>(a.blueF() * (1 - f) + b.blueF() * f));
}

QString LegendTitle(PictureKind kind) {
  switch (kind) {
    case PictureKind::HeatFlux: return U("Тепловой поток, кВт/м²");
    case PictureKind::Overpressure: return U("Избыточное давление, кПа");
    case PictureKind::Probability: return U("Вероятность поражения, %");
    case PictureKind::Risk: return U("Индивидуальный риск, 1/год");
  }
  return {};
}

QString LevelText(PictureKind kind, double level) {
  return kind == PictureKind::Risk ? ExpText(level) : QString::fromStdString(FormatNumber(level));
}

std::vector<QString> LegendTexts(PictureKind kind, const BandScale& s) {
  std::vector<QString> t;
  const int n = s.bands();
  const QString dash = U(" – ");
  for (int b = n - 1; b >= 0; --b) {
    const auto lo = static_cast<size_t>(b);
    if (lo + 1 >= s.edges.size()) t.push_back(U("≥ ") + LevelText(kind, s.edges[lo]));
    else t.push_back(LevelText(kind, s.edges[lo]) + dash + LevelText(kind, s.edges[lo + 1]));
  }
  if (!s.edges.empty() && s.edges.front() > 0) t.push_back(U("< ") + LevelText(kind, s.edges.front()));
  return t;
}

QString MeshNote(const models::Grid& grid, PictureKind kind, const BandScale& scale) {
  QString note = U("Высота: уровни шкалы через равные промежутки.");
  if (PictureMax(grid, kind) > scale.edges.back())
    note += U(" Поверхность срезана на уровне ") + LevelText(kind, scale.edges.back()) + QStringLiteral(".");
  return note;
}

}  // namespace velaron::output
