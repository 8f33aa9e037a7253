#include "output/report/year_reports.h"

#include <array>

#include "common/qt_text.h"
#include "output/pictures/wind_rose_picture.h"
#include "output/report/report_blocks.h"
#include "output/report/report_numbers.h"
#include "output/report/report_texts.h"
#include "output/report/wind_block.h"

namespace velaron::report {

namespace {

using R = YearReportRecipe;
using result::Scenario;

constexpr std::array<YearReportRecipe, 2> kRecipes = {{
    {.scenario = Scenario::YearRoundJets,
     .title = texts::kTitleYearJets,
     .flames = R::Flames::AllJets,
     .percentChartCaption = texts::kFigPercentChart,
     .percentDiagramCaption = texts::kFigYearJetsPercentDiagram,
     .table = YearTableForm::Jets},
    {.scenario = Scenario::Complex,
     .title = texts::kTitleComplex,
     .settingsLines = true,
     .flames = R::Flames::Complex,
     .percentChartCaption = texts::kFigComplexPercentChart,
     .percentDiagramCaption = texts::kFigComplexPercentDiagram,
     .table = YearTableForm::Complex},
}};

static_assert(OneRecipeEach(kRecipes, result::ReportForm::YearRound));

// The flame dimensions of all three jet kinds, appended to the result head's paragraph step.
QString FlameLines(const R& r, const ReportInput& in, double W2) {
  const double H = in.LTorch;
  using result::FactsOf;
  const QString pit = Line(texts::kPitJet) + ConeLines(H, FactsOf(Scenario::PitJet).flameCone);
  const QString symmetric = Line(texts::kSymmetricJet) + ConeLines(H, FactsOf(Scenario::SymmetricJet).flameCone);
  const QString asymmetricLength = Line(texts::kAsymmetricLength, Round2Text(in.LTorchWind));
  const QString angles = Line(texts::kLiftAngle, in.liftAngleText) + Line(texts::kTurnAngle, Plain(in.Azimut));
  QString s = Line(texts::kFlameLength, Round2Text(H));
  if (r.flames == R::Flames::AllJets)
    return s + pit + symmetric + Line(texts::kAsymmetricJet) + asymmetricLength + angles;
  // The complex report puts the asymmetric length first and gives the asymmetric flame as a cone of the
  // still-air length with the tip's width as its diameter and no cylinder.
  return s + asymmetricLength + pit + symmetric + Line(texts::kAsymmetricJet) +
         Line(texts::kFlameDiameter, Round2Text(2 * W2)) + Line(texts::kConeLength, Round2Text(H)) +
         Line(texts::kCylinderLength, QStringLiteral("0")) + angles;
}

}  // namespace

YearReportInput YearInputFromRecord(const result::RunSnapshot& record, bool drawRose) {
  YearReportInput y;
  y.town = record.town;
  y.W2 = record.derived.W2;
  if (drawRose && record.town) y.rose = output::DrawWindRose(*record.town);
  return y;
}

const YearReportRecipe* YearRecipeOf(Scenario scenario) {
  for (const auto& r : kRecipes)
    if (r.scenario == scenario) return &r;
  return nullptr;
}

std::optional<Document> BuildYearReport(const ReportInput& in, const YearReportInput& year) {
  const YearReportRecipe* r = YearRecipeOf(in.scenario);
  if (!r) return std::nullopt;
  Document doc;
  EdgeWarningBlock(doc, in.ZoneAtEdge);
  TitleBlock(doc, U(r->title));

  InputAdditions add;
  add.headingSize = 12;
  if (r->settingsLines)
    add.afterGround = {Line(texts::kFireBallTime, in.TfbText), Line(texts::kFireBallShare, in.DolaText),
                       Line(texts::kCloudTime, in.ToblText), Line(texts::kCloudShare, in.DolaOblText)};
  add.escapeSpeed = true;
  add.weather = true;
  add.yearWeather = true;
  InputDataBlock(doc, in, add);
  WriteWindBlock(doc, year.town);

  // The wind block ends with an empty line: none before the heading.
  ResultHead(doc, in, false);
  doc.Append(FlameLines(*r, in, year.W2));

  ProbabilityBlock(doc, in.probabilities);

  FigureBlock(doc, in.imgRisk, U(texts::kFigRisk), in.CStep, true);
  FigureBlock(doc, in.graf1, U(texts::kFigJetChartBefore) + in.WorstDirWord + U(texts::kFigYearJetChartAfter), in.CStep,
              true);
  FigureBlock(doc, in.imgDiagr1, U(texts::kFigYearFluxDiagram), in.CStep, false);
  FigureBlock(doc, in.graf2, U(r->percentChartCaption), in.CStep, true);
  FigureBlock(doc, in.imgDiagr2, U(r->percentDiagramCaption), in.CStep, false);
  WriteWindRoseFigure(doc, year.town, year.rose);

  DirectionTables(doc, in.scenario, in.zones);
  WriteYearZoneTable(doc, r->table, in.zones, in.probabilities);
  return doc;
}

}  // namespace velaron::report
