// Scenario codes 1 and 7 from end to end on a small grid: the run prepared as the run dialog prepares it,
// then the real models, checked against the invariants that tie the combined grids to their parts.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <memory>

#include "run/execute.h"
#include "run/prepare.h"
#include "run/run_fixtures.h"
#include "run/yearround/combine.h"
#include "run/yearround/year_round.h"

namespace velaron::run::yearround {
namespace {

using models::CalcState;

db::WindRow Town() {
  db::WindRow w;
  w.idCity = 1;
  w.CityName = QString::fromUtf8("Город");
  w.winter = {10, 5, 5, 10, 20, 20, 15, 10, 5};
  w.summer = {15, 10, 5, 5, 10, 15, 20, 15, 5};
  w.speedWinter = {3, 2.5, 2, 3, 4, 5, 4, 3, 0};
  w.speedSummer = {2, 2, 1.5, 2, 3, 3, 3, 2, 0};
  w.Tmedium = 210;
  return w;
}

PreparedRun Prepare(int code) {
  RunRequest rq;
  rq.settings.XLimit = 200;
  rq.settings.YLimit = 200;
  rq.settings.CStep = 20;
  rq.settings.Skor_chel = 1;
  rq.pipeline.Diametr = 500;
  rq.pipeline.DavlDown = 7.4;
  rq.pipeline.DavlUp = 5.4;
  rq.pipeline.Temp = 10;
  rq.pipeline.Ltrub = 100;
  rq.pipeline.Glubina = 1.2;
  rq.rate.way = 3;
  rq.rate.alfa_tr = 0.5;
  rq.section.TPID = 1;
  rq.section.Length = 5000;
  rq.section.Udal = 20000;
  rq.section.Azimut = 30;
  rq.section.p_v = 0.1;
  rq.section.Ground = "2.1.1.2";
  rq.run.ScenarioCode = code;
  rq.run.WindSpeed = 3;
  rq.run.idCity = 1;
  rq.run.shares = JetShares{0.3, 0.3, 0.4, 0.2, 0.3, 0.5};

  RunData data;
  data.gas = db::GasRow{QString::fromUtf8("Метан"), 16.043, 50000, 21, 0.2, 4};
  data.section = rq.section;
  db::Ground3Row g;
  g.Ground = "2.1.1.2";
  g.P4 = 0.3;
  data.ground = g;
  data.town = Town();
  data.tables = test::SyntheticTables();
  PrepareResult r = PrepareRun(rq, data, QDateTime::currentDateTime());
  EXPECT_TRUE(r.ok()) << r.error.toStdString();
  return std::move(*r.run);
}

double MaxLayers(const models::LayeredGrid& g, int n, int ix, int iy) {
  double m = 0;
  for (int k = 1; k <= n; ++k) m = std::max(m, g(k, ix, iy));
  return m;
}

// One shared pair of runs: the assessments take a moment even on this grid.
struct Runs {
  PreparedRun year = Prepare(7);
  PreparedRun complex = Prepare(1);
  QTemporaryDir folder;
  CaseResult yearCase, complexCase;
  Runs() {
    yearCase = RunYearRoundScenario(year, *year.town, *year.tables, models::NoProgress(), folder.path());
    complexCase = RunComplexScenario(complex, *complex.town, *complex.tables);
  }
};
const Runs& Shared() {
  static const Runs runs;
  return runs;
}

TEST(YearRoundCases, YearRoundRunCombinesTheFiveJetCasesIntoRiskFluxAndRadii) {
  const Runs& r = Shared();
  const CalcState& s = r.year.state;
  EXPECT_EQ(s.ScenarioCode, 7);
  EXPECT_FALSE(s.SaveXls);
  ASSERT_TRUE(r.yearCase.windRose.has_value());
  EXPECT_TRUE(r.yearCase.windRose->ok) << r.yearCase.windRose->error.toStdString();
  EXPECT_TRUE(QFileInfo::exists(QDir(r.folder.path()).filePath(QString::fromUtf8(output::kWindRoseFile))));

  const Probabilities& p = r.year.probabilities;
  const JetShares sh{p.Pkw, p.Psw, p.Paw, p.Pks, p.Pss, p.Pas};
  const double summer = 210.0 / 364, winter = 154.0 / 364;  // the asymmetric jet's seasons by warm days
  double riskMax = 0;
  for (int iy = -s.ny(); iy <= s.ny(); ++iy) {
    for (int ix = -s.nx(); ix <= s.nx(); ++ix) {
      // The displayed flux is the largest of the five jet cases; the fireball's layer stays empty.
      ASSERT_DOUBLE_EQ(s.GridValue(ix, iy), MaxLayers(s.LayerFlux, 5, ix, iy));
      ASSERT_EQ(s.LayerFlux(6, ix, iy), 0.0);
      for (int k = 6; k <= 8; ++k) ASSERT_EQ(s.LayerProc(k, ix, iy), 0.0);
      // The risk is the year-round combination of the layers' percents.
      const double a = s.LayerProc(5, ix, iy);
      const double g = YearRoundPercent(sh, s.LayerProc(1, ix, iy), s.LayerProc(3, ix, iy), a * winter,
                                        s.LayerProc(2, ix, iy), s.LayerProc(4, ix, iy), a * summer);
      ASSERT_NEAR(s.GridRisk(ix, iy), p.PIgnition * p.PRupture * g * 0.01, 1e-15);
      riskMax = std::max(riskMax, s.GridRisk(ix, iy));
    }
  }
  EXPECT_GT(riskMax, 0.0);
  EXPECT_GT(s.GridValue(0, 1), 4.0);
  for (int z = 1; z <= 4; ++z) {
    double m = 0;
    for (int c = 1; c <= 5; ++c) m = std::max(m, s.ZoneR[c][z]);
    EXPECT_DOUBLE_EQ(s.CurZones[z][0], m) << "level " << z;
  }
  EXPECT_FALSE(s.WorstDir[2].empty());
  // The flame quantities are those the assessment left: the asymmetric jet along its 25° axis, the
  // wind angle of the calm state.
  EXPECT_DOUBLE_EQ(s.derived.Tilt, s.derived.JetAngle);
  EXPECT_DOUBLE_EQ(s.derived.WindAngle, 2.5 * 3.14159265358979);
}

TEST(YearRoundCases, ComplexRunSumsTheRisksAndTakesTheLargestFluxPercentAndRadii) {
  const Runs& r = Shared();
  const CalcState& s = r.complex.state;
  EXPECT_EQ(s.ScenarioCode, 1);
  EXPECT_FALSE(r.complexCase.windRose.has_value());  // no folder given: no workbook written
  double explosion = 0, torch = 0, fireBall = 0;
  int jetFluxDecides = 0;  // cells where only the percent of the largest jet flux gives the maximum
  for (int iy = -s.ny(); iy <= s.ny(); ++iy) {
    for (int ix = -s.nx(); ix <= s.nx(); ++ix) {
      ASSERT_DOUBLE_EQ(s.GridRisk(ix, iy), s.RiskExplosion(ix, iy) + s.RiskGPVS(ix, iy) + s.RiskFireBall(ix, iy) +
                                               s.RiskTorch(ix, iy));
      ASSERT_DOUBLE_EQ(s.GridValue(ix, iy), MaxLayers(s.LayerFlux, 6, ix, iy));
      // The percent of the largest jet flux (ProcTorch) counts as a case of its own: LayerProc 4 no longer
      // carries it, and leaving it out would lower the complex maximum.
      ASSERT_DOUBLE_EQ(s.GridProc(ix, iy), std::max(MaxLayers(s.LayerProc, 8, ix, iy), s.ProcTorch(ix, iy)));
      // Each model's percent is in its own layer.
      ASSERT_DOUBLE_EQ(s.LayerProc(7, ix, iy), s.ProcExplosion(ix, iy));
      ASSERT_DOUBLE_EQ(s.LayerProc(8, ix, iy), s.ProcGPVS(ix, iy));
      ASSERT_DOUBLE_EQ(s.LayerProc(6, ix, iy), s.ProcFireBall(ix, iy));
      if (s.ProcTorch(ix, iy) > MaxLayers(s.LayerProc, 8, ix, iy) + 1e-9) ++jetFluxDecides;
      explosion = std::max(explosion, s.RiskExplosion(ix, iy));
      torch = std::max(torch, s.RiskTorch(ix, iy));
      fireBall = std::max(fireBall, s.RiskFireBall(ix, iy));
    }
  }
  EXPECT_GT(jetFluxDecides, 0) << "the test run must show that the jet-flux percent counts";
  EXPECT_GT(explosion, 0.0);
  EXPECT_GT(torch, 0.0);
  EXPECT_GT(fireBall, 0.0);
  for (int z = 1; z <= 4; ++z) {
    double m = 0;
    for (int c = 1; c <= 9; ++c) m = std::max(m, s.ZoneR[c][z]);
    EXPECT_DOUBLE_EQ(s.CurZones[z][0], m) << "level " << z;
  }

  // The jet fires inside the complex assessment are the same year as the year-round run alone.
  const CalcState& y = r.year.state;
  for (int iy = -s.ny(); iy <= s.ny(); ++iy)
    for (int ix = -s.nx(); ix <= s.nx(); ++ix) {
      ASSERT_DOUBLE_EQ(s.RiskTorch(ix, iy), y.GridRisk(ix, iy));
      for (int k = 1; k <= 5; ++k) ASSERT_DOUBLE_EQ(s.LayerFlux(k, ix, iy), y.LayerFlux(k, ix, iy));
    }
  for (int c = 1; c <= 5; ++c)
    for (int z = 1; z <= 4; ++z) EXPECT_DOUBLE_EQ(s.ZoneR[c][z], y.ZoneR[c][z]);
}

TEST(YearRoundCases, TheFinishedStatesMakeTheSnapshotsOfTheRun) {
  // The driver's common end takes the state as the cases leave it.
  const Runs& r = Shared();
  ExecuteOptions options;
  options.pictures = false;
  for (const PreparedRun* run : {&r.year, &r.complex}) {
    CalcState copy = run->state;
    const auto snap = MakeSnapshot(*run, std::move(copy), false, options);
    ASSERT_NE(snap, nullptr);
    EXPECT_EQ(snap->ScenarioCode, run->state.ScenarioCode);
    for (int z = 0; z < 4; ++z) EXPECT_EQ(snap->CurZones[static_cast<size_t>(z)], run->state.CurZones[z + 1][0]);
    EXPECT_EQ(snap->WorstDir[1].toStdString(), run->state.WorstDir[2]);
  }
}

TEST(YearRoundCases, ARefusedTownWritesNoWindRoseAndComputesNothing) {
  PreparedRun run = Prepare(7);
  db::WindRow storm = Town();
  storm.speedWinter[6] = 12;
  QTemporaryDir folder;
  const int before = run.state.ScenarioCode;
  try {
    RunYearRoundScenario(run, storm, *run.tables, models::NoProgress(), folder.path());
    FAIL() << "a wind of 12 m/s must be refused";
  } catch (const models::ModelInputError& e) {
    EXPECT_NE(std::string(e.what()).find("10 м/с"), std::string::npos);
  }
  EXPECT_TRUE(QDir(folder.path()).isEmpty());
  EXPECT_EQ(run.state.ScenarioCode, before);

  PreparedRun complex = Prepare(1);
  complex.gas.DangerClass = 2;  // no flame speed for the gas-air cloud
  EXPECT_THROW(RunComplexScenario(complex, Town(), *complex.tables), models::ModelInputError);
}

}  // namespace
}  // namespace velaron::run::yearround
