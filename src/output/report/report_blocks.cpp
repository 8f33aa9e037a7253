#include "output/report/report_blocks.h"

#include <algorithm>

#include "common/qt_text.h"
#include "output/report/report_numbers.h"
#include "output/report/report_texts.h"
#include "result/crossings.h"
#include "result/scenarios.h"
#include "result/zone_texts.h"

namespace velaron::report {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The table step: the last paragraph, bold off (and a size where given), a table there, its borders.
Table& AddTableAtEnd(Document& doc, int rows, int cols, std::optional<double> size) {
  doc.SelectLast();
  doc.SetBold(false);
  if (size) doc.SetSize(*size);
  return doc.AddTable(rows, cols);
}

}  // namespace

QString Line(const char* label, const QString& value) { return U(label) + value + kCrLf; }

void EdgeWarningBlock(Document& doc, bool zoneAtEdge) {
  if (!zoneAtEdge) return;
  doc.Step(12, Align::Left, false);
  doc.Append(U(texts::kEdgeWarning) + kCrLf + kCrLf + kCrLf);
}

void TitleBlock(Document& doc, const QString& title) {
  doc.Step(12, Align::Center, true);
  doc.Append(title + kCrLf);
}

void InputDataBlock(Document& doc, const ReportInput& in, const InputAdditions& add) {
  doc.Step(add.headingSize, Align::Left, true);
  doc.AppendKept(Line(texts::kInputHeading));
  doc.Step(12, Align::Left, false);
  QString s;
  s += Line(texts::kLocation, in.Mestn);
  s += Line(texts::kDate, DateText(in.today));
  s += Line(texts::kStart, DateTimeText(in.start));
  s += Line(texts::kEnd, DateTimeText(in.end));
  const qint64 minutes = MinuteCount(in.start, in.end);
  s += minutes == 0 ? Line(texts::kDurationShort, U(texts::kUnderAMinute))
                    : Line(texts::kDuration, QString::number(minutes));
  s += Line(texts::kSection, QString::number(in.TPID));
  s += Line(texts::kGas, in.gasName);
  s += Line(texts::kDiameter, Plain(in.Dtrub));
  s += Line(texts::kPressure, in.DavlText);
  s += Line(texts::kTemperature, in.TempText);
  s += Line(texts::kLength, in.LengthText);
  s += Line(texts::kAzimuth, Plain(in.Azimut));
  s += Line(texts::kGround);
  for (const QString& g : in.groundNames) s += Line(texts::kGroundLevel, g);
  for (const QString& extra : add.afterGround) s += extra;
  s += Line(texts::kZoneWidth, in.XLimitText);
  s += Line(texts::kGridStep, in.CStepText);
  if (add.escapeSpeed) s += Line(texts::kEscapeSpeed, in.SkorChelText) + kCrLf;
  if (add.weather) {
    s += Line(texts::kWeather);
    if (add.yearWeather)
      for (const char* w : texts::kYearWeatherLines) s += Line(w);
    else
      for (const QString& w : WeatherLines(in.MeteoText)) s += w;
  }
  // External factors, then the section's crossings; a greyed box (2) counts as set.
  const auto& x = in.external;  // Check5 erosion, Check6 disasters, Check7 valves, Check8 rivers
  if (x[3] || x[0] || x[1] || x[2]) {
    s += Line(texts::kExternalFactors);
    if (x[3]) s += Line(texts::kRivers);
    if (x[0]) s += Line(texts::kErosion);
    if (x[1]) s += Line(texts::kDisasters);
    if (x[2]) s += Line(texts::kValves);
  }
  if (std::any_of(in.crossings.begin(), in.crossings.end(), [](int flag) { return flag != 0; })) {
    s += Line(texts::kSectionData);
    for (int i = 0; i < result::kCrossingCount; ++i)
      if (in.crossings[size_t(i)]) s += Line(result::kCrossings[size_t(i)].reportLine);
  }
  doc.Append(s);
}

void ResultHead(Document& doc, const ReportInput& in, bool emptyLineBefore) {
  doc.Step(14, Align::Left, true);
  if (emptyLineBefore) doc.Append(kCrLf);
  doc.AppendKept(Line(texts::kResultsHeading));
  doc.Step(12, std::nullopt, false);
  doc.Append(Line(texts::kPitLength, Plain(in.PitLength)) + Line(texts::kSpeedOut, Round2Text(in.SpeedOut)) +
             Line(texts::kMassFlow, Round2Text(in.MassFlow)));
}

