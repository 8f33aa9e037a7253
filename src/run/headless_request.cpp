#include "run/headless_request.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <optional>
#include <variant>

#include "common/qt_text.h"
#include "common/texts.h"
#include "result/crossings.h"
#include "result/scenarios.h"
#include "run/input_checks.h"
#include "run/json_check.h"

namespace velaron::run {

namespace {

using H = HeadlessRequest;

// Where a field's value goes; the type is the field's kind (a whole number, a number, a text, true/false,
// a scenario code).
using Member = std::variant<int& (*)(H&), double& (*)(H&), QString& (*)(H&), bool& (*)(H&),
                            std::optional<result::Scenario>& (*)(H&)>;

// Whether a field must be given, judged on the values of its group read so far. Every input that feeds the
// numbers must be in the file: a field left out would otherwise run with a built-in default the user never
// chose (a section of length 0 has no risk at all).
using Needed = bool (*)(const H&);

bool Always(const H&) { return true; }
bool SectionInline(const H& h) { return h.sectionInline; }
bool RegionWay(const H& h) { return h.request.rate.way == 1 || h.request.rate.way == 2; }
bool PerKmWay(const H& h) { return h.request.rate.way == 2; }
bool TypedWay(const H& h) { return h.request.rate.way == 3; }
// The single jet fires burn in the chosen weather; the assessments over a year in the town's.
bool SingleJet(const H& h) { return h.scenario && result::FactsOf(*h.scenario).singleJet; }
bool YearRound(const H& h) { return h.scenario && result::FactsOf(*h.scenario).yearRound; }

struct Field {
  const char* group;  // "shares" lies within "run"; every other group at the top of the file
  const char* name;
  Member member;
  Needed needed = nullptr;  // nullptr: may be left out
};

// Every field of the driver's input, group by group in the order they are read.
const Field kFields[] = {
    {"settings", "XLimit", [](H& h) -> int& { return h.request.settings.XLimit; }, Always},
    {"settings", "YLimit", [](H& h) -> int& { return h.request.settings.YLimit; }, Always},
    {"settings", "CStep", [](H& h) -> int& { return h.request.settings.CStep; }, Always},
    {"settings", "Skor_chel", [](H& h) -> double& { return h.request.settings.Skor_chel; }, Always},
    {"settings", "Tfb", [](H& h) -> double& { return h.request.settings.Tfb; }, Always},
    {"settings", "Dola", [](H& h) -> double& { return h.request.settings.Dola; }, Always},
    {"settings", "Tobl", [](H& h) -> double& { return h.request.settings.Tobl; }, Always},
    {"settings", "Dola_obl", [](H& h) -> double& { return h.request.settings.Dola_obl; }, Always},
    {"pipeline", "Gas", [](H& h) -> int& { return h.request.pipeline.Gas; }, Always},
    {"pipeline", "Diametr", [](H& h) -> double& { return h.request.pipeline.Diametr; }, Always},
    {"pipeline", "DavlDown", [](H& h) -> double& { return h.request.pipeline.DavlDown; }, Always},
    {"pipeline", "DavlUp", [](H& h) -> double& { return h.request.pipeline.DavlUp; }, Always},
    {"pipeline", "Temp", [](H& h) -> double& { return h.request.pipeline.Temp; }, Always},
    {"pipeline", "Glubina", [](H& h) -> double& { return h.request.pipeline.Glubina; }, Always},
    {"pipeline", "Ltrub", [](H& h) -> double& { return h.request.pipeline.Ltrub; }, Always},
    {"pipeline", "Lkr", [](H& h) -> double& { return h.request.pipeline.Lkr; }},
    {"pipeline", "Tsrab", [](H& h) -> double& { return h.request.pipeline.Tsrab; }},
    {"pipeline", "InversPercent", [](H& h) -> double& { return h.request.pipeline.InversPercent; }, Always},
    {"rate", "way", [](H& h) -> int& { return h.request.rate.way; }, Always},
    {"rate", "RegionPos", [](H& h) -> int& { return h.request.rate.RegionPos; }, RegionWay},
    {"rate", "Text8", [](H& h) -> double& { return h.request.rate.Text8; }, PerKmWay},
    {"rate", "alfa_tr", [](H& h) -> double& { return h.request.rate.alfa_tr; }, TypedWay},
    // A ticked external factor counts with its own probability, which must then be given.
    {"external", "Check5", [](H& h) -> int& { return h.request.external.Check5; }},
    {"external", "Check6", [](H& h) -> int& { return h.request.external.Check6; }},
    {"external", "Check7", [](H& h) -> int& { return h.request.external.Check7; }},
    {"external", "Check8", [](H& h) -> int& { return h.request.external.Check8; }},
    {"external", "Eroz", [](H& h) -> double& { return h.request.external.Eroz; },
     [](const H& h) { return h.request.external.Check5 != 0; }},
    {"external", "Stih", [](H& h) -> double& { return h.request.external.Stih; },
     [](const H& h) { return h.request.external.Check6 != 0; }},
    {"external", "Zapor", [](H& h) -> double& { return h.request.external.Zapor; },
     [](const H& h) { return h.request.external.Check7 != 0; }},
    {"external", "Rechper", [](H& h) -> double& { return h.request.external.Rechper; },
     [](const H& h) { return h.request.external.Check8 != 0; }},
    // Only the TPID: the row is read from the database; anything more: the whole row is in the file.
    {"section", "TPID", [](H& h) -> int& { return h.request.section.TPID; }, SectionInline},
    {"section", "Length", [](H& h) -> double& { return h.request.section.Length; }, SectionInline},
    {"section", "Udal", [](H& h) -> double& { return h.request.section.Udal; }, SectionInline},
    {"section", "Azimut", [](H& h) -> double& { return h.request.section.Azimut; }, SectionInline},
    {"section", "dpp1", [](H& h) -> int& { return h.request.section.dpp1; }},
    {"section", "dpp2", [](H& h) -> int& { return h.request.section.dpp2; }},
    {"section", "dpp3", [](H& h) -> int& { return h.request.section.dpp3; }},
    {"section", "dpp4", [](H& h) -> int& { return h.request.section.dpp4; }},
    {"section", "p_v", [](H& h) -> double& { return h.request.section.p_v; }, SectionInline},
    {"section", "G1", [](H& h) -> int& { return h.request.section.G1; }},
    {"section", "G2", [](H& h) -> int& { return h.request.section.G2; }},
    {"section", "G3", [](H& h) -> int& { return h.request.section.G3; }},
    {"section", "G4", [](H& h) -> int& { return h.request.section.G4; }},
    {"section", "Ground", [](H& h) -> QString& { return h.request.section.Ground; }, SectionInline},
    {"run", "ScenarioCode", [](H& h) -> std::optional<result::Scenario>& { return h.scenario; }, Always},
    {"run", "season", [](H& h) -> int& { return h.request.run.season; }, SingleJet},
    {"run", "WindSpeed", [](H& h) -> double& { return h.request.run.WindSpeed; }, SingleJet},
    {"run", "WindDir", [](H& h) -> double& { return h.request.run.WindDir; }, SingleJet},
    {"run", "idCity", [](H& h) -> int& { return h.request.run.idCity; }, YearRound},
    // The jet-kind shares: all six or none (then the section's ground row gives them).
    {"shares", "Pkw", [](H& h) -> double& { return h.request.run.shares->Pkw; }, Always},
    {"shares", "Psw", [](H& h) -> double& { return h.request.run.shares->Psw; }, Always},
    {"shares", "Paw", [](H& h) -> double& { return h.request.run.shares->Paw; }, Always},
    {"shares", "Pks", [](H& h) -> double& { return h.request.run.shares->Pks; }, Always},
    {"shares", "Pss", [](H& h) -> double& { return h.request.run.shares->Pss; }, Always},
    {"shares", "Pas", [](H& h) -> double& { return h.request.run.shares->Pas; }, Always},
    // The texts and the report options of the documents a run writes.
    {"texts", "Mestn", [](H& h) -> QString& { return h.request.texts.Mestn; }},
    {"texts", "ScenarioName", [](H& h) -> QString& { return h.request.texts.ScenarioName; }},
    {"options", "Opt3D", [](H& h) -> bool& { return h.request.options.Opt3D; }},
    {"options", "OptExtraFiles", [](H& h) -> bool& { return h.request.options.OptExtraFiles; }},
};

// The groups of the file: those that must be there say so when they are not.
struct Group {
  const char* name;
  const char* missing = nullptr;  // the refusal when the group is left out; nullptr: may be left out
};
const Group kGroups[] = {
    {"settings"},  // absent: the database's first `Adjustment` row
    {"pipeline", "не заданы данные газопровода (\"pipeline\")"},
    {"rate", "не задан способ расчета частоты аварий (\"rate\")"},
    {"external"},
    {"section", "не задан участок (\"section\")"},
    {"run", "не задан сценарий (\"run\")"},
    {"texts"},
    {"options"},
};

// A field whose value is refused: by its key, and a setting also by the settings window's caption.
QString ValueField(const QString& key, const QString& group) {
  const char* caption = group == QLatin1String("settings") ? SettingCaption(key) : nullptr;
  return caption ? QStringLiteral("поле \"%1\" (\"%2\")").arg(key, FieldName(caption))
                 : QStringLiteral("поле \"%1\"").arg(key);
}

// A value of the file as a refusal shows it: a number with the decimal comma, anything else as it is written
// in JSON (a long array or object cut short).
QString GivenText(const QJsonValue& v) {
  if (v.isDouble()) return RefusedText(v.toDouble());
  QByteArray json = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
  QString text = QString::fromUtf8(json.mid(1, json.size() - 2));
  constexpr int kLongest = 60;
  if (text.size() > kLongest) text = text.left(kLongest) + QStringLiteral("…");
  return text;
}

struct Reader {
  QString error;
  QString group;  // the group being read

