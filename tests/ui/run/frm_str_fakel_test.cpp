// The jet-flame window's result workbook: offered as the run dialog's last run left the models' workbook
// flag and as the extra-workbook option stands, through the run dialog's save dialog and its retries.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "common/qt_text.h"
#include "message_catcher.h"
#include "wait_until.h"
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
  result::RunSnapshot last;
  for (int code = 1; code <= 8; ++code) {
    last.request.run.scenario = result::ScenarioOf(code).value();
    EXPECT_EQ(SaveXlsLeftBy(&last), code != 1 && code != 7) << code;
  }
  last.request.run.scenario = result::Scenario::AsymmetricJet;  // the window's own run
  for (bool left : {true, false}) {
    last.request.jetFlame = result::JetFlamePipe{25, {}, left};
    EXPECT_EQ(SaveXlsLeftBy(&last), left);
  }
}

// Before, the window's calculation never offered its workbook; now it does when both are on, and the flag
// goes on as it was found.
TEST(JetFlameWindow, ItsCalculationOffersTheWorkbookOnlyWhenTheFlagAndTheOptionAreOn) {
  for (const auto& [saveXls, extraFiles] : {std::pair(true, true), std::pair(false, true), std::pair(true, false)}) {
    SCOPED_TRACE(testing::Message() << "flag " << saveXls << ", option " << extraFiles);
    QTemporaryDir dir;
    const QString blocked = dir.filePath(U("занято.xlsx")), path = dir.filePath(U("факел.xlsx"));
    ASSERT_TRUE(QDir().mkpath(blocked));  // a folder where the file would go: the save fails
    // The window over the good rows of the run tests on a 200 m grid at 20 m.
    FakelContext context;
    context.gases = {*test::GoodData().gas};
    static_cast<models::CalcSettings&>(context.settings) = test::GoodRequest(4).settings;
    context.settings.CStep = 20;
    context.tables = test::SyntheticTables();
    context.lastSaveXls = [flag = saveXls] { return flag; };
    context.options = [option = extraFiles] { return result::OutputOptions{option, true}; };
    std::vector<SaveFileRequest> asked;
    std::shared_ptr<const result::RunSnapshot> record;
    int shownAfter = -1;  // how many times the dialog had been asked when the results were shown
    context.showResult = [&](std::shared_ptr<const result::RunSnapshot> s) {
      shownAfter = static_cast<int>(asked.size());
      record = std::move(s);
    };
    SetSaveFileSink([&](const SaveFileRequest& r) {
      asked.push_back(r);
      return QStringList({blocked, path}).value(asked.size() - 1);
    });
    test::MessageCatcher messages;
    FrmStrFakel window(context);
    window.show();
    window.Command1_Click();
    test::WaitUntil([&] { return !window.running(); });
    SetSaveFileSink(nullptr);

    ASSERT_TRUE(record) << messages.texts().join('|').toStdString();
    EXPECT_EQ(record->request.jetFlame->SaveXls, saveXls);
    EXPECT_TRUE(window.isVisible());
    if (!saveXls || !extraFiles) {
      EXPECT_TRUE(asked.empty());
      continue;
    }
    ASSERT_EQ(asked.size(), 2u);  // the failed save is told and the dialog comes again
    EXPECT_EQ(shownAfter, 2);     // the workbook is saved before the results are shown
    // The failed save first; then what the end of the run tells (here the zone at the grid's edge).
    EXPECT_TRUE(messages.texts().value(0).contains(blocked)) << messages.texts().join('|').toStdString();
    QStringList sheets;
    for (const auto& sheet : test::ReadWorkbook(path).sheets) sheets << sheet.name;
    // The asymmetric jet's workbook: heat flux and the rest, no impulse sheet.
    EXPECT_TRUE(sheets.contains(U("Значения теплового потока")) && !sheets.contains(U("Импульс, кПа.с")))
        << sheets.join('|').toStdString();
  }
}

}  // namespace
}  // namespace velaron::ui
