#include "run/headless.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "common/numtext.h"
#include "db/database.h"
#include "db/table_checks.h"
#include "models/parallel.h"
#include "result/scenarios.h"
#include "run/execute.h"
#include "run/prepare.h"
#include "run/run_texts.h"

namespace velaron::run {

namespace {

// --- Reading.

struct Reader {
  QString error;

  bool number(const QJsonObject& o, const char* key, double& out) {
    const auto v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull()) return true;
    if (!v.isDouble()) {
      fail(QStringLiteral("поле \"%1\" должно быть числом").arg(QLatin1String(key)));
      return false;
    }
    out = v.toDouble();
    return true;
  }
  bool integer(const QJsonObject& o, const char* key, int& out) {
    double d = out;
    if (!number(o, key, d)) return false;
    if (d != std::floor(d) || std::fabs(d) > 2147483647.0) {
      fail(QStringLiteral("поле \"%1\" должно быть целым числом").arg(QLatin1String(key)));
      return false;
    }
    out = static_cast<int>(d);
    return true;
  }
  bool text(const QJsonObject& o, const char* key, QString& out) {
    const auto v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull()) return true;
    if (!v.isString()) {
      fail(QStringLiteral("поле \"%1\" должно быть строкой").arg(QLatin1String(key)));
      return false;
    }
    out = v.toString();
    return true;
  }
  bool object(const QJsonObject& o, const char* key, QJsonObject& out, bool& present) {
    const auto v = o.value(QLatin1String(key));
    present = !v.isUndefined() && !v.isNull();
    if (!present) return true;
    if (!v.isObject()) {
      fail(QStringLiteral("поле \"%1\" должно быть объектом").arg(QLatin1String(key)));
      return false;
    }
    out = v.toObject();
    return true;
  }
  void fail(const QString& what) {
    if (error.isEmpty()) error = QStringLiteral("Ошибка во входном файле: ") + what;
  }
  // A key the driver does not know is refused: a misspelt one would otherwise be dropped in silence, and
  // its input would run with a value the user never chose.
  void known(const QJsonObject& o, std::initializer_list<const char*> keys, const char* group) {
    for (auto it = o.begin(); it != o.end(); ++it) {
      bool found = false;
      for (const char* key : keys) found = found || it.key() == QLatin1String(key);
      if (!found)
        fail(group ? QStringLiteral("неизвестное поле \"%1\" в \"%2\"").arg(it.key(), QLatin1String(group))
                   : QStringLiteral("неизвестное поле \"%1\"").arg(it.key()));
    }
  }
  // Every input that feeds the numbers must be in the file: a field left out would otherwise run with a
  // built-in default the user never chose (a section of length 0 has no risk at all).
  void need(const QJsonObject& o, std::initializer_list<const char*> keys, const char* group) {
    for (const char* key : keys) {
      const auto v = o.value(QLatin1String(key));
      if (v.isUndefined() || v.isNull())
        fail(QStringLiteral("не задано поле \"%1\" в \"%2\"").arg(QLatin1String(key), QLatin1String(group)));
    }
  }
};

// --- Writing.

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

QStringList HeadlessGridNames() {
  QStringList names{"GridValue", "GridImpuls", "GridProbit", "GridProc", "GridRisk"};
  for (int k = 1; k <= 6; ++k) names << QStringLiteral("LayerFlux%1").arg(k);
  for (int k = 1; k <= 8; ++k) names << QStringLiteral("LayerProc%1").arg(k);
  return names;
}

QByteArray ErrorJson(const QString& message) {
  QByteArray out = "{\"error\": ";
  Str(out, message);
  out += "}\n";
  return out;
}

