// LibreOffice itself opens the written reports: each of the six single-scenario reports is converted to
// PDF by soffice and the PDF's text (pdftotext) must hold the title, the probability lines and the radii.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "output/report/docx_writer.h"
#include "output/report/single_reports.h"
#include "report_sample.h"

using namespace velaron;
using namespace velaron::report;

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

// Text with every run of white space made one blank (the PDF wraps lines where the page ends).
QString Squeezed(QString s) { return s.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")); }

}  // namespace

TEST(LibreOffice, OpensEveryReportAndShowsItsTexts) {
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  if (soffice.isEmpty() || pdftotext.isEmpty())
    GTEST_SKIP() << "soffice or pdftotext is not installed (scripts/install-deps.sh installs "
                    "libreoffice-writer-nogui and poppler-utils)";
  QTemporaryDir dir;
  const std::vector<int> codes = {2, 3, 4, 5, 6, 8};
  QStringList files;
  for (int code : codes) {
    const auto doc = BuildSingleReport(test::SampleReportInput(code));
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