void ProbabilityBlock(Document& doc, const result::Probabilities& p) {
  doc.Step(12);
  const double values[7] = {p.PRupture, p.PIgnition, p.PKotlTorch, p.PSimmTorch, p.PAsimmTorch, p.PFireBall, p.PGPVS};
  doc.Append(kCrLf);
  doc.AppendKept(U(texts::kProbabilityHeading) + kCrLf);
  QString s;
  for (int i = 0; i < 6; ++i) s += Line(texts::kProbabilityLabels[size_t(i)], FormatExp(values[i]));
  s += U(texts::kProbabilityLabels[6]) + FormatExp(values[6]) + QStringLiteral(".") + kCrLf + kCrLf;
  doc.Append(s);
}

void FigureBlock(Document& doc, const QImage& picture, const QString& caption, int cStep, bool stepWithBlank) {
  doc.Step(12, Align::Center, false);
  doc.AppendPicture(picture);  // a picture the run did not make leaves its caption alone
  doc.Append(kCrLf + caption + (stepWithBlank ? Str(cStep) : Plain(cStep)) + U(texts::kFigEnd) + kCrLf);
}

void WaveTable(Document& doc, const std::array<double, 8>& RadiusDP) {
  Table& t = AddTableAtEnd(doc, 2, 8, 10.0);
  t.Append(1, 1, U(texts::kWavePressure));
  t.Append(2, 1, U(texts::kWaveRadius));
  for (int c = 2; c <= 8; ++c) t.Append(1, c, U(texts::kWaveLevels[size_t(c - 2)]));
  t.SetFixedWidths({100, 50, 50, 50, 50, 50, 50, 50});
  // Column c holds the radius at level c − 1 of RadiusDP (100 kPa in column 2 ... 3 kPa in column 8).
  for (int c = 8; c >= 2; --c) {
    const double r = RadiusDP[size_t(c - 1)];
    t.Append(2, c, r == 0 ? U(texts::kNoRadius) : Plain(r));
  }
}

void ZoneTableBlock(Document& doc, const QString& title, const models::ZoneRow& zones, bool noteFollows) {
  doc.Step(12, Align::Center, false);
  doc.Append(kCrLf);
  doc.AppendKept(title + kCrLf);
  Table& t = AddTableAtEnd(doc, 6, 2, std::nullopt);
  t.SetFillWeights({3, 2});
  t.SetKeepWithNext(noteFollows);
  t.Append(1, 1, U(texts::kZoneHead));
  t.Append(1, 2, U(texts::kZoneDistance));
  for (int z = 0; z < 4; ++z) t.Append(z + 2, 1, U(texts::kZoneLabels[size_t(z)]));
  t.Append(6, 1, U(texts::kSafeZone));
  for (int z = 0; z < 4; ++z) t.Append(z + 2, 2, result::RadiusText(zones(z + 1)));
  t.Append(6, 2, result::SafeZoneText(zones(4)));
}

