#include "output/report/single_reports.h"

#include <array>

#include "common/qt_text.h"
#include "output/report/report_blocks.h"
#include "output/report/report_numbers.h"
#include "output/report/report_texts.h"

namespace velaron::report {

namespace {

using R = SingleReportRecipe;
using result::Scenario;

constexpr std::array<SingleReportRecipe, 6> kRecipes = {{
    {.scenario = Scenario::Explosion,
     .title = "Аварийный сценарий \"Физический взрыв\" при гильотинном разрушении газопровода",
     .inputHeadingSize = 14,
     .emptyLineBeforeResults = true,
     .emptyLineAfterMassFlow = true,
     .waveTitle = "Таблица ___ Параметры волны сжатия от аварийного сценария \"Физический взрыв\" при гильотинном "
                  "разрушении газопровода",
     .graf1Caption = texts::kFigPressureChart,
     .diagram1Caption = texts::kFigPressureDiagram,
     .zoneTitle = "Таблица __ Зоны вероятного поражения человека от аварийного сценария  \"Физический взрыв\""},
    {.scenario = Scenario::PitJet,
     .title = "Аварийный сценарий \"Котлованный факел\" при гильотинном разрушении газопровода",
     .escapeSpeed = true,
     .weather = true,
     .results = R::Results::JetCone,
     .diagram1Caption = texts::kFigFluxDiagram,
     .zoneTitle = "Таблица __ Зоны вероятного поражения человека от аварийного сценария \"Котлованный факел\" по  "
                  "введенным метеоданным",
     .directionTables = true,
     .weatherNote = true},
    {.scenario = Scenario::AsymmetricJet,
     .title = "Аварийный сценарий \"Ассиметричный факел\" при гильотинном разрушении газопровода",
     .escapeSpeed = true,
     .weather = true,
     .results = R::Results::JetAsymmetric,
     .diagram1Caption = texts::kFigFluxDiagram,
     .zoneTitle = "Таблица __ Зоны вероятного поражения человека от аварийного сценария \"Ассиметричный факел\" по  "
                  "введенным метеоданным",
     .directionTables = true,
     .weatherNote = true},
    {.scenario = Scenario::SymmetricJet,
     .title = "Аварийный сценарий \"Симметричный факел\" при гильотинном разрушении газопровода",
     .escapeSpeed = true,
     .weather = true,
     .results = R::Results::JetCone,
     .diagram1Caption = texts::kFigFluxDiagram,
     .zoneTitle = "Таблица __ Зоны вероятного поражения человека от аварийного сценария \"Симметричный факел\" по  "
                  "введенным метеоданным",
     .directionTables = true,
     .weatherNote = true},
    {.scenario = Scenario::FireBall,
     .title = "Аварийный сценарий \"Огневой шар\" при гильотинном разрушении газопровода",
     .settings = R::Settings::FireBall,
     .escapeSpeed = true,
     .results = R::Results::FireBall,
     .graf1Caption = texts::kFigFluxChart,
     .diagram1Caption = texts::kFigFluxDiagram,
     .zoneTitle = "Таблица __ Зоны вероятного поражения человека от аварийного сценария  \"Огневой шар\""},
    {.scenario = Scenario::GasCloud,
     .title = "Аварийный сценарий \"Горение ГПВС\" при гильотинном разрушении газопровода",
     .settings = R::Settings::Cloud,
     .results = R::Results::Cloud,
     .waveTitle = "Таблица ___ Параметры волны сжатия от аварийного сценария \"Горение ГПВС\" при гильотинном "
                  "разрушении газопровода",
     .waveTitleInResults = true,
     .graf1Caption = texts::kFigCloudChart,
     .diagram1Caption = texts::kFigPressureDiagram,
     .zoneTitle = "Таблица __ Зоны вероятного поражения человека от аварийного сценария  \"Горение ГПВС\""},
}};

static_assert(OneRecipeEach(kRecipes, result::ReportForm::Single));

}  // namespace

const SingleReportRecipe* SingleRecipeOf(Scenario scenario) {
  for (const auto& r : kRecipes)
    if (r.scenario == scenario) return &r;
  return nullptr;
}

std::optional<Document> BuildSingleReport(const ReportInput& in) {
  const SingleReportRecipe* r = SingleRecipeOf(in.scenario);
  if (!r) return std::nullopt;
  Document doc;
  EdgeWarningBlock(doc, in.ZoneAtEdge);
  TitleBlock(doc, U(r->title));

  InputAdditions add;
  add.headingSize = r->inputHeadingSize;
  if (r->settings == R::Settings::FireBall)
    add.afterGround = {Line(texts::kFireBallTime, in.TfbText), Line(texts::kFireBallShare, in.DolaText)};
  else if (r->settings == R::Settings::Cloud)
    add.afterGround = {Line(texts::kCloudTime, in.ToblText), Line(texts::kCloudShare, in.DolaOblText)};
  add.escapeSpeed = r->escapeSpeed;
  add.weather = r->weather;
  InputDataBlock(doc, in, add);

  ResultHead(doc, in, r->emptyLineBeforeResults);
  if (r->emptyLineAfterMassFlow) doc.Append("\r\n");
  switch (r->results) {
    case R::Results::FireBall:
      doc.Append(Line(texts::kFireBallMass, Round2Text(in.MassFireBall)) +
                 Line(texts::kFireBallRadius, Round2Text(in.RFireBall)) +
                 Line(texts::kFireBallLife, Round2Text(in.TFireBall)));
      break;
    case R::Results::Cloud:
      doc.Append(Line(texts::kCloudFraction, Round2Text(in.Dola_obl)) +
                 Line(texts::kCloudMass, Round2Text(in.MassGPVS)));
      break;
    case R::Results::JetCone: FlameConeLines(doc, in.LTorch, result::FactsOf(r->scenario).flameCone); break;
    case R::Results::JetAsymmetric:
      AsymmetricFlameLines(doc, in.LTorch, in.LTorchWind, in.liftAngleText, in.Azimut);
      break;
    case R::Results::None: break;
  }
  if (r->waveTitle) {
    if (r->waveTitleInResults) doc.SetBold(false);  // the same paragraph step goes on
    else doc.Step(12, std::nullopt, false);
    doc.AppendKept(U(r->waveTitle) + QStringLiteral("\r\n"));
    WaveTable(doc, in.RadiusDP);
  }

  ProbabilityBlock(doc, in.probabilities);

  const QString graf1Caption = r->graf1Caption
                                   ? U(r->graf1Caption)
                                   : U(texts::kFigJetChartBefore) + in.WorstDirWord + U(texts::kFigJetChartAfter);
  FigureBlock(doc, in.imgRisk, U(texts::kFigRisk), in.CStep, true);
  FigureBlock(doc, in.graf1, graf1Caption, in.CStep, true);
  FigureBlock(doc, in.imgDiagr1, U(r->diagram1Caption), in.CStep, false);
  FigureBlock(doc, in.graf2, U(texts::kFigPercentChart), in.CStep, true);
  FigureBlock(doc, in.imgDiagr2, U(texts::kFigPercentDiagram), in.CStep, false);

  if (r->directionTables) DirectionTables(doc, in.scenario, in.zones);
  ZoneTableBlock(doc, U(r->zoneTitle), in.zones.CurZones(), r->weatherNote);
  if (r->weatherNote) WeatherNoteBlock(doc, in.MeteoText);
  return doc;
}

}  // namespace velaron::report