std::optional<HeadlessRequest> ParseHeadlessRequest(const QByteArray& json, QString& error) {
  QJsonParseError perr;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &perr);
  if (perr.error != QJsonParseError::NoError || !doc.isObject()) {
    error = QStringLiteral("Ошибка во входном файле: ") +
            (perr.error != QJsonParseError::NoError ? perr.errorString() : QStringLiteral("ожидается объект JSON"));
    return std::nullopt;
  }
  const QJsonObject root = doc.object();
  HeadlessRequest h;
  result::RunRequest& r = h.request;
  Reader rd;
  QJsonObject o;
  bool present = false;
  // "texts" and "options" belong to the documents a run writes.
  rd.known(root, {"settings", "pipeline", "rate", "external", "section", "run", "texts", "options"}, nullptr);

  if (rd.object(root, "settings", o, present) && present) {
    h.settingsGiven = true;
    rd.known(o, {"XLimit", "YLimit", "CStep", "Skor_chel", "Tfb", "Dola", "Tobl", "Dola_obl"}, "settings");
    rd.need(o, {"XLimit", "YLimit", "CStep", "Skor_chel", "Tfb", "Dola", "Tobl", "Dola_obl"}, "settings");
    rd.integer(o, "XLimit", r.settings.XLimit);
    rd.integer(o, "YLimit", r.settings.YLimit);
    rd.integer(o, "CStep", r.settings.CStep);
    rd.number(o, "Skor_chel", r.settings.Skor_chel);
    rd.number(o, "Tfb", r.settings.Tfb);
    rd.number(o, "Dola", r.settings.Dola);
    rd.number(o, "Tobl", r.settings.Tobl);
    rd.number(o, "Dola_obl", r.settings.Dola_obl);
  }
  if (rd.object(root, "pipeline", o, present) && present) {
    result::PipelineInputs& p = r.pipeline;
    rd.need(o, {"Gas", "Diametr", "DavlDown", "DavlUp", "Temp", "Glubina", "Ltrub", "InversPercent"}, "pipeline");
    rd.known(o, {"Gas", "Diametr", "DavlDown", "DavlUp", "Temp", "Glubina", "Ltrub", "Lkr", "Tsrab", "InversPercent"},
             "pipeline");
    rd.integer(o, "Gas", p.Gas);
    rd.number(o, "Diametr", p.Diametr);
    rd.number(o, "DavlDown", p.DavlDown);
    rd.number(o, "DavlUp", p.DavlUp);
    rd.number(o, "Temp", p.Temp);
    rd.number(o, "Glubina", p.Glubina);
    rd.number(o, "Ltrub", p.Ltrub);
    rd.number(o, "Lkr", p.Lkr);
    rd.number(o, "Tsrab", p.Tsrab);
    rd.number(o, "InversPercent", p.InversPercent);
  } else if (rd.error.isEmpty()) {
    rd.fail(QStringLiteral("не заданы данные газопровода (\"pipeline\")"));
  }
  if (rd.object(root, "rate", o, present) && present) {
    rd.known(o, {"way", "RegionPos", "Text8", "alfa_tr"}, "rate");
    rd.integer(o, "way", r.rate.way);
    rd.integer(o, "RegionPos", r.rate.RegionPos);
    rd.number(o, "Text8", r.rate.Text8);
    rd.number(o, "alfa_tr", r.rate.alfa_tr);
    if (r.rate.way < 1 || r.rate.way > 3) rd.fail(QStringLiteral("\"way\" должно быть 1, 2 или 3"));
    rd.need(o, {"way"}, "rate");
    if (r.rate.way == 1) rd.need(o, {"RegionPos"}, "rate");
    if (r.rate.way == 2) rd.need(o, {"RegionPos", "Text8"}, "rate");
    if (r.rate.way == 3) rd.need(o, {"alfa_tr"}, "rate");
  } else if (rd.error.isEmpty()) {
    rd.fail(QStringLiteral("не задан способ расчета частоты аварий (\"rate\")"));
  }
  if (rd.object(root, "external", o, present) && present) {
    result::ExternalInputs& e = r.external;
    rd.known(o, {"Check5", "Check6", "Check7", "Check8", "Eroz", "Stih", "Zapor", "Rechper"}, "external");
    rd.integer(o, "Check5", e.Check5);
    rd.integer(o, "Check6", e.Check6);
    rd.integer(o, "Check7", e.Check7);
    rd.integer(o, "Check8", e.Check8);
    rd.number(o, "Eroz", e.Eroz);
    rd.number(o, "Stih", e.Stih);
    rd.number(o, "Zapor", e.Zapor);
    rd.number(o, "Rechper", e.Rechper);
    for (int c : {e.Check5, e.Check6, e.Check7, e.Check8})
      if (c != 0 && c != 1) rd.fail(QStringLiteral("флажки внешних факторов должны быть 0 или 1"));
    // A ticked factor counts with its own probability, which must then be given.
    if (e.Check5) rd.need(o, {"Eroz"}, "external");
    if (e.Check6) rd.need(o, {"Stih"}, "external");
    if (e.Check7) rd.need(o, {"Zapor"}, "external");
    if (e.Check8) rd.need(o, {"Rechper"}, "external");
  }
  if (rd.object(root, "section", o, present) && present) {
    db::SectionRow& s = r.section;
    rd.integer(o, "TPID", s.TPID);
    h.sectionInline = o.size() > 1 || !o.contains(QStringLiteral("TPID"));
    rd.known(o, {"TPID", "Length", "Udal", "Azimut", "dpp1", "dpp2", "dpp3", "dpp4", "p_v", "G1", "G2", "G3", "G4",
                 "Ground"},
             "section");
    if (h.sectionInline) rd.need(o, {"TPID", "Length", "Udal", "Azimut", "p_v", "Ground"}, "section");
    rd.number(o, "Length", s.Length);
    rd.number(o, "Udal", s.Udal);
    rd.number(o, "Azimut", s.Azimut);
    rd.integer(o, "dpp1", s.dpp1);
    rd.integer(o, "dpp2", s.dpp2);
    rd.integer(o, "dpp3", s.dpp3);
    rd.integer(o, "dpp4", s.dpp4);
    rd.number(o, "p_v", s.p_v);
    rd.integer(o, "G1", s.G1);
    rd.integer(o, "G2", s.G2);
    rd.integer(o, "G3", s.G3);
    rd.integer(o, "G4", s.G4);
    rd.text(o, "Ground", s.Ground);
  } else if (rd.error.isEmpty()) {
    rd.fail(QStringLiteral("не задан участок (\"section\")"));
  }
  if (rd.object(root, "run", o, present) && present) {
    result::RunChoice& c = r.run;
    rd.need(o, {"ScenarioCode"}, "run");
    rd.known(o, {"ScenarioCode", "season", "WindSpeed", "WindDir", "idCity", "shares"}, "run");
    c.WindSpeed = 0;  // the fresh dialog's wind, for the scenarios that do not take it from the file
    rd.integer(o, "ScenarioCode", c.ScenarioCode);
    rd.integer(o, "season", c.season);
    rd.number(o, "WindSpeed", c.WindSpeed);
    rd.number(o, "WindDir", c.WindDir);
    rd.integer(o, "idCity", c.idCity);
    if (c.season != 0 && c.season != 1) rd.fail(QStringLiteral("\"season\" должно быть 0 или 1"));
    // The single jet fires burn in the chosen weather; the assessments over a year in the town's.
    if (result::IsScenarioCode(c.ScenarioCode)) {
      const result::ScenarioFacts& facts = result::FactsOf(c.ScenarioCode);
      if (facts.singleJet) rd.need(o, {"season", "WindSpeed", "WindDir"}, "run");
      if (facts.yearRound) rd.need(o, {"idCity"}, "run");
    }
    QJsonObject so;
    bool sharesPresent = false;
    if (rd.object(o, "shares", so, sharesPresent) && sharesPresent) {
      result::JetShares js;
      rd.need(so, {"Pkw", "Psw", "Paw", "Pks", "Pss", "Pas"}, "shares");
      rd.known(so, {"Pkw", "Psw", "Paw", "Pks", "Pss", "Pas"}, "shares");
      rd.number(so, "Pkw", js.Pkw);
      rd.number(so, "Psw", js.Psw);
      rd.number(so, "Paw", js.Paw);
      rd.number(so, "Pks", js.Pks);
      rd.number(so, "Pss", js.Pss);
      rd.number(so, "Pas", js.Pas);
      c.shares = js;
    }
  } else if (rd.error.isEmpty()) {
    rd.fail(QStringLiteral("не задан сценарий (\"run\")"));
  }
  // Texts of the documents, optional.
  if (rd.object(root, "texts", o, present) && present) {
    rd.known(o, {"Mestn", "ScenarioName"}, "texts");
    rd.text(o, "Mestn", r.texts.Mestn);
    rd.text(o, "ScenarioName", h.scenarioName);
  }
  // The report options of the settings dialog, for the documents of the run.
  if (rd.object(root, "options", o, present) && present) {
    rd.known(o, {"Opt3D", "OptExtraFiles"}, "options");
    for (auto [key, flag] : {std::pair{"Opt3D", &r.options.Opt3D}, std::pair{"OptExtraFiles", &r.options.OptExtraFiles}}) {
      const auto v = o.value(QLatin1String(key));
      if (v.isUndefined() || v.isNull()) continue;
      if (!v.isBool()) rd.fail(QStringLiteral("поле \"%1\" должно быть true или false").arg(QLatin1String(key)));
      *flag = v.toBool();
    }
  }
  if (!rd.error.isEmpty()) {
    error = rd.error;
    return std::nullopt;
  }
  return h;
}

