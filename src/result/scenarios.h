// The eight accident scenarios and what each of them means to the run, the windows and the writers. The
// scenario code (1..8) is the run dialog's list position plus one and is what the database, the driver's
// JSON and the calculation state carry; everything that depends on it asks this table.
#pragma once

#include <array>
#include <optional>

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

// Zone and layer tables count scenarios in a numbering of their own (ScenarioKind 1..9).
enum class ScenarioKind {
  PitWinter = 1,
  PitSummer = 2,
  SymmetricWinter = 3,
  SymmetricSummer = 4,
  Asymmetric = 5,
  FireBall = 6,
  Explosion = 7,
  GasCloud = 8,
  Combined = 9,
};

struct ScenarioFacts {
  Scenario scenario;
  const char* dialogName;     // the run dialog's list text
  const char* progressTitle;  // the progress window's title of a single scenario; "" for 1 and 7
  const char* reportProcedure;  // name of the report kind
  bool overpressure;       // the damaging factor is overpressure (Pa) with an impulse, not a heat flux
  bool yearRound;          // runs over the town's wind states and both seasons
  bool singleJet;          // a single jet flame (codes 3, 4, 5): the dialog's season and wind apply
  bool usesShares;         // reads the jet-kind shares of the run dialog
  bool keepsLayers;        // fills the layered grids LayerFlux / LayerProc
  bool radiiAlongX;        // zone radii from the profile along +x (explosion, fireball, cloud)
  bool runsCloud;          // the gas-air cloud model runs (the gas needs a flame speed, the cloud a mass)
  bool runsFireBall;       // the fireball model runs (the fireball needs a mass)
};

inline constexpr std::array<ScenarioFacts, 8> kScenarios = {{
    {Scenario::Complex, "Комплексная оценка", "", "ReportComplex", false, true, false, true, true, false, true,
     true},
    {Scenario::Explosion, "Взрыв", "Сценарий \"Взрыв\"", "ReportExplosion", true, false, false, false, false, true,
     false, false},
    {Scenario::PitJet, "Факел (котлован)", "Сценарий \"Факел-котлован\"", "ReportKotlTorch", false, false, true, true,
     false, false, false, false},
    {Scenario::AsymmetricJet, "Факел (асимметр.горение)", "Сценарий \"Факел-ассиметричный\"", "ReportAsimmTorch",
     false, false, true, true, true, false, false, false},
    {Scenario::SymmetricJet, "Факел (симметр.горение)", "Сценарий \"Факел-симметричный\"", "ReportSimmTorch", false,
     false, true, true, false, false, false, false},
    {Scenario::FireBall, "Огневой шар", "Сценарий \"Огневой шар\"", "ReportFireBall", false, false, false, false,
     false, true, false, true},
    {Scenario::YearRoundJets, "Факел за год", "", "ReportComplexTorch", false, true, false, true, true, false, false,
     false},
    {Scenario::GasCloud, "Горение ГПВС", "Сценарий \"Горение ГПВС\"", "ReportGPVS", true, false, false, false, false,
     true, true, false},
}};

inline constexpr bool IsScenarioCode(int code) { return code >= 1 && code <= 8; }

// The scenario of a code, or nothing for a code outside 1..8 (0: no run yet).
inline constexpr std::optional<Scenario> ScenarioOf(int code) {
  if (!IsScenarioCode(code)) return std::nullopt;
  return static_cast<Scenario>(code);
}

inline constexpr int CodeOf(Scenario s) { return static_cast<int>(s); }

inline constexpr const ScenarioFacts& FactsOf(Scenario s) { return kScenarios[static_cast<size_t>(CodeOf(s) - 1)]; }

// The facts of a code; a code outside 1..8 must be refused before this is asked.
inline constexpr const ScenarioFacts& FactsOf(int code) { return FactsOf(static_cast<Scenario>(code)); }

}  // namespace velaron::result
