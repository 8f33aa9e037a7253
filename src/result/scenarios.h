// The eight accident scenarios and what each of them means to the run, the windows and the writers. The
// scenario code (1..8) is the run dialog's list position plus one and is what the driver's JSON carries;
// it becomes a Scenario where it comes in (ScenarioOf) and is a number again only where it is printed
// (CodeOf). Everything that depends on the scenario asks this table, and the tables of the writers (the
// report recipes) are keyed by the scenario, never by the bare number.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>
#include <optional>
#include <span>

namespace velaron::result {

enum class Scenario {
  Complex = 1,        // all scenarios over a year
  Explosion = 2,      // physical explosion of the released gas
  PitJet = 3,         // jet fire from the crater
  AsymmetricJet = 4,  // jet fire burning along the ground
  SymmetricJet = 5,   // vertical jet fire
  FireBall = 6,
  YearRoundJets = 7,  // all jet fires over a year with the town's wind rose
  GasCloud = 8,       // combustion of the gas-air cloud
};

// Which report a finished run writes: the report of one scenario, or the report of an assessment over a
// year (with the town's wind). Each kind has its recipes, keyed by the scenario, in output/report.
enum class ReportForm { Single, YearRound };

// What the result workbook's input sheet adds after its weather line.
enum class InputSheetLines {
  None,
  SymmetricFlame,   // flame height, widest section, angle from the vertical
  AsymmetricFlame,  // flame height, the frustum's width at its tip, angle from the vertical
  Cloud,            // mass of the cloud, its outflow time and its burning share
  JetCaseRadii,     // the zone radii of the five jet cases
};

// How the documents describe a pit or a symmetric jet flame of length H: a cone of diameter `diameter`·H
// and length `cone`·H, then a cylinder over the rest of H.
struct FlameCone {
  double diameter = 0;
  double cone = 0;
};

// The single scenarios the complex assessment runs, in this order, before the jet fires over a year.
inline constexpr Scenario kComplexParts[] = {Scenario::Explosion, Scenario::GasCloud, Scenario::FireBall};

// The progress of an assessment over a year counts passes over the grid's rows: the four seasonal blocks
// of the pit and the symmetric jet (winter and summer) walk the nine wind states (eight directions and
// calm) a pass each, and the asymmetric jet makes four passes; the complex assessment first runs each of
// its single scenarios, a pass each.
inline constexpr int kSeasonalJetBlocks = 4, kWindStatePasses = 9, kAsymmetricPasses = 4;
inline constexpr int kYearRoundPasses = kSeasonalJetBlocks * kWindStatePasses + kAsymmetricPasses;

struct ScenarioFacts {
  Scenario scenario;
  const char* dialogName;          // the run dialog's list text
  const char* progressTitle = "";  // the progress window's title of a single scenario; none over a year
  ReportForm report = ReportForm::Single;
  InputSheetLines workbookLines = InputSheetLines::None;
  FlameCone flameCone{};              // pit and symmetric jet
  std::span<const Scenario> parts{};  // the single scenarios an assessment runs before its jet fires
  int wholeRunPasses = 0;             // progress of the whole run, in passes over the grid's rows; 0: one stage
  bool overpressure = false;          // the damaging factor is overpressure (Pa) with an impulse, not a heat flux
  bool yearRound = false;             // runs over the town's wind states and both seasons
  bool singleJet = false;             // a single jet flame: the dialog's season and wind apply
  bool usesShares = false;            // reads the jet-kind shares of the run dialog
  bool keepsLayers = false;           // fills the layered grids LayerFlux / LayerProc
  bool radiiAlongX = false;           // zone radii from the profile along +x (explosion, fireball, cloud)
  bool runsCloud = false;             // the gas-air cloud model runs (the gas needs a flame speed, the cloud a mass)
  bool runsFireBall = false;          // the fireball model runs (the fireball needs a mass)
  // The grid-edge warning comes before the result workbook is offered: the assessment tests its border
  // before it writes its workbook, while the other runs' models (and the jet fires over a year) write
  // theirs first.
  bool warnsBeforeWorkbook = false;
};

inline constexpr std::array<ScenarioFacts, 8> kScenarios = {{
    {.scenario = Scenario::Complex,
     .dialogName = "Комплексная оценка",
     .report = ReportForm::YearRound,
     .workbookLines = InputSheetLines::JetCaseRadii,
     .parts = kComplexParts,
     .wholeRunPasses = kYearRoundPasses + static_cast<int>(std::size(kComplexParts)),
     .yearRound = true,
     .usesShares = true,
     .keepsLayers = true,
     .runsCloud = true,
     .runsFireBall = true,
     .warnsBeforeWorkbook = true},
    {.scenario = Scenario::Explosion,
     .dialogName = "Взрыв",
     .progressTitle = "Сценарий \"Взрыв\"",
     .overpressure = true,
     .radiiAlongX = true},
    {.scenario = Scenario::PitJet,
     .dialogName = "Факел (котлован)",
     .progressTitle = "Сценарий \"Факел-котлован\"",
     .flameCone = {.diameter = 0.65, .cone = 0.5},
     .singleJet = true,
     .usesShares = true},
    {.scenario = Scenario::AsymmetricJet,
     .dialogName = "Факел (асимметр.горение)",
     .progressTitle = "Сценарий \"Факел-ассиметричный\"",
     .workbookLines = InputSheetLines::AsymmetricFlame,
     .singleJet = true,
     .usesShares = true,
     .keepsLayers = true},
    {.scenario = Scenario::SymmetricJet,
     .dialogName = "Факел (симметр.горение)",
     .progressTitle = "Сценарий \"Факел-симметричный\"",
     .workbookLines = InputSheetLines::SymmetricFlame,
     .flameCone = {.diameter = 0.4, .cone = 0.6},
     .singleJet = true,
     .usesShares = true},
    {.scenario = Scenario::FireBall,
     .dialogName = "Огневой шар",
     .progressTitle = "Сценарий \"Огневой шар\"",
     .radiiAlongX = true,
     .runsFireBall = true},
    {.scenario = Scenario::YearRoundJets,
     .dialogName = "Факел за год",
     .report = ReportForm::YearRound,
     .workbookLines = InputSheetLines::JetCaseRadii,
     .wholeRunPasses = kYearRoundPasses,
     .yearRound = true,
     .usesShares = true,
     .keepsLayers = true},
    {.scenario = Scenario::GasCloud,
     .dialogName = "Горение ГПВС",
     .progressTitle = "Сценарий \"Горение ГПВС\"",
     .workbookLines = InputSheetLines::Cloud,
     .overpressure = true,
     .radiiAlongX = true,
     .runsCloud = true},
}};

// The scenario of a code, or nothing for a code outside 1..8.
inline constexpr std::optional<Scenario> ScenarioOf(int code) {
  if (code < 1 || code > static_cast<int>(kScenarios.size())) return std::nullopt;
  return static_cast<Scenario>(code);
}

inline constexpr int CodeOf(Scenario s) { return static_cast<int>(s); }

inline constexpr const ScenarioFacts& FactsOf(Scenario s) { return kScenarios.at(static_cast<size_t>(CodeOf(s) - 1)); }

// Every row stands at its code.
static_assert([] {
  for (size_t i = 0; i < kScenarios.size(); ++i)
    if (CodeOf(kScenarios[i].scenario) != static_cast<int>(i) + 1) return false;
  return true;
}());

}  // namespace velaron::result
