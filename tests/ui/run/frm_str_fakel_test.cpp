// The jet-flame window: its controls, the two diagrams, the typing aids, a calculation from the window's
// own inputs handed to the main window, and the refusals.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

#include "widgets/numeric_box.h"
#include "message_catcher.h"
#include "run/run_fixtures.h"
#include "run/ui/frm_str_fakel.h"

namespace velaron::ui {
namespace {

constexpr double kTestPi = 3.14159265358979;

FakelContext Context(std::shared_ptr<const result::RunSnapshot>* shown = nullptr) {
  FakelContext c;
  c.gases = {db::GasRow{QString::fromUtf8("Метан"), 16.043, 50000, 21, 0.2, 4},
             db::GasRow{QString::fromUtf8("Пропан"), 44.1, 46000, 15, 0.2, 4}};
  c.settings.XLimit = 200;
  c.settings.YLimit = 200;
  c.settings.CStep = 20;
  c.settings.Skor_chel = 1;
  c.tables = test::SyntheticTables();
  c.lastProbabilities = [] {
    result::Probabilities p;
    p.PIgnition = 0.5;
    p.PAsimmTorch = 1e-3;
    return p;
  };
  c.opt3D = false;
  if (shown) c.showResult = [shown](std::shared_ptr<const result::RunSnapshot> s) { *shown = std::move(s); };
  return c;
}

TEST(FrmStrFakel, ControlsCaptionsAndLists) {
  FrmStrFakel w(Context());
  EXPECT_EQ(w.objectName(), "frmStr_fakel");
  EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Струевой настильный факел"));
  ASSERT_EQ(w.combo1()->count(), 2);
  EXPECT_EQ(w.combo1()->currentIndex(), 0);
  EXPECT_EQ(w.combo1()->itemText(1), QString::fromUtf8("Пропан"));
  ASSERT_EQ(w.combo9()->count(), 8);
  EXPECT_EQ(w.combo9()->currentIndex(), 0);
  EXPECT_EQ(w.combo9()->itemText(5), QString::fromUtf8("Ю-З"));
  for (const char* name : {"Text3", "Text4", "Text5", "Text10", "Text2", "Text25", "Text8"})
    EXPECT_TRUE(w.box(name)) << name;
  EXPECT_EQ(w.findChild<QLabel*>("Label41")->text(), QString::fromUtf8("Азимут трубопровода,°:"));
  EXPECT_EQ(w.findChild<QLabel*>("Label14")->text(), QString::fromUtf8("Угол подъема трубы,° :"));
  EXPECT_EQ(w.command1()->text(), QString::fromUtf8("Расчет"));
}

TEST(FrmStrFakel, DiagramsFollowTheTypedAnglesAndTheAngleBoxesTakeDigitsOnly) {
  FrmStrFakel w(Context());
  w.picture1()->resize(150, 120);
  w.picture2()->resize(150, 120);
  // Azimuth 90: a horizontal diameter through the centre (75, 60), radius min(150, 120)/3 = 40.
  w.box("Text25")->setText("90");
  ASSERT_EQ(w.picture1()->lines().size(), 2u);
  for (const QLineF& l : w.picture1()->lines()) {
    EXPECT_EQ(l.p1(), QPointF(75, 60));
    EXPECT_NEAR(l.p2().y(), 60, 1e-9);
    EXPECT_NEAR(std::abs(l.p2().x() - 75), 40, 1e-9);
  }
  // Azimuth 0: vertical.
  w.box("Text25")->setText("0");
  for (const QLineF& l : w.picture1()->lines()) EXPECT_NEAR(l.p2().x(), 75, 1e-9);
  // Lift 0: a horizontal line at mid-height from W/10 to W − W/10.
  w.box("Text8")->setText("0");
  ASSERT_EQ(w.picture2()->lines().size(), 1u);
  EXPECT_EQ(w.picture2()->lines()[0], QLineF(15, 60, 135, 60));
  // Lift 30: the far end moves by L·sin 30° with L = 2·150/10 = 30.
  w.box("Text8")->setText("30");
  EXPECT_NEAR(w.picture2()->lines()[0].p2().y(), 60 + 30 * 0.5, 1e-9);
  // Emptying a box leaves the picture as it was.
  w.box("Text8")->setText("");
  EXPECT_EQ(w.picture2()->lines().size(), 1u);

  NumericBox* az = w.box("Text25");
  az->setText("");
  for (QChar c : QString("1,5-2")) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(az, &press);
  }
  EXPECT_EQ(az->text(), "152");
}

TEST(FrmStrFakel, CalculationRunsTheAsymmetricJetOnTheWindowsInputsAndShowsItInTheMainWindow) {
  std::shared_ptr<const result::RunSnapshot> shown;
  FrmStrFakel w(Context(&shown));
  QSignalSpy ended(&w, &FrmStrFakel::calculationEnded);
  w.box("Text3")->setText("500");
  w.box("Text25")->setText("40");
  w.box("Text8")->setText("10");
  w.combo9()->setCurrentIndex(4);  // "Ю"
  w.show();
  test::MessageCatcher catcher;
  w.Command1_Click();
  ASSERT_TRUE(ended.wait(60000));
  ASSERT_TRUE(shown != nullptr) << catcher.texts().join("; ").toStdString();
  const result::RunSnapshot& s = *shown;
  EXPECT_EQ(s.ScenarioCode, 4);
  EXPECT_DOUBLE_EQ(s.derived.WindAngle, kTestPi + kTestPi / 2);
  EXPECT_DOUBLE_EQ(s.derived.Azimut, 40);
  EXPECT_DOUBLE_EQ(s.derived.JetAngle, 10 / 180.0 * kTestPi);
  EXPECT_DOUBLE_EQ(s.derived.Tilt, s.derived.JetAngle);
  EXPECT_DOUBLE_EQ(s.derived.TempK, 283);
  // The zone depths are the largest radius over the eight directions of the asymmetric case.
  for (int z = 0; z < 4; ++z) {
    double m = 0;
    for (int d = 0; d < 8; ++d) m = std::max(m, s.ZoneRDir[4][static_cast<size_t>(d)][static_cast<size_t>(z)]);
    EXPECT_DOUBLE_EQ(s.CurZones[static_cast<size_t>(z)], m) << "level " << z + 1;
  }
  EXPECT_GT(s.CurZones[3], 0);
  // The risk is built on PAsimmTorch, which already holds the ignition probability: 1e-3 × 0.01 × percent.
  // Multiplying by PIgnition once more (0.5) was the old fault.
  double worst = 0;
  for (int y = -s.GridRisk.ny(); y <= s.GridRisk.ny(); ++y)
    for (int x = -s.GridRisk.nx(); x <= s.GridRisk.nx(); ++x) {
      ASSERT_NEAR(s.GridRisk(x, y), 1e-3 * 0.01 * s.GridProc(x, y), 1e-18);
      worst = std::max(worst, s.GridProc(x, y));
    }
  EXPECT_GT(worst, 0);
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(w.running());
}

TEST(FrmStrFakel, RefusedInputsShowAMessageAndComputeNothing) {
  std::shared_ptr<const result::RunSnapshot> shown;
  FrmStrFakel w(Context(&shown));
  QSignalSpy ended(&w, &FrmStrFakel::calculationEnded);
  test::MessageCatcher catcher;
  w.box("Text2")->setText("12");
  w.Command1_Click();
  ASSERT_EQ(catcher.requests.size(), 1u);
  EXPECT_TRUE(catcher.requests[0].text.contains(QString::fromUtf8("10 м/с")));

  // An empty lift box, hidden (the boxes are not checked on leaving, the reading still refuses) and shown.
  w.box("Text2")->setText("3");
  w.box("Text8")->setText("");
  w.Command1_Click();
  w.show();
  w.Command1_Click();
  const QString check = QString::fromUtf8("Проверте правильность ввода!");
  EXPECT_EQ(catcher.texts().mid(1), (QStringList{check, check}));
  EXPECT_FALSE(w.running());
  EXPECT_EQ(ended.count(), 0);
  EXPECT_EQ(shown, nullptr);
}

}  // namespace
}  // namespace velaron::ui
