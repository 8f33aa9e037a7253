// The jet-flame window's result workbook: offered as the run dialog's last run left the models' workbook
// flag and as the extra-workbook option stands, through the run dialog's save dialog and its retries.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "common/qt_text.h"
#include "message_catcher.h"
#include "output/zip_reader.h"
#include "run/run_fixtures.h"
#include "ui/run/frm_str_fakel.h"
#include "ui/widgets/save_dialog.h"

namespace velaron::ui {
namespace {

// The flag after each kind of last run: the single scenarios set it before their model, the assessments over
// a year clear it before theirs, the jet-flame window sets nothing, and it starts off.
TEST(JetFlameWindow, TheWorkbookFlagIsTheOneTheLastRunLeft) {
  EXPECT_FALSE(SaveXlsLeftBy(nullptr));
  for (int code = 1; code <= 8; ++code) {
    result::RunSnapshot run;
    run.request.run.scenario = result::ScenarioOf(code).value();
    EXPECT_EQ(SaveXlsLeftBy(&run), code != 1 && code != 7) << code;
  }
  for (bool left : {true, false}) {
    result::RunSnapshot window;
    window.request.run.scenario = result::Scenario::AsymmetricJet;
    window.request.jetFlame = result::JetFlamePipe{25, {}, left};
    EXPECT_EQ(SaveXlsLeftBy(&window), left);
  }
}

// The window over the good rows of the run tests on a 200 m grid at 20 m, its calculation run to its end.
struct Calculation {
  Calculation(bool saveXls, bool extraFiles) {
    FakelContext c;
    c.gases = {*test::GoodData().gas};
    static_cast<models::CalcSettings&>(c.settings) = test::GoodRequest(4).settings;
    c.settings.CStep = 20;
    c.tables = test::SyntheticTables();
    c.lastSaveXls = [saveXls] { return saveXls; };
    c.options = [extraFiles] { return result::OutputOptions{extraFiles, true}; };
    c.showResult = [this](std::shared_ptr<const result::RunSnapshot> s) {
      shownAfter = static_cast<int>(asked.size());
      record = std::move(s);
    };
    window = std::make_unique<FrmStrFakel>(c);
    window->show();
  }
  void run(QStringList answers) {
    SetSaveFileSink([this, answers](const SaveFileRequest& r) mutable {
      asked.push_back(r);
      return answers.size() > 1 ? answers.takeFirst() : answers.value(0);
    });
    window->Command1_Click();
    QElapsedTimer t;
    t.start();
    while (window->running() && t.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
    SetSaveFileSink(nullptr);
  }
  test::MessageCatcher messages;
  std::unique_ptr<FrmStrFakel> window;
  std::vector<SaveFileRequest> asked;
  std::shared_ptr<const result::RunSnapshot> record;
  int shownAfter = -1;  // how many times the dialog had been asked when the results were shown
};

// Before, the window's calculation never offered its workbook.
TEST(JetFlameWindow, ItsCalculationOffersTheWorkbookWhenTheFlagAndTheOptionAreOn) {
  QTemporaryDir dir;
  const QString blocked = dir.filePath(U("занято.xlsx")), path = dir.filePath(U("факел.xlsx"));
  ASSERT_TRUE(QDir().mkpath(blocked));  // a folder where the file would go: the save fails
  Calculation c(true, true);
  c.run({blocked, path});
  ASSERT_TRUE(c.record) << c.messages.texts().join('|').toStdString();
  ASSERT_EQ(c.asked.size(), 2u);  // the failed save is told and the dialog comes again
  EXPECT_EQ(c.shownAfter, 2);     // the workbook is saved before the results are shown
  EXPECT_EQ(c.asked[0].title, U("Сохранение книги результатов расчета: сценарий \"Факел (асимметр.горение)\""));
  EXPECT_EQ(c.asked[0].filter, U("Книга Excel (*.xlsx)|*.xlsx"));
  // The failed save first; then what the end of the run tells (here the zone at the grid's edge).
  ASSERT_GE(c.messages.requests.size(), 1u);
  EXPECT_TRUE(c.messages.requests[0].text.contains(blocked)) << c.messages.texts().join('|').toStdString();
  QStringList sheets;
  for (const auto& sheet : test::ReadWorkbook(path).sheets) sheets << sheet.name;
  // The asymmetric jet's workbook: heat flux, its picture, percent, its picture, probit, risk, its picture;
  // no impulse sheet.
  EXPECT_TRUE(sheets.contains(U("Значения теплового потока")) && sheets.contains(U("Значения пробит функции потока")) &&
              !sheets.contains(U("Импульс, кПа.с")))
      << sheets.join('|').toStdString();
  EXPECT_TRUE(c.window->isVisible());
}

TEST(JetFlameWindow, NoWorkbookIsOfferedWithTheFlagOrTheOptionOff) {
  for (const auto& [saveXls, extraFiles] : {std::pair(false, true), std::pair(true, false)}) {
    SCOPED_TRACE(saveXls ? "option off" : "flag off");
    QTemporaryDir dir;
    Calculation c(saveXls, extraFiles);
    c.run({dir.filePath(U("факел.xlsx"))});
    ASSERT_TRUE(c.record) << c.messages.texts().join('|').toStdString();
    EXPECT_TRUE(c.asked.empty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_EQ(c.record->request.jetFlame->SaveXls, saveXls);  // and the flag goes on as it was found
  }
}

}  // namespace
}  // namespace velaron::ui
