// The main window on a copy of the database the program ships with: the first activation and a run start,
// and the jet-flame window from the hidden menu item, whose result comes back into the main window.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "common/numtext.h"
#include "form_fixture.h"
#include "run/ui/frm_str_fakel.h"
#include "ui/app/test_database.h"

using namespace velaron;
using velaron::test::MessageCatcher;
using velaron::test::U;

namespace {

// Opens a copy of the shipped database as the program's connection, and runs `sql` (if any) on it.
class ShippedDatabase : public ::testing::Test {
 protected:
  bool open(const char* sql = nullptr) {
    const QString path = dir.path() + "/data.db";
    return test::MakeDatabase(path) && db::OpenDatabase(path).isEmpty() && (!sql || QSqlQuery(db::Connection()).exec(sql));
  }
  void TearDown() override { db::CloseDatabase(); }
  QTemporaryDir dir;
  MessageCatcher messages;
};

}  // namespace

TEST_F(ShippedDatabase, FirstActivationAndARunStartByRegion) {
  ASSERT_TRUE(open());
  ui::Form1 window;
  std::optional<result::RunRequest> request;
  window.setRunDialogOpener([&request](ui::Form1&, const result::RunRequest& r) { request = r; });
  window.show();
  // The shipped settings row: methane, 1420 mm, one section on "2.1.1.2" with a complete ground path.
  EXPECT_EQ(window.findChild<QComboBox*>("DataCombo1")->currentText(), U("Метан"));
  EXPECT_EQ(window.findChild<QLineEdit*>("Text3")->text(), "1420");
  ASSERT_EQ(window.findChild<QListWidget*>("List1")->count(), 1);
  ASSERT_TRUE(window.currentSection());
  EXPECT_EQ(window.currentSection()->Ground, "2.1.1.2");
  for (const char* level : {"DataCombo5", "DataCombo2", "DataCombo3", "DataCombo4"})
    EXPECT_FALSE(window.findChild<QComboBox*>(level)->currentText().isEmpty()) << level;
  auto* region = window.findChild<QComboBox*>("DataCombo6");
  ASSERT_GE(region->count(), 1);
  region->setCurrentIndex(0);
  emit region->activated(0);
  window.Command1_Click();
  ASSERT_TRUE(request.has_value()) << messages.texts().join("|").toStdString();
  // The shipped region has lambda 0,33; at 1420 mm KoefDy is 0,31: 0,1023.
  EXPECT_NEAR(window.lastAccidentRate().AccidentRate, 0.33 * 0.31, 1e-12);
  EXPECT_EQ(request->section.TPID, 1);
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ShippedDatabase, HiddenJetFlameItemOpensTheWindowAndItsResultReachesTheMainWindow) {
  // A small grid (200 m at 20 m), so that the flame is computed quickly.
  ASSERT_TRUE(open("UPDATE Adjustment SET XLimit = 200, YLimit = 200, CStep = 20"));
  ui::Form1 window;
  window.show();
  auto* item = window.findChild<QAction*>("mnuTrub");
  ASSERT_NE(item, nullptr);
  EXPECT_FALSE(item->isVisible());  // unreachable from the menus
  EXPECT_EQ(item->text(), U("Расчет струевого настильного факела"));

  // The handler, as the hidden item would run it, steps the main window aside.
  item->trigger();
  QPointer<ui::FrmStrFakel> fakel = window.findChild<ui::FrmStrFakel*>("frmStr_fakel");
  ASSERT_FALSE(fakel.isNull()) << messages.texts().join("|").toStdString();
  EXPECT_TRUE(fakel->isVisible());
  EXPECT_TRUE(fakel->isWindow());
  EXPECT_FALSE(window.isVisible());
  // The window's gas list is the database's: the shipped first gas is methane.
  EXPECT_EQ(fakel->combo1()->currentText(), U("Метан"));

  EXPECT_EQ(window.lastRun(), nullptr);
  fakel->command1()->click();
  QElapsedTimer t;
  t.start();
  while (fakel->running() && t.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  QApplication::processEvents();
  ASSERT_FALSE(fakel->running());

  // The result is the main window's last run: an asymmetric jet (code 4 geometry) shown on the result tab.
  ASSERT_NE(window.lastRun(), nullptr) << messages.texts().join("|").toStdString();
  const result::RunSnapshot& s = *window.lastRun();
  EXPECT_EQ(s.ScenarioCode, 4);
  EXPECT_TRUE(s.derived.asymmetricComputed);
  EXPECT_EQ(s.LayerFlux.count(), 6);
  EXPECT_TRUE(window.isVisible());
  auto* tabs = window.findChild<QTabWidget*>("SSTab1");
  EXPECT_EQ(tabs->currentIndex(), 3);
  EXPECT_TRUE(tabs->isTabEnabled(3));
  EXPECT_TRUE(window.findChild<QPushButton*>("cmdSaveResult")->isVisible());
  // The depth of the weak-damage zone as the main window writes it: "уточнить" for −1, else the radius.
  const double r4 = s.CurZones[3];
  EXPECT_EQ(window.findChild<QLineEdit*>("txtRsl")->text(),
            r4 == -1 ? U("уточнить") : QString::fromStdString(FormatNumber(r4)));
  // Before any run of the run dialog the ignition and jet probabilities are 0: the risk is 0 everywhere,
  // while the flame itself heats the grid.
  double risk = 0, flux = 0;
  for (double v : s.GridRisk.cells()) risk = std::max(risk, v);
  for (double v : s.GridValue.cells()) flux = std::max(flux, v);
  EXPECT_EQ(risk, 0.0);
  EXPECT_GT(flux, 0.0);

  // Leaving the jet-flame window brings the main window back; the window goes away.
  window.hide();
  fakel->close();
  EXPECT_TRUE(window.isVisible());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(fakel.isNull());
}