  void fail(const QString& what) {
    if (error.isEmpty()) error = QStringLiteral("Ошибка во входном файле: ") + what;
  }
  // The value of `key` when it is given (absent or null: nothing, and no fault); a value of another kind
  // than `type` is refused, saying what it must be.
  std::optional<QJsonValue> given(const QJsonObject& o, const char* key, QJsonValue::Type type, const char* mustBe) {
    const auto v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull()) return std::nullopt;
    if (v.type() != type) {
      fail(QStringLiteral("%1 должно быть %2, а задано %3")
               .arg(ValueField(QLatin1String(key), group), QString::fromUtf8(mustBe), GivenText(v)));
      return std::nullopt;
    }
    return v;
  }
  void read(const QJsonObject& o, const char* key, double& out) {
    if (const auto v = given(o, key, QJsonValue::Double, "числом")) out = v->toDouble();
  }
  void read(const QJsonObject& o, const char* key, int& out) {
    const auto v = given(o, key, QJsonValue::Double, "числом");
    if (!v) return;
    const double d = v->toDouble();
    if (d != std::floor(d) || std::fabs(d) > 2147483647.0)
      // With the digits that tell it from the whole number next to it.
      fail(QStringLiteral("%1 должно быть целым числом, а задано %2")
               .arg(ValueField(QLatin1String(key), group), RefusedText(d, std::nearbyint(d))));
    else out = static_cast<int>(d);
  }
  void read(const QJsonObject& o, const char* key, QString& out) {
    if (const auto v = given(o, key, QJsonValue::String, "строкой")) out = v->toString();
  }
  void read(const QJsonObject& o, const char* key, bool& out) {
    if (const auto v = given(o, key, QJsonValue::Bool, "true или false")) out = v->toBool();
  }
  // A scenario code as the scenario; a whole number outside 1..8 gives nothing, which the run refuses.
  void read(const QJsonObject& o, const char* key, std::optional<result::Scenario>& out) {
    read(o, key, scenarioCode);
    out = result::ScenarioOf(scenarioCode);
  }
  int scenarioCode = 0;
  // A key the driver does not know is refused: a misspelt one would otherwise be dropped in silence, and
  // its input would run with a value the user never chose.
  void known(const QJsonObject& o, const QString& group) {
    for (auto it = o.begin(); it != o.end(); ++it) {
      bool found = false;
      if (group.isEmpty()) {
        for (const Group& g : kGroups) found = found || it.key() == QLatin1String(g.name);
      } else {
        for (const Field& f : kFields)
          found = found || (group == QLatin1String(f.group) && it.key() == QLatin1String(f.name));
        found = found || (group == QLatin1String("run") && it.key() == QLatin1String("shares"));
      }
      if (!found) fail(QStringLiteral("неизвестное ") + FieldText(it.key(), group));
    }
  }
  // The group's fields from `o` into `h`, then the refusal of those it needs and lacks.
  void fields(const QJsonObject& o, const char* group, H& h) {
    this->group = QLatin1String(group);
    known(o, this->group);
    for (const Field& f : kFields)
      if (QLatin1String(f.group) == QLatin1String(group))
        std::visit([&](auto at) { read(o, f.name, at(h)); }, f.member);
    for (const Field& f : kFields) {
      if (QLatin1String(f.group) != QLatin1String(group) || !f.needed || !f.needed(h)) continue;
      const auto v = o.value(QLatin1String(f.name));
      if (v.isUndefined() || v.isNull())
        fail(QStringLiteral("не задано ") + FieldText(QLatin1String(f.name), QLatin1String(group)));
    }
  }
  // The group `name` of `parent` when it is given as an object.
  std::optional<QJsonObject> object(const QJsonObject& parent, const char* name) {
    const auto v = given(parent, name, QJsonValue::Object, "объектом");
    return v ? std::optional(v->toObject()) : std::nullopt;
  }
};

}  // namespace