namespace {

void DirectionCaption(Document& doc, const char* tail) {
  doc.Step(12, Align::Center, false);
  doc.Append(kCrLf);
  doc.AppendKept(U(texts::kDirCaptionHead) + U(tail) + kCrLf);
}

void OneSeasonTable(Document& doc, const char* tail, const models::DirectionRows& jet) {
  DirectionCaption(doc, tail);
  Table& t = AddTableAtEnd(doc, 6, 9, 10.0);
  t.SetHeaderRows(2);
  t.MergeCells(1, 1, 2, 1);
  t.Append(1, 1, U(texts::kZoneHead));
  for (int z = 0; z < 4; ++z) t.Append(z + 3, 1, U(texts::kZoneLabels[size_t(z)]));
  t.MergeCells(1, 2, 1, 9);
  t.Append(1, 2, U(texts::kDirectionHead));
  for (int d = 0; d < 8; ++d) t.Append(2, d + 2, U(texts::kWindDirectionNames[size_t(d)]));
  for (int r = 3; r <= 6; ++r)
    for (int c = 2; c <= 9; ++c) t.Append(r, c, result::RadiusText(jet[size_t(c - 2)](r - 2)));
  t.FitToContent(doc.page.textWidth());
}

void TwoSeasonTable(Document& doc, const char* tail, const models::DirectionRows& winter,
                    const models::DirectionRows& summer) {
  DirectionCaption(doc, tail);
  Table& t = AddTableAtEnd(doc, 10, 10, 10.0);
  t.SetHeaderRows(2);
  for (int r = 1; r <= 9; r += 2) t.MergeCells(r, 1, r + 1, 1);
  t.Append(1, 1, U(texts::kZoneHead));
  for (int z = 0; z < 4; ++z) t.Append(2 * z + 3, 1, U(texts::kZoneLabels[size_t(z)]));
  t.MergeCells(1, 2, 2, 2);
  t.Append(1, 2, U(texts::kSeasonHead));
  t.MergeCells(1, 3, 1, 10);
  t.Append(1, 3, U(texts::kDirectionHead));
  for (int r = 3; r <= 10; ++r) t.Append(r, 2, U(r % 2 ? texts::kWinter : texts::kSummer));
  for (int d = 0; d < 8; ++d) t.Append(2, d + 3, U(texts::kWindDirectionNames[size_t(d)]));
  for (int r = 3; r <= 10; ++r) {
    const auto& jet = r % 2 ? winter : summer;
    const int level = (r - 1) / 2;  // 1..4
    for (int c = 3; c <= 10; ++c) t.Append(r, c, result::RadiusText(jet[size_t(c - 3)](level)));
  }
  t.FitToContent(doc.page.textWidth());
}

}  // namespace

void DirectionTables(Document& doc, result::Scenario scenario, const models::ZoneTables& zones) {
  using models::ScenarioKind;
  auto of = [&zones](ScenarioKind jetCase) -> const auto& { return zones.directions(jetCase); };
  // The single pit and symmetric jets keep their directions in the first jet case.
  using result::Scenario;
  if (result::FactsOf(scenario).yearRound) {
    TwoSeasonTable(doc, texts::kDirPitYear, of(ScenarioKind::PitWinter), of(ScenarioKind::PitSummer));
    TwoSeasonTable(doc, texts::kDirSymmetricYear, of(ScenarioKind::SymmetricWinter), of(ScenarioKind::SymmetricSummer));
    OneSeasonTable(doc, texts::kDirAsymmetricYear, of(ScenarioKind::Asymmetric));
  } else if (scenario == Scenario::PitJet) {
    OneSeasonTable(doc, texts::kDirPitSingle, of(ScenarioKind::PitWinter));
  } else if (scenario == Scenario::SymmetricJet) {
    OneSeasonTable(doc, texts::kDirSymmetricSingle, of(ScenarioKind::PitWinter));
  } else if (scenario == Scenario::AsymmetricJet) {
    OneSeasonTable(doc, texts::kDirAsymmetricSingle, of(ScenarioKind::Asymmetric));
  }
}

QStringList WeatherLines(const std::array<QString, 3>& m) {
  return {Line(texts::kSeason, m[0] + QStringLiteral(";")), Line(texts::kWindSpeed, m[1] + U(texts::kWindSpeedUnit)),
          Line(texts::kWindDirection, QStringLiteral("\"") + m[2] + QStringLiteral("\"."))};
}

QString ConeLines(double H, const result::FlameCone& cone) {
  return Line(texts::kFlameDiameter, Round2Text(H * cone.diameter)) +
         Line(texts::kConeLength, Round2Text(H * cone.cone)) +
         Line(texts::kCylinderLength, Round2Text(H - H * cone.cone));
}

void FlameConeLines(Document& doc, double H, const result::FlameCone& cone) {
  doc.Append(Line(texts::kFlameLength, Round2Text(H)) + ConeLines(H, cone));
}

void AsymmetricFlameLines(Document& doc, double H, double HWind, const QString& liftAngle, double azimut) {
  doc.Append(Line(texts::kFlameLength, Round2Text(H)) + Line(texts::kAsymmetricLength, Round2Text(HWind)) +
             Line(texts::kLiftAngle, liftAngle) + Line(texts::kTurnAngle, Plain(azimut)));
}

void WeatherNoteBlock(Document& doc, const std::array<QString, 3>& meteo) {
  doc.Step(12, Align::Left, false);
  const QStringList lines = QStringList{Line(texts::kWeatherNote)} + WeatherLines(meteo);
  doc.AppendKept(lines.mid(0, lines.size() - 1).join(QString()));
  doc.Append(lines.back());
}

}  // namespace velaron::report
