#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "output/report/report_closing.h"
#include "output/report/single_reports.h"
#include "report_sample.h"
#include "scratch_db.h"
#include "zip_reader.h"

using namespace velaron;
using namespace velaron::report;

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

struct Closing {
  QStringList messages;
  QString answer;
  ClosingHooks hooks() {
    ClosingHooks h;
    h.appendRow = [](const db::ReportSummaryRow& row) { return db::AppendReportSummary(row); };
    h.askFileName = [this](const QString&) { return answer; };
    h.critical = [this](const QString& m) { messages << m; };
    return h;
  }
};

class ReportClosingTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(scratch.error(), QString()); }
  int Rows() { return scratch.Scalar("SELECT COUNT(*) FROM tabOtchet").toInt(); }
  test::ScratchDatabase scratch;
  QTemporaryDir dir;
  ReportInput in = test::SampleReportInput(2);
  Document doc = *BuildSingleReport(in);
  const QDateTime now{QDate(2026, 3, 14), QTime(11, 30, 0)};
};

}  // namespace

TEST_F(ReportClosingTest, RowHoldsTheThirteenFieldsAndTheFileGetsItsSuffix) {
  Closing c;
  c.answer = dir.filePath("отчет");
  const ClosingOutcome out = CloseReport(doc, in, now, c.hooks());
  EXPECT_TRUE(out.rowWritten);
  EXPECT_EQ(out.savedPath, dir.filePath("отчет.docx"));
  EXPECT_TRUE(c.messages.isEmpty());
  EXPECT_FALSE(test::ReadZip(out.savedPath).empty());
  QSqlQuery q(db::Connection());
  ASSERT_TRUE(q.exec("SELECT Date, dlit, Mestn, scen, Grunt, Gr_grunt, Type_grunt, Vid_grunt, Dtr, Davl_sr, Vid_gaz, "
                     "City, Region FROM tabOtchet"));
  ASSERT_TRUE(q.next());
  EXPECT_EQ(QDateTime::fromString(q.value(0).toString(), Qt::ISODate), now);
  EXPECT_EQ(q.value(1).toInt(), 3);  // 10:00:59 to 10:03:01 crosses three minute boundaries
  const QStringList texts = {q.value(2).toString(), q.value(3).toString(), q.value(4).toString(),
                             q.value(5).toString(), q.value(6).toString(), q.value(7).toString(),
                             q.value(10).toString(), q.value(11).toString(), q.value(12).toString()};
  EXPECT_EQ(texts, (QStringList{U("Хабаровский край, км 12"), U("Взрыв"), U("Дисперсные"), U("Связные"),
                                U("Минеральные"), U("Суглинок"), U("Метан"), U("Хабаровск"), U("Дальний Восток")}));
  EXPECT_DOUBLE_EQ(q.value(8).toDouble(), 1420);
  EXPECT_DOUBLE_EQ(q.value(9).toDouble(), 6.4);  // (5.4 + 7.4) / 2
  EXPECT_FALSE(q.next());
  // The next dialog opens where this report was saved.
  EXPECT_EQ(ReportStartFolder(), QDir(dir.path()).absolutePath());
}

TEST_F(ReportClosingTest, AFailedSaveLeavesTheEarlierFile) {
  const QString path = dir.filePath(U("отчет.docx"));
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("earlier report");
  }
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
  Closing c;
  c.answer = path;
  const ClosingOutcome out = CloseReport(doc, in, now, c.hooks());
  EXPECT_TRUE(out.savedPath.isEmpty());
  EXPECT_EQ(c.messages, QStringList{U("Ошибка в процессе сохранения файла\nНе удалось записать файл ") + path +
                                    U(": файл открыт только для чтения")});
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "earlier report");
  EXPECT_EQ(Rows(), 1);  // the row was written before the dialog and stays
}