QByteArray SnapshotJson(const result::RunSnapshot& s, const QStringList& grids) {
  QByteArray out;
  out.reserve(1 << 16);
  out += "{\"ScenarioCode\": ";
  out += QByteArray::number(s.ScenarioCode);
  const models::DerivedQuantities& d = s.derived;
  out += ", \"derived\": {";
  bool first = true;
  const std::pair<const char*, double> derived[] = {
      {"AccidentRate", d.AccidentRate}, {"KoefDy", d.KoefDy},       {"ExtFactors", d.ExtFactors},
      {"p_v", d.p_v},                   {"PitLength", d.PitLength}, {"Davl", d.Davl},
      {"TempK", d.TempK},               {"Dtrub", d.Dtrub},         {"AdiabK", d.AdiabK},
      {"SpecVolume", d.SpecVolume},     {"SpeedOut", d.SpeedOut},   {"SpecVolume0", d.SpecVolume0},
      {"MassFlow", d.MassFlow},         {"MassFireBall", d.MassFireBall}, {"MassGPVS", d.MassGPVS},
      {"DEquiv", d.DEquiv},             {"LTorch", d.LTorch},       {"Ri", d.Ri},
      {"Rw", d.Rw},                     {"W2", d.W2},               {"KEllipse", d.KEllipse},
      {"Tilt", d.Tilt},                 {"JetDir", d.JetDir},       {"JetAngle", d.JetAngle},
      {"WindAngle", d.WindAngle}};
  for (const auto& [k, v] : derived) {
    // The diameter coefficient belongs to the region ways of the accident rate; a typed-in rate has none.
    if (s.request.rate.way == 3 && std::strcmp(k, "KoefDy") == 0) continue;
    Key(out, k, first);
    Num(out, v);
  }
  if (d.asymmetricComputed) {
    const std::pair<const char*, double> asym[] = {{"LTorchWind", d.LTorchWind}, {"KLift", d.KLift},
                                                   {"LiftOff", d.LiftOff},       {"RL", d.RL},
                                                   {"W1", d.W1},                 {"ConeAngle", d.ConeAngle}};
    for (const auto& [k, v] : asym) {
      Key(out, k, first);
      Num(out, v);
    }
  }
  out += "}, \"probabilities\": {";
  first = true;
  const result::Probabilities& p = s.probabilities;
  const std::pair<const char*, double> probs[] = {
      {"PRupture", p.PRupture},       {"PIgnition", p.PIgnition}, {"PKotlTorch", p.PKotlTorch},
      {"PSimmTorch", p.PSimmTorch},   {"PAsimmTorch", p.PAsimmTorch}, {"PFireBall", p.PFireBall},
      {"PGPVS", p.PGPVS}};
  for (const auto& [k, v] : probs) {
    Key(out, k, first);
    Num(out, v);
  }
  out += "}, \"CurZones\": ";
  NumArray(out, s.CurZones);
  out += ", \"ZoneR\": [";
  for (size_t k = 0; k < s.ZoneR.size(); ++k) {
    if (k) out += ", ";
    NumArray(out, s.ZoneR[k]);
  }
  out += "], \"ZoneRDir\": [";
  for (size_t c = 0; c < s.ZoneRDir.size(); ++c) {
    if (c) out += ", ";
    out += '[';
    for (size_t dir = 0; dir < s.ZoneRDir[c].size(); ++dir) {
      if (dir) out += ", ";
      NumArray(out, s.ZoneRDir[c][dir]);
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
    const models::Grid* g = nullptr;
    if (name == QLatin1String("GridValue")) g = &s.GridValue;
    else if (name == QLatin1String("GridImpuls")) g = &s.GridImpuls;
    else if (name == QLatin1String("GridProbit")) g = &s.GridProbit;
    else if (name == QLatin1String("GridProc")) g = &s.GridProc;
    else if (name == QLatin1String("GridRisk")) g = &s.GridRisk;
    else if (name.startsWith(QLatin1String("LayerFlux")) || name.startsWith(QLatin1String("LayerProc"))) {
      const models::LayeredGrid& layers = name.startsWith(QLatin1String("LayerFlux")) ? s.LayerFlux : s.LayerProc;
      const int k = name.mid(9).toInt();
      if (k >= 1 && k <= layers.count()) g = &layers.layer(k);
    }
    if (!g || g->empty()) continue;  // a grid the run did not compute is left out
    const QByteArray key = name.toUtf8();
    Key(out, key.constData(), first);
    GridJson(out, *g, nx, ny);
  }
  out += "}}\n";
  return out;
}

namespace {

// The texts the main window would show for this request: the names of the gas, region and town rows the run
// uses and the diameter and temperature written with the decimal comma. (The section's soil names are the
// run's own, as in the window.)
void FillWindowTexts(result::RunRequest& request, const RunData& data) {
  result::MainWindowTexts& t = request.texts;
  if (data.gas) t.gasName = data.gas->VName;
  if (request.rate.way != 3)
    if (const auto region = db::LoadRegionAt(request.rate.RegionPos)) t.regionName = region->Region;
  if (data.town) t.cityName = data.town->CityName;
  t.diameterText = QString::fromStdString(FormatNumber(request.pipeline.Diametr));
  t.temperatureText = QString::fromStdString(FormatNumber(request.pipeline.Temp));
}

}  // namespace

HeadlessResult RunHeadless(const QString& dbPath, const QByteArray& inputJson, int threads, const QStringList& grids,
                           const RequestCheck& beforeRun) {
  HeadlessResult res;
  auto refuse = [&](const QString& message) {
    res.exitCode = 2;
    res.output = ErrorJson(message);
    return res;
  };
  for (const QString& g : grids)
    if (!HeadlessGridNames().contains(g)) return refuse(QStringLiteral("Неизвестная сетка: ") + g);
  if (inputJson.size() > kMaxInputBytes)
    return refuse(QStringLiteral("Ошибка во входном файле: файл больше %1 МБ").arg(kMaxInputBytes >> 20));
  QString error;
  auto parsed = ParseHeadlessRequest(inputJson, error);
  if (!parsed) return refuse(error);
  // The program's start-up probe, on the driver's file: the database is only read here.
  if (QString why = db::ProbeDatabaseFile(dbPath, false); !why.isEmpty())
    return refuse(QStringLiteral("Не удалось открыть базу данных %1: %2").arg(dbPath, why));
  if (QString e = db::OpenDatabase(dbPath, true); !e.isEmpty()) return refuse(e);
  struct Closer {
    ~Closer() { db::CloseDatabase(); }
  } closer;
  result::RunRequest& request = parsed->request;
  if (!parsed->settingsGiven) {
    if (QString e = db::CheckAdjustmentNumbers(); !e.isEmpty()) return refuse(e);
    const auto adj = db::LoadAdjustment();
    if (!adj) return refuse(QString::fromUtf8("В базе данных нет параметров расчета"));
    request.settings = *adj;
  }
  if (beforeRun)
    if (QString e = beforeRun(request); !e.isEmpty()) return refuse(e);
  if (!ScenarioAvailable(request.run.ScenarioCode)) return refuse(QString::fromUtf8(texts::kBadScenario));
  PrepareResult prepared;
  try {
    const RunData data = LoadRunData(request, parsed->sectionInline);
    FillWindowTexts(request, data);
    prepared = PrepareRun(request, data, QDateTime::currentDateTime());
  } catch (const std::exception& e) {
    return refuse(QString::fromUtf8(e.what()));
  }
  if (!prepared.ok()) return refuse(prepared.error);
  // The documents may name the scenario as the input file does.
  if (!parsed->scenarioName.isEmpty()) prepared.run->ScenarioName = parsed->scenarioName;
  models::SetThreadCount(threads);
  RunOutcome outcome = ExecuteRun(std::move(*prepared.run), models::NoProgress());
  if (!outcome.ok()) return refuse(outcome.error);
  res.output = SnapshotJson(*outcome.snapshot, grids);
  res.record = std::move(outcome.snapshot);
  return res;
}

}  // namespace velaron::run