std::optional<HeadlessRequest> ParseHeadlessRequest(const QByteArray& json, QString& error) {
  const auto read = ReadJsonObject(json, error);
  if (!read) return std::nullopt;
  const QJsonObject& root = *read;
  HeadlessRequest h;
  result::RunRequest& r = h.request;
  Reader rd;
  rd.known(root, {});
  for (const Group& g : kGroups) {
    rd.group = QString();
    const auto o = rd.object(root, g.name);
    if (!o) {
      if (g.missing) rd.fail(QString::fromUtf8(g.missing));
      continue;
    }
    const QLatin1String name(g.name);
    if (name == QLatin1String("settings")) h.settingsGiven = true;
    if (name == QLatin1String("section")) h.sectionInline = o->size() > 1 || !o->contains(QStringLiteral("TPID"));
    if (name == QLatin1String("run")) r.run.WindSpeed = 0;  // the fresh dialog's wind, for the scenarios without it
    rd.fields(*o, g.name, h);
    if (name == QLatin1String("rate") && (r.rate.way < 1 || r.rate.way > 3))
      rd.fail(QStringLiteral("\"way\" должно быть 1, 2 или 3, а задано %1").arg(r.rate.way));
    if (name == QLatin1String("external")) {
      const std::pair<const char*, int> checks[] = {{"Check5", r.external.Check5},
                                                    {"Check6", r.external.Check6},
                                                    {"Check7", r.external.Check7},
                                                    {"Check8", r.external.Check8}};
      for (const auto& [key, c] : checks)
        if (c != 0 && c != 1)
          rd.fail(FieldText(QLatin1String(key), name) + QStringLiteral(" должно быть 0 или 1, а задано %1").arg(c));
    }
    if (name == QLatin1String("section")) {
      // The crossing flags are ticks: any other number would print a crossing the section may not have.
      for (int i = 0; i < result::kCrossingCount; ++i)
        if (const int flag = result::CrossingFlag(r.section, i); flag != 0 && flag != 1)
          rd.fail(FieldText(QStringLiteral("dpp%1").arg(i + 1), name) +
                  QStringLiteral(" должно быть 0 или 1, а задано %1").arg(flag));
    }
    if (name == QLatin1String("run")) {
      if (h.scenario) r.run.scenario = *h.scenario;
      if (r.run.season != 0 && r.run.season != 1)
        rd.fail(QStringLiteral("\"season\" должно быть 0 или 1, а задано %1").arg(r.run.season));
      rd.group = name;
      if (const auto shares = rd.object(*o, "shares")) {
        r.run.shares.emplace();
        rd.fields(*shares, "shares", h);
      }
    }
  }
  if (!rd.error.isEmpty()) {
    error = rd.error;
    return std::nullopt;
  }
  h.scenarioCode = rd.scenarioCode;
  return h;
}

}  // namespace velaron::run
