#include "output/json/run_json.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace velaron::output {

namespace {

void Num(QByteArray& out, double x) {
  if (!std::isfinite(x)) {
    out += "null";
    return;
  }
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", x);
  // The C library may use a comma under some locales: JSON needs the point.
  for (char* c = buf; *c; ++c)
    if (*c == ',') *c = '.';
  out += buf;
}

void Str(QByteArray& out, const QString& s) {
  out += '"';
  for (const QChar ch : s) {
    const ushort u = ch.unicode();
    if (u == '"') out += "\\\"";
    else if (u == '\\') out += "\\\\";
    else if (u == '\n') out += "\\n";
    else if (u == '\r') out += "\\r";
    else if (u == '\t') out += "\\t";
    else if (u < 0x20) out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0')).toLatin1();
    else out += QString(ch).toUtf8();
  }
  out += '"';
}

void Key(QByteArray& out, const char* key, bool& first) {
  if (!first) out += ", ";
  first = false;
  out += '"';
  out += key;
  out += "\": ";
}

template <class Row>
void NumArray(QByteArray& out, const Row& row) {
  out += '[';
  bool first = true;
  for (double v : row) {
    if (!first) out += ", ";
    first = false;
    Num(out, v);
  }
  out += ']';
}

void GridJson(QByteArray& out, const models::Grid& g, int nx, int ny) {
  out += "{\"nx\": ";
  out += QByteArray::number(nx);
  out += ", \"ny\": ";
  out += QByteArray::number(ny);
  out += ", \"rows\": [";
  for (int y = -ny; y <= ny; ++y) {
    if (y != -ny) out += ", ";
    out += '[';
    for (int x = -nx; x <= nx; ++x) {
      if (x != -nx) out += ", ";
      Num(out, g.at0(x, y));
    }
    out += ']';
  }
  out += "]}";
}

}  // namespace

QByteArray ErrorJson(const QString& message) {
  QByteArray out = "{\"error\": ";
  Str(out, message);
  out += "}\n";
  return out;
}

QByteArray SnapshotJson(const result::RunSnapshot& s, const QStringList& grids) {
  QByteArray out;
  out.reserve(1 << 16);
  out += "{\"ScenarioCode\": ";
  out += QByteArray::number(result::CodeOf(s.scenario()));
  const models::DerivedQuantities& d = s.derived;
  out += ", \"derived\": {";
  bool first = true;
  for (const auto& [k, field] : models::kDerivedFields) {
    // The diameter coefficient belongs to the region ways of the accident rate; a typed-in rate has none.
    if (s.request.rate.way == 3 && std::strcmp(k, "KoefDy") == 0) continue;
    Key(out, k, first);
    Num(out, d.*field);
  }
  if (d.asymmetricComputed) {
    for (const auto& [k, field] : models::kAsymmetricFields) {
      Key(out, k, first);
      Num(out, d.*field);
    }
  }
  out += "}, \"probabilities\": {";
  first = true;
  for (const auto& [k, field] : models::kProbabilityFields) {
    Key(out, k, first);
    Num(out, s.probabilities.*field);
  }
  out += "}, \"CurZones\": ";
  NumArray(out, s.zones.CurZones().radii());
  out += ", \"ZoneR\": [";
  for (int k = 1; k <= models::kScenarioKinds; ++k) {
    if (k > 1) out += ", ";
    NumArray(out, s.zones.ZoneR(models::KindOf(k)).radii());
  }
  out += "], \"ZoneRDir\": [";
  for (int c = 1; c <= models::kJetCases; ++c) {
    if (c > 1) out += ", ";
    out += '[';
    for (int dir = 1; dir <= models::kDirections; ++dir) {
      if (dir > 1) out += ", ";
      NumArray(out, s.zones.ZoneRDir(models::KindOf(c), dir).radii());
    }
    out += ']';
  }
  out += "], \"RadiusDP\": ";
  NumArray(out, s.RadiusDP);
  out += ", \"WorstDir\": [";
  Str(out, s.WorstDir[0]);
  out += ", ";
  Str(out, s.WorstDir[1]);
  out += "], \"RFireBall\": ";
  Num(out, s.RFireBall);
  out += ", \"TFireBall\": ";
  Num(out, s.TFireBall);
  out += ", \"ZoneAtEdge\": ";
  out += s.ZoneAtEdge ? "true" : "false";
  out += ", \"grids\": {";
  const int nx = models::GridHalf(s.request.settings.XLimit, s.request.settings.CStep);
  const int ny = models::GridHalf(s.request.settings.YLimit, s.request.settings.CStep);
  first = true;
  for (const QString& name : grids) {
    const models::Grid* g = result::GridNamed(s, name);
    if (!g || g->empty()) continue;  // a grid the run did not compute is left out
    const QByteArray key = name.toUtf8();
    Key(out, key.constData(), first);
    GridJson(out, *g, nx, ny);
  }
  out += "}}\n";
  return out;
}

}  // namespace velaron::output
