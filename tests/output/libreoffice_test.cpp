// LibreOffice itself opens the written reports: the six single-scenario reports and the two year-round
// ones are converted to PDF by soffice, and the PDF's text (pdftotext) must hold their titles, probability
// lines, wind tables and radii. The reports of whole runs of the driver, pictures included, are laid out
// page by page: no page may begin with a figure's caption or a table row without its header, and no number
// of a zone table may break over two lines.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <tuple>

#include "output/report/docx_writer.h"
#include "output/report/report_texts.h"
#include "output/report/single_reports.h"
#include "output/report/year_reports.h"
#include "report_sample.h"
#include "run/sample_request.h"
#include "zip_reader.h"

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
  in.Check = {0, 0, 0, 0, 0, 0, 0, 1, 0};  // shut-off valves only
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

const std::vector<int> kCodes = {2, 3, 4, 5, 6, 8, 7, 1};

// soffice and pdftotext, or the reason the test is skipped.
struct Tools {
  QString soffice, pdftotext;
  bool missing() const { return soffice.isEmpty() || pdftotext.isEmpty(); }
};
Tools FindTools() {
  return {QStandardPaths::findExecutable(QStringLiteral("soffice")),
          QStandardPaths::findExecutable(QStringLiteral("pdftotext"))};
}
constexpr const char* kSkipReason =
    "soffice or pdftotext is not installed (scripts/install-deps.sh installs libreoffice-writer-nogui and "
    "poppler-utils)";

// Converts the documents to PDF beside them; an empty text on success.
QString ConvertToPdf(const Tools& tools, const QTemporaryDir& dir, const QStringList& files) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(tools.soffice, QStringList{QStringLiteral("-env:UserInstallation=file://") + dir.filePath("profile"),
                                     QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                                     QStringLiteral("--outdir"), dir.path()} +
                             files);
  if (!p.waitForFinished(180000)) return QStringLiteral("soffice did not finish");
  return p.exitCode() == 0 ? QString() : QString::fromUtf8(p.readAll());
}

QString PdfText(const Tools& tools, const QString& pdf, const QStringList& options = {}) {
  QProcess t;
  t.start(tools.pdftotext, options + QStringList{pdf, QStringLiteral("-")});
  t.waitForFinished(60000);
  return QString::fromUtf8(t.readAllStandardOutput());
}

// The first line of text of each page (words at the height of the topmost one, left to right) and where it
// stands, in points from the page's top.
struct PageTop {
  double y = 0;
  QStringList words;
};
std::vector<PageTop> PageTops(const QString& bboxHtml) {
  std::vector<PageTop> pages;
  const QRegularExpression word(
      QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"[\\d.]+\">([^<]*)</word>"));
  for (const QString& page : bboxHtml.split(QStringLiteral("<page ")).mid(1)) {
    std::vector<std::tuple<double, double, QString>> words;  // y, x, text
    for (auto m = word.globalMatch(page); m.hasNext();) {
      const auto w = m.next();
      words.emplace_back(w.captured(2).toDouble(), w.captured(1).toDouble(), w.captured(3));
    }
    PageTop top;
    if (!words.empty()) {
      std::sort(words.begin(), words.end());
      top.y = std::get<0>(words.front());
      std::vector<std::pair<double, QString>> line;
      for (const auto& [y, x, t] : words)
        if (y - top.y < 2) line.emplace_back(x, t);
      std::sort(line.begin(), line.end());
      for (const auto& [x, t] : line) top.words << t;
    }
    pages.push_back(top);
  }
  return pages;
}

}  // namespace

