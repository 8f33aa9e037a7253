// LibreOffice itself opens the written reports: the six single-scenario reports and the two year-round
// ones are converted to PDF by soffice, and the PDF's text (pdftotext) must hold their titles, probability
// lines, wind tables and radii.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "output/report/docx_writer.h"
#include "output/report/single_reports.h"
#include "output/report/year_reports.h"
#include "report_sample.h"

using namespace velaron;
using namespace velaron::report;

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

// Text with every run of white space made one blank (the PDF wraps lines where the page ends).
QString Squeezed(QString s) { return s.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")); }

db::WindRow SampleTown() {
  db::WindRow t;
  t.idCity = 12;
  t.CityName = QStringLiteral("Хабаровск");
  t.winter = {2, 7, 6, 2, 2, 74, 6, 1, 0};
  t.summer = {3, 25, 17, 5, 4, 35, 7, 4, 0};
  t.speedWinter = {3.3, 5.7, 4.2, 2.7, 3.5, 5.9, 4.1, 2.2, 0};
  t.speedSummer = {3.4, 6, 4.6, 3.3, 3.6, 4.6, 3.6, 2.9, 0};
  t.Tmedium = 207;
  return t;
}

// A flame of H = 10 m: pit 6,5 / 5 / 5, symmetric 4 / 6 / 4. The wind-corrected length 7.125 rounds half to
// even (7,12); the tip's width 3.125 m gives an asymmetric diameter of 6,25 m.
ReportInput Input(int code) {
  ReportInput in = test::SampleReportInput(code);
  in.LTorch = 10;
  in.LTorchWind = 7.125;
  in.external = {0, 0, 1, 0};  // shut-off valves only
  return in;
}

YearReportInput Year() {
  YearReportInput y;
  for (int k = 0; k < 9; ++k)
    for (int z = 0; z < 4; ++z) y.ZoneR[size_t(k)][size_t(z)] = 10 * (k + 1) + z + 0.25;
  y.town = SampleTown();
  y.rose = test::Swatch(48, 40);
  y.W2 = 3.125;
  return y;
}

}  // namespace

TEST(LibreOffice, OpensEveryReportAndShowsItsTexts) {
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  if (soffice.isEmpty() || pdftotext.isEmpty())
    GTEST_SKIP() << "soffice or pdftotext is not installed (scripts/install-deps.sh installs "
                    "libreoffice-writer-nogui and poppler-utils)";
  QTemporaryDir dir;
  const std::vector<int> codes = {2, 3, 4, 5, 6, 8, 7, 1};
  QStringList files;
  for (int code : codes) {
    const auto doc = code == 7 || code == 1 ? BuildYearReport(Input(code), Year()) : BuildSingleReport(test::SampleReportInput(code));
    ASSERT_TRUE(doc);
    files << dir.filePath(QStringLiteral("report%1.docx").arg(code));
    ASSERT_EQ(WriteDocx(*doc, files.back()), QString());
  }
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(soffice, QStringList{QStringLiteral("-env:UserInstallation=file://") + dir.filePath("profile"),
                               QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                               QStringLiteral("--outdir"), dir.path()} +
                       files);
  ASSERT_TRUE(p.waitForFinished(180000)) << "soffice did not finish";
  ASSERT_EQ(p.exitCode(), 0) << p.readAll().toStdString();

  for (int code : codes) {
    SCOPED_TRACE(code);
    const QString pdf = dir.filePath(QStringLiteral("report%1.pdf").arg(code));
    ASSERT_TRUE(QFile::exists(pdf)) << "LibreOffice made no PDF of report " << code;
    QProcess t;
    t.start(pdftotext, QStringList{pdf, QStringLiteral("-")});
    ASSERT_TRUE(t.waitForFinished(60000));
    const QString text = Squeezed(QString::fromUtf8(t.readAllStandardOutput()));
    if (code == 7 || code == 1) {
      // The wind table's rows in reading order: the state, winter and summer repetition, the two speeds.
      for (const char* row : {"Северо -восточный 7 25 5,7 6", "Юго -западный 74 35 5,9 4,6", "Штиль 0 0 0 0"})
        EXPECT_TRUE(text.contains(U(row))) << row;
      EXPECT_TRUE(text.contains(U("температурой > 0 207")));
      // The year-round table: every radius of its scenario columns (10·kind + zone − 1 + 0.25) and its safe
      // zone, the combined column's radii and its "уточнить". Cells wrap, so each is looked up as a word.
      const QStringList words = text.split(QLatin1Char(' '));
      const std::vector<int> kinds = code == 7 ? std::vector<int>{1, 2, 3, 4, 5} : std::vector<int>{7, 6, 8, 1, 2, 3, 4, 5};
      for (int k : kinds) {
        for (int z = 0; z < 4; ++z) {
          const QString cell = QStringLiteral("%1,25").arg(10 * k + z);
          EXPECT_TRUE(words.contains(cell)) << cell.toStdString();
        }
        EXPECT_TRUE(words.contains(QStringLiteral(">%1,25").arg(10 * k + 3))) << k;
      }
      for (const char* cell : {"уточнить", "153,25", ">200"}) EXPECT_TRUE(words.contains(U(cell))) << cell;
      EXPECT_TRUE(text.contains(U("Высота (длина) ассиметричного факела, м7,12")));
      continue;
    }
    const auto* recipe = SingleRecipeOf(code);
    EXPECT_TRUE(text.contains(Squeezed(U(recipe->title)))) << text.left(300).toStdString();
    for (const char* line : {"- вероятность возгорания: 2,500E-01", "- формирование симметричного факела: 3,000E-01",
                             "- формирование газо-паровоздушного облака: 1,000E-10."})
      EXPECT_TRUE(text.contains(U(line))) << line;
    // The zone table: its radii, the refined zone and the safe zone.
    for (const char* cell : {"Зона безусловного поражения, Рпор>99% уточнить", "153,25", "Зона безопасности, Рпор<=1% >200"})
      EXPECT_TRUE(text.contains(U(cell))) << cell;
    EXPECT_EQ(text.contains(U("В расчете сценария приняты следующие метеоданнные:")), code >= 3 && code <= 5);
  }
}
