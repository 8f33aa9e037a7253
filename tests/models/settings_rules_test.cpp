// The rule of the calculation settings (the settings dialog's test covers the widths, the escape speed and
// the fractions with their messages): each broken rule names its setting, the grid may have 1001 x 1001
// points and no more, and the models refuse a grid with the rule's own message.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "models/calc_state.h"
#include "models/settings_rules.h"

namespace velaron::models {
namespace {

TEST(CheckSettings, RefusesEachBrokenRuleNamingItsSetting) {
  using F = SettingsField;
  const std::pair<std::function<void(CalcSettings&)>, F> cases[] = {
      {[](CalcSettings& s) { s.CStep = 0; }, F::CStep},
      {[](CalcSettings& s) { s.XLimit = 32780; }, F::XLimit},
      {[](CalcSettings& s) { s.Skor_chel = std::nan(""); }, F::Skor_chel},
      {[](CalcSettings& s) { s.Tfb = -1; }, F::Tfb},
      {[](CalcSettings& s) { s.Tobl = -1; }, F::Tobl},
      {[](CalcSettings& s) { s.XLimit = s.YLimit = 32000, s.CStep = 1; }, F::CStep},  // about 10⁹ points
  };
  for (const auto& [change, field] : cases) {
    CalcSettings s;
    change(s);
    const auto fault = CheckSettings(s);
    ASSERT_TRUE(fault.has_value()) << static_cast<int>(field);
    EXPECT_EQ(fault->field, field) << fault->message;
  }
}

TEST(CheckSettings, TheGridMayHave1001PointsASideAndTheModelsRefuseMoreWithTheSameMessage) {
  CalcSettings s;
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
