#include "run/headless_request.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <initializer_list>
#include <optional>

#include "result/scenarios.h"

namespace velaron::run {

namespace {

struct Reader {
  QString error;

  // The value of `key` when it is given (absent or null: nothing, and no fault); a value of another kind
  // than `type` is refused, saying what it must be.
  std::optional<QJsonValue> given(const QJsonObject& o, const char* key, QJsonValue::Type type, const char* mustBe) {
    const auto v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull()) return std::nullopt;
    if (v.type() != type) {
      fail(QStringLiteral("поле \"%1\" должно быть %2").arg(QLatin1String(key), QString::fromUtf8(mustBe)));
      return std::nullopt;
    }
    return v;
  }
  bool number(const QJsonObject& o, const char* key, double& out) {
    const auto v = given(o, key, QJsonValue::Double, "числом");
    if (v) out = v->toDouble();
    return error.isEmpty();
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
    const auto v = given(o, key, QJsonValue::String, "строкой");
    if (v) out = v->toString();
    return error.isEmpty();
  }
  bool object(const QJsonObject& o, const char* key, QJsonObject& out, bool& present) {
    const auto v = given(o, key, QJsonValue::Object, "объектом");
    present = v.has_value();
    if (v) out = v->toObject();
    return error.isEmpty();
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

}  // namespace

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
    int code = 0;
    rd.integer(o, "ScenarioCode", code);
    h.scenario = result::ScenarioOf(code);
    if (h.scenario) c.scenario = *h.scenario;
    rd.integer(o, "season", c.season);
    rd.number(o, "WindSpeed", c.WindSpeed);
    rd.number(o, "WindDir", c.WindDir);
    rd.integer(o, "idCity", c.idCity);
    if (c.season != 0 && c.season != 1) rd.fail(QStringLiteral("\"season\" должно быть 0 или 1"));
    // The single jet fires burn in the chosen weather; the assessments over a year in the town's.
    if (h.scenario) {
      const result::ScenarioFacts& facts = result::FactsOf(*h.scenario);
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

}  // namespace velaron::run
