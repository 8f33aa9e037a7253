// The rule of the calculation settings: each broken rule is refused and names its setting, the grid's
// size limit sits at 1001 x 1001 points, and the models refuse a grid with the rule's own message.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "models/calc_state.h"
#include "models/settings_rules.h"

namespace velaron::models {
namespace {

CalcSettings Valid() {
  CalcSettings s;
  s.XLimit = 1000, s.YLimit = 600, s.CStep = 10;
  return s;
}

TEST(CheckSettings, RefusesEachBrokenRuleNamingItsSetting) {
  using F = SettingsField;
  const std::vector<std::pair<std::function<void(CalcSettings&)>, SettingsField>> cases = {
      {[](CalcSettings& s) { s.CStep = 0; }, F::CStep},
      {[](CalcSettings& s) { s.CStep = -5; }, F::CStep},
      // 1000 m at a 30 m step: 1000/60 is not whole, the edge would fall between grid points.
      {[](CalcSettings& s) { s.CStep = 30; }, F::XLimit},
      {[](CalcSettings& s) { s.XLimit = 10; }, F::XLimit},
      {[](CalcSettings& s) { s.YLimit = 1010; }, F::YLimit},
      {[](CalcSettings& s) { s.XLimit = 32780; }, F::XLimit},
      {[](CalcSettings& s) { s.Skor_chel = 0; }, F::Skor_chel},
      {[](CalcSettings& s) { s.Skor_chel = std::nan(""); }, F::Skor_chel},
      {[](CalcSettings& s) { s.Tfb = -1; }, F::Tfb},
      {[](CalcSettings& s) { s.Dola = 1.01; }, F::Dola},
      {[](CalcSettings& s) { s.Tobl = -1; }, F::Tobl},
      {[](CalcSettings& s) { s.Dola_obl = -0.1; }, F::Dola_obl},
      // 32000 x 32000 m at 1 m would be about 10⁹ points.
      {[](CalcSettings& s) { s.XLimit = s.YLimit = 32000, s.CStep = 1; }, F::CStep},
  };
  for (const auto& [change, field] : cases) {
    CalcSettings s = Valid();
    change(s);
    const auto fault = CheckSettings(s);
    ASSERT_TRUE(fault.has_value()) << static_cast<int>(field);
    EXPECT_EQ(fault->field, field) << fault->message;
    EXPECT_FALSE(fault->message.empty());
  }
  EXPECT_FALSE(CheckSettings(Valid()).has_value());
}

TEST(CheckSettings, TheGridMayHave1001PointsASideAndNoMore) {
  CalcSettings s = Valid();
  s.XLimit = s.YLimit = 10000;  // 1001 x 1001 points at 10 m
  EXPECT_FALSE(CheckSettings(s).has_value());
  EXPECT_NO_THROW(CheckGridSettings(s));

  s.XLimit = 10020;  // 1003 x 1001 points
  const auto fault = CheckSettings(s);
  ASSERT_TRUE(fault.has_value());
  EXPECT_NE(fault->message.find("1003 x 1001"), std::string::npos) << fault->message;
  try {
    CheckGridSettings(s);
    ADD_FAILURE() << "the models took a grid the settings refuse";
  } catch (const ModelInputError& e) {
    EXPECT_EQ(e.what(), fault->message);
  }
}

}  // namespace
}  // namespace velaron::models
