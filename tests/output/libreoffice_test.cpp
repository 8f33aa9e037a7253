// LibreOffice itself opens the written reports: the six single-scenario reports and the two year-round
// ones are converted to PDF by soffice, and the PDF's text (pdftotext) must hold their titles, probability
// lines, wind tables and radii. The reports of whole runs of the driver (read back first: the year-round
// ones with the town's wind table and the run's radii), pictures included, are laid out page by page: no
// page may begin with a figure's caption or a table row without its header, and no number of a zone table
// may break over two lines, nor a page end with a line that introduces the lines after it. The one
// exception is the complex report's ten-column zone table, which keeps its 10 pt: a long number wraps
// inside its cell, every piece within the cell's column, and no digit is lost.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <tuple>

#include "common/qt_text.h"
#include "output/report/docx_writer.h"
#include "output/report/report_texts.h"
#include "output/report/single_reports.h"
#include "report_sample.h"
#include "run/sample_request.h"
#include "zip_reader.h"

using namespace velaron;
using namespace velaron::report;

namespace {

// Text with every run of white space made one blank (the PDF wraps lines where the page ends).
QString Squeezed(QString s) { return s.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")); }

const std::vector<int> kCodes = {2, 3, 4, 5, 6, 8, 7, 1};
const std::vector<int> kSingleCodes = {2, 3, 4, 5, 6, 8};

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
                                     QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                     QStringLiteral("pdf"), QStringLiteral("--outdir"), dir.path()} +
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

// The lines of each page, top to bottom: the words at one height (within 2 pt), left to right, and where
// they stand, in points from the page's top.
struct PageLine {
  double y = 0;
  QStringList words;
};
std::vector<std::vector<PageLine>> PageLines(const QString& bboxHtml) {
  std::vector<std::vector<PageLine>> pages;
  const QRegularExpression word(
      QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"[\\d.]+\">([^<]*)</word>"));
  for (const QString& page : bboxHtml.split(QStringLiteral("<page ")).mid(1)) {
    std::vector<std::tuple<double, double, QString>> words;  // y, x, text
    for (auto m = word.globalMatch(page); m.hasNext();) {
      const auto w = m.next();
      words.emplace_back(w.captured(2).toDouble(), w.captured(1).toDouble(), w.captured(3));
    }
    std::sort(words.begin(), words.end());
    std::vector<std::pair<double, std::map<double, QString>>> lines;  // y, words by x
    for (const auto& [y, x, t] : words) {
      if (lines.empty() || y - lines.back().first >= 2) lines.push_back({y, {}});
      lines.back().second.emplace(x, t);
    }
    pages.emplace_back();
    for (const auto& [y, byX] : lines) {
      pages.back().push_back({y, {}});
      for (const auto& [x, t] : byX) pages.back().back().words << t;
    }
  }
  return pages;
}

// A word that pdftotext placed, in points from the page's top left corner.
struct PageWord {
  double xMin = 0, yMin = 0, xMax = 0;
  QString text;
};

// The zone table over a year, the year-round reports' last table, as LibreOffice printed it: its body rows
// (from the first "Зона" below the header "Вид аварийного сценария" on the last page that has it) read
// column by column. Each column's words stand inside the column's text room (the table's left border stands
// at the page's left margin less the cell's left blank, as word processors place a table), and, read top to
// bottom and joined, hold the column's texts in order: a wrapped number has all its digits in its own cell.
void ExpectWrappedNumbersWithinTheirCells(const QString& bboxHtml, const std::string& documentXml) {
  const test::DocxTable table = test::ReadDocxBody(documentXml).tables.back();
  // The cell blanks of the tables in order (a border's "w:left" has no width): the last is the zone table's.
  QStringList margins = test::AttributeValues(documentXml, QStringLiteral("w:left"), QStringLiteral("w:w"));
  margins.removeAll(QString());
  ASSERT_FALSE(margins.isEmpty());
  const double margin = margins.last().toDouble() / 20;
  const QRegularExpression word(
      QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"[\\d.]+\">([^<]*)</word>"));
  std::vector<PageWord> page;
  double headTop = 0, bodyTop = 1e9;
  for (const QString& html : bboxHtml.split(QStringLiteral("<page ")).mid(1)) {
    std::vector<PageWord> words;
    for (auto m = word.globalMatch(html); m.hasNext();) {
      const auto w = m.next();
      QString text = w.captured(4);  // the box list is HTML: "<" and ">" come as entities
      text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
      words.push_back({w.captured(1).toDouble(), w.captured(2).toDouble(), w.captured(3).toDouble(), text});
    }
    for (size_t i = 0; i + 1 < words.size(); ++i)
      if (words[i].text == U("Вид") && words[i + 1].text == U("аварийного"))
        std::tie(page, headTop) = std::tuple(words, words[i].yMin);
  }
  ASSERT_FALSE(page.empty()) << "no page holds the table's header";
  for (const PageWord& w : page)
    if (w.text == U("Зона") && w.yMin > headTop) bodyTop = std::min(bodyTop, w.yMin);
  double left = 28.4 - margin;  // the report's left margin less the cell's blank
  for (int c = 0; c < table.cols(); ++c) {
    SCOPED_TRACE(testing::Message() << "column " << c + 1);
    const double right = left + table.gridCols[size_t(c)] / 20.0;
    std::vector<PageWord> words;
    for (const PageWord& w : page)
      if (w.yMin >= bodyTop - 1 && (w.xMin + w.xMax) / 2 >= left && (w.xMin + w.xMax) / 2 <= right) words.push_back(w);
    std::sort(words.begin(), words.end(),
              [](const PageWord& a, const PageWord& b) { return std::tie(a.yMin, a.xMin) < std::tie(b.yMin, b.xMin); });
    QString joined;
    for (const PageWord& w : words) {
      EXPECT_TRUE(w.xMin >= left + margin - 1 && w.xMax <= right - margin + 1)
          << w.text.toStdString() << ": " << w.xMin << ".." << w.xMax << " in " << left << ".." << right;
      joined += w.text;
    }
    qsizetype from = 0;
    for (int r = 2; r < table.rows(); ++r) {
      const QString cell = QString(table.text[size_t(r)][size_t(c)]).remove(QLatin1Char(' '));
      const qsizetype at = joined.indexOf(cell, from);
      EXPECT_GE(at, 0) << "row " << r + 1 << ": " << cell.toStdString() << " not in " << joined.toStdString();
      if (at >= 0) from = at + cell.size();
    }
    left = right;
  }
}

}  // namespace

