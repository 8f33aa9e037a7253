// The jet-flame window from the main window's hidden menu item, on a copy of the shipped database: the
// item stays hidden, its handler steps the main window aside and shows the jet-flame window, whose
// result comes back into the main window; closing the jet-flame window brings the main window back.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "common/numtext.h"
#include "form_fixture.h"
#include "run/ui/frm_str_fakel.h"

using namespace velaron;
using velaron::test::MessageCatcher;
using velaron::test::U;

namespace {

// The shipped database with a small grid (200 m at 20 m), so that the flame is computed quickly.
bool SmallGridCopy(const QString& path) {
  if (!QFile::copy(QStringLiteral(VELARON_PRISTINE_DB), path)) return false;
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
  bool ok = false;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "grid");
    db.setDatabaseName(path);
    ok = db.open() && QSqlQuery(db).exec("UPDATE Adjustment SET XLimit = 200, YLimit = 200, CStep = 20");
    db.close();
  }
  QSqlDatabase::removeDatabase("grid");
  return ok;
}

}  // namespace

TEST(JetFlameHookup, HiddenItemOpensTheWindowAndItsResultReachesTheMainWindow) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/data.db";
  ASSERT_TRUE(SmallGridCopy(path));
  ASSERT_TRUE(db::OpenDatabase(path).isEmpty());
  MessageCatcher messages;
  {
    ui::Form1 window;
    window.show();
    auto* item = window.findChild<QAction*>("mnuTrub");
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isVisible());  // unreachable from the menus
    EXPECT_EQ(item->text(), U("Расчет струевого настильного факела"));

    // The handler, as the hidden item would run it.
    item->trigger();
    QPointer<ui::FrmStrFakel> fakel = window.findChild<ui::FrmStrFakel*>("frmStr_fakel");
    ASSERT_FALSE(fakel.isNull()) << messages.texts().join("|").toStdString();
    EXPECT_TRUE(fakel->isVisible());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(fakel->isWindow());
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
    const run::RunSnapshot& s = *window.lastRun();
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
  db::CloseDatabase();
}
