// The end of a report written from the window: the summary row's thirteen fields, the name the save dialog
// gives, the folder the next dialog opens in, and a failed save that leaves the earlier file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "common/qt_text.h"
#include "message_catcher.h"
#include "output/report/report_input.h"
#include "output/report/single_reports.h"
#include "output/report_sample.h"
#include "output/scratch_db.h"
#include "output/zip_reader.h"
#include "ui/run/run_report.h"
#include "ui/widgets/save_dialog.h"

using namespace velaron;
using namespace velaron::ui;

namespace {

class RunReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(scratch.error(), QString());
    SetSaveFileSink([this](const SaveFileRequest& r) {
      asked.push_back(r);
      return answer;
    });
  }
  void TearDown() override { SetSaveFileSink(nullptr); }
  int Rows() { return scratch.Scalar("SELECT COUNT(*) FROM tabOtchet").toInt(); }
  ReportClosing Close() { return CloseReport(nullptr, doc, report::SummaryRow(in, now)); }
  test::ScratchDatabase scratch;
  test::MessageCatcher messages;
  QTemporaryDir dir;
  QString answer;
  std::vector<SaveFileRequest> asked;
  report::ReportInput in = test::SampleReportInput(2);
  report::Document doc = *report::BuildSingleReport(in);
  const QDateTime now{QDate(2026, 3, 14), QTime(11, 30, 0)};
};

}  // namespace

TEST_F(RunReportTest, RowHoldsTheThirteenFieldsAndTheFileGetsItsSuffix) {
  answer = dir.filePath("отчет");
  const ReportClosing out = Close();
  EXPECT_TRUE(out.rowWritten);
  EXPECT_EQ(out.savedPath, dir.filePath("отчет.docx"));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].filter, U("Документы (*.docx)|*.docx"));
  EXPECT_TRUE(messages.requests.empty());
  EXPECT_FALSE(test::ReadZip(out.savedPath).empty());
  QSqlQuery q(db::Connection());
  ASSERT_TRUE(
      q.exec("SELECT Date, dlit, Mestn, scen, Grunt, Gr_grunt, Type_grunt, Vid_grunt, Dtr, Davl_sr, Vid_gaz, "
             "City, Region FROM tabOtchet"));
  ASSERT_TRUE(q.next());
  EXPECT_EQ(QDateTime::fromString(q.value(0).toString(), Qt::ISODate), now);
  EXPECT_EQ(q.value(1).toInt(), 3);  // 10:00:59 to 10:03:01 crosses three minute boundaries
  const QStringList texts = {q.value(2).toString(),  q.value(3).toString(),  q.value(4).toString(),
                             q.value(5).toString(),  q.value(6).toString(),  q.value(7).toString(),
                             q.value(10).toString(), q.value(11).toString(), q.value(12).toString()};
  EXPECT_EQ(texts, (QStringList{U("Хабаровский край, км 12"), U("Взрыв"), U("Дисперсные"), U("Связные"),
                                U("Минеральные"), U("Суглинок"), U("Метан"), U("Хабаровск"), U("Дальний Восток")}));
  EXPECT_DOUBLE_EQ(q.value(8).toDouble(), 1420);
  EXPECT_DOUBLE_EQ(q.value(9).toDouble(), 6.4);  // (5.4 + 7.4) / 2
  EXPECT_FALSE(q.next());
  // The next dialog opens where this report was saved.
  EXPECT_EQ(SaveStartFolder(), QDir(dir.path()).absolutePath());
}

TEST_F(RunReportTest, AFailedSaveLeavesTheEarlierFile) {
  const QString path = dir.filePath(U("отчет.docx"));
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("earlier report");
  }
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
  answer = path;
  const ReportClosing out = Close();
  EXPECT_TRUE(out.savedPath.isEmpty());
  EXPECT_EQ(messages.texts(), QStringList{U("Ошибка в процессе сохранения файла\nНе удалось записать файл ") + path +
                                          U(": файл открыт только для чтения")});
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "earlier report");
  EXPECT_EQ(Rows(), 1);  // the row was written before the dialog and stays
}