TEST(LibreOffice, OpensEveryReportShowsItsTextsAndLaysItOutPageByPage) {
  QTemporaryDir dir;
  // The reports of whole runs of the driver, read back before LibreOffice opens them: the year-round ones
  // hold the rose as the sixth picture and the run's own combined radii (the wind table is read below).
  QStringList runFiles;
  for (int code : kCodes) {
    SCOPED_TRACE(code);
    const QString input = dir.filePath(QStringLiteral("in%1.json").arg(code));
    QFile f(input);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(test::SampleRequest(code, 200, 10));
    f.close();
    runFiles << dir.filePath(QStringLiteral("run%1.docx").arg(code));
    QProcess calc;
    calc.start(QStringLiteral(VELARON_BIN_DIR "/velaron-calc"),
               {QStringLiteral("--db"), QStringLiteral(VELARON_BIN_DIR "/data.pristine.db"), input,
                QStringLiteral("--report"), runFiles.back()});
    ASSERT_TRUE(calc.waitForFinished(120000));
    ASSERT_EQ(calc.exitCode(), 0);
    if (code != 7 && code != 1) continue;
    const QJsonArray zones = QJsonDocument::fromJson(calc.readAllStandardOutput())["CurZones"].toArray();
    const auto parts = test::ReadZip(runFiles.back());
    const test::DocxBody body = test::ReadDocxBody(parts.at("word/document.xml"));
    ASSERT_EQ(body.tables.size(), 5u);
    EXPECT_EQ(parts.count("word/media/image6.png"), 1u);
    const auto& year = body.tables[4];
    ASSERT_EQ(year.cols(), code == 7 ? 7 : 10);
    // The complex report's table keeps its 10 pt whatever its numbers (long ones here: radii on the grid's
    // diagonal, "141,42135623731", and probabilities of fifteen digits).
    if (code == 1) {
      for (const test::DocxParagraph& p : year.cellParagraphs) EXPECT_EQ(p.size, 10) << p.text.toStdString();
    }
    ASSERT_EQ(zones.size(), 4);
    for (int z = 0; z < 4; ++z) {
      const double v = zones[z].toDouble();
      const QString want = v == -1 ? U("уточнить") : QString::number(v, 'g', 15).replace('.', ',');
      EXPECT_EQ(year.text[size_t(2 + z)][size_t(year.cols() - 1)], want) << z;
    }
  }
  const Tools tools = FindTools();
  if (tools.missing()) GTEST_SKIP() << kSkipReason;
  // With them, the single-scenario reports of hand-made inputs; one conversion for all.
  QStringList files;
  for (int code : kSingleCodes) {
    const auto doc = BuildSingleReport(test::SampleReportInput(code));
    ASSERT_TRUE(doc);
    files << dir.filePath(QStringLiteral("report%1.docx").arg(code));
    ASSERT_EQ(WriteDocx(*doc, files.back()), QString());
  }
  ASSERT_EQ(ConvertToPdf(tools, dir, files + runFiles), QString());

  for (int code : kCodes) {
    SCOPED_TRACE(code);
    const bool yearRound = code == 7 || code == 1;
    const QString pdf = dir.filePath(QString::fromLatin1(yearRound ? "run%1.pdf" : "report%1.pdf").arg(code));
    ASSERT_TRUE(QFile::exists(pdf)) << "LibreOffice made no PDF of report " << code;
    const QString text = Squeezed(PdfText(tools, pdf));
    if (yearRound) {
      // The wind table's rows of the run's town in reading order: the state, winter and summer repetition,
      // the two speeds.
      for (const char* row : {"Северо -восточный 7 25 5,7 6", "Юго -западный 74 35 5,9 4,6", "Штиль 0 0 0 0"})
        EXPECT_TRUE(text.contains(U(row))) << row;
      EXPECT_TRUE(text.contains(U("температурой > 0 207")));
      continue;
    }
    const auto* recipe = SingleRecipeOf(*result::ScenarioOf(code));
    EXPECT_TRUE(text.contains(Squeezed(U(recipe->title)))) << text.left(300).toStdString();
    for (const char* line : {"- вероятность возгорания: 2,500E-01", "- формирование симметричного факела: 3,000E-01",
                             "- формирование газо-паровоздушного облака: 1,000E-10."})
      EXPECT_TRUE(text.contains(U(line))) << line;
    // The zone table: its radii, the refined zone and the safe zone.
    for (const char* cell :
         {"Зона безусловного поражения, Рпор>99% уточнить", "153,25", "Зона безопасности, Рпор<=1% >200"})
      EXPECT_TRUE(text.contains(U(cell))) << cell;
    EXPECT_EQ(text.contains(U("В расчете сценария приняты следующие метеоданнные:")), code >= 3 && code <= 5);
  }

  // The first words of the tables' rows below their headers: a page beginning with one of them has cut a
  // table and lost its header. (The probability block's heading begins like the year-round table's last
  // row.)
  QStringList rowStarts = {U(report::texts::kSafeZone), U(report::texts::kYearProbability),
                           U(report::texts::kWaveRadius), U(report::texts::kWinter), U(report::texts::kSummer)};
  for (const char* label : report::texts::kZoneLabels) rowStarts << U(label);
  for (const char* state : report::texts::kWindStates) rowStarts << U(state);
  for (QString& start : rowStarts) start = start.section(QLatin1Char(' '), 0, 0);
  const QString probabilityHeading = Squeezed(U(report::texts::kProbabilityHeading));
  const double textTop = 42.6 + 12;  // the top margin and a line

  for (int i = 0; i < int(kCodes.size()); ++i) {
    SCOPED_TRACE(kCodes[size_t(i)]);
    const QString pdf = QString(runFiles[i]).replace(QStringLiteral(".docx"), QStringLiteral(".pdf"));
    const auto pages = PageLines(PdfText(tools, pdf, {QStringLiteral("-bbox")}));
    ASSERT_GE(pages.size(), 5u);
    for (size_t k = 0; k < pages.size(); ++k) {
      if (pages[k].empty()) continue;
      // A line that introduces the lines after it ("Грунт:", "Котлованный факел:") never ends a page.
      const QString last = pages[k].back().words.join(QLatin1Char(' '));
      EXPECT_FALSE(k + 1 < pages.size() && last.endsWith(QLatin1Char(':')))
          << "page " << k + 1 << " ends with: " << last.toStdString();
      const PageLine& top = pages[k].front();
      if (k == 0 || top.y > textTop) continue;  // the page begins with a picture
      const QString line = top.words.join(QLatin1Char(' '));
      EXPECT_FALSE(line.startsWith(U("Рис."))) << "page " << k + 1 << ": " << line.toStdString();
      EXPECT_FALSE(rowStarts.contains(top.words.front()) && !line.startsWith(probabilityHeading))
          << "page " << k + 1 << ": " << line.toStdString();
    }
    // Every radius and probability of the zone tables by direction stands whole on one line; those of the
    // table over a year wrap inside their cells where they are long.
    const QStringList words = Squeezed(PdfText(tools, pdf)).split(QLatin1Char(' '));
    const std::string documentXml = test::ReadZip(runFiles[i]).at("word/document.xml");
    const test::DocxBody body = test::ReadDocxBody(documentXml);
    static const QRegularExpression kNumber(QStringLiteral("^>?\\d[\\d,E+-]*$"));
    const bool yearRound = kCodes[size_t(i)] == 1 || kCodes[size_t(i)] == 7;
    if (yearRound) ExpectWrappedNumbersWithinTheirCells(PdfText(tools, pdf, {QStringLiteral("-bbox")}), documentXml);
    for (const test::DocxTable& t : body.tables) {
      if (yearRound && &t == &body.tables.back()) continue;
      for (const auto& row : t.text)
        for (const QString& cell : row)
          if (kNumber.match(cell).hasMatch()) {
            EXPECT_TRUE(words.contains(cell)) << cell.toStdString();
          }
    }
  }
}