TEST(LibreOffice, OpensEveryReportAndShowsItsTexts) {
  const Tools tools = FindTools();
  if (tools.missing()) GTEST_SKIP() << kSkipReason;
  QTemporaryDir dir;
  QStringList files;
  for (int code : kCodes) {
    const auto doc = code == 7 || code == 1 ? BuildYearReport(Input(code), Year()) : BuildSingleReport(test::SampleReportInput(code));
    ASSERT_TRUE(doc);
    files << dir.filePath(QStringLiteral("report%1.docx").arg(code));
    ASSERT_EQ(WriteDocx(*doc, files.back()), QString());
  }
  ASSERT_EQ(ConvertToPdf(tools, dir, files), QString());

  for (int code : kCodes) {
    SCOPED_TRACE(code);
    const QString pdf = dir.filePath(QStringLiteral("report%1.pdf").arg(code));
    ASSERT_TRUE(QFile::exists(pdf)) << "LibreOffice made no PDF of report " << code;
    const QString text = Squeezed(PdfText(tools, pdf));
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

TEST(LibreOffice, NoPageOfARunsReportBeginsWithACaptionOrAHeaderlessRowAndNoZoneNumberBreaks) {
  const Tools tools = FindTools();
  if (tools.missing()) GTEST_SKIP() << kSkipReason;
  QTemporaryDir dir;
  QStringList files;
  for (int code : kCodes) {
    const QString input = dir.filePath(QStringLiteral("in%1.json").arg(code));
    QFile f(input);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(test::SampleRequest(code, 200, 10));
    f.close();
    files << dir.filePath(QStringLiteral("report%1.docx").arg(code));
    QProcess calc;
    calc.start(QStringLiteral(VELARON_BIN_DIR "/velaron-calc"),
               {QStringLiteral("--db"), QStringLiteral(VELARON_BIN_DIR "/data.pristine.db"), input,
                QStringLiteral("--report"), files.back()});
    ASSERT_TRUE(calc.waitForFinished(120000));
    ASSERT_EQ(calc.exitCode(), 0) << code;
  }
  ASSERT_EQ(ConvertToPdf(tools, dir, files), QString());

  // The first words of the tables' rows below their headers: a page beginning with one of them has cut a
  // table and lost its header. (The probability block's heading begins like the year-round table's last
  // row.)
  QStringList rowStarts = {U(texts::kSafeZone), U(texts::kYearProbability), U(texts::kWaveRadius),
                           U(texts::kWinter), U(texts::kSummer)};
  for (const char* label : texts::kZoneLabels) rowStarts << U(label);
  for (const char* state : texts::kWindStates) rowStarts << U(state);
  for (QString& start : rowStarts) start = start.section(QLatin1Char(' '), 0, 0);
  const QString probabilityHeading = Squeezed(U(texts::kProbabilityHeading));
  const double textTop = 42.6 + 12;  // the top margin and a line

  for (int i = 0; i < int(kCodes.size()); ++i) {
    SCOPED_TRACE(kCodes[size_t(i)]);
    const QString pdf = QString(files[i]).replace(QStringLiteral(".docx"), QStringLiteral(".pdf"));
    const std::vector<PageTop> pages = PageTops(PdfText(tools, pdf, {QStringLiteral("-bbox")}));
    ASSERT_GE(pages.size(), 5u);
    for (size_t k = 1; k < pages.size(); ++k) {
      const PageTop& top = pages[k];
      if (top.words.isEmpty() || top.y > textTop) continue;  // the page begins with a picture
      const QString line = top.words.join(QLatin1Char(' '));
      EXPECT_FALSE(line.startsWith(U("Рис."))) << "page " << k + 1 << ": " << line.toStdString();
      EXPECT_FALSE(rowStarts.contains(top.words.front()) && !line.startsWith(probabilityHeading))
          << "page " << k + 1 << ": " << line.toStdString();
    }
    // Every radius and probability of the zone tables by direction and over a year stands whole on one line.
    const QStringList words = Squeezed(PdfText(tools, pdf)).split(QLatin1Char(' '));
    const test::DocxBody body = test::ReadDocxBody(test::ReadZip(files[i]).at("word/document.xml"));
    static const QRegularExpression kNumber(QStringLiteral("^>?\\d[\\d,E+-]*$"));
    for (const test::DocxTable& t : body.tables)
      for (const auto& row : t.text)
        for (const QString& cell : row)
          if (kNumber.match(cell).hasMatch()) {
            EXPECT_TRUE(words.contains(cell)) << cell.toStdString();
          }
  }
}
