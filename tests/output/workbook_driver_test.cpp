// The workbook of a whole run written by the command-line driver: the numbers on its sheets are the
// driver's JSON grids, and LibreOffice opens it, reads the input sheet's texts and the numbers, and draws
// every picture in its own proportions; so does it the wind rose's chart.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <cmath>

#include "common/qt_text.h"
#include "output/workbook/wind_rose.h"
#include "run/headless.h"
#include "run/run_fixtures.h"
#include "zip_reader.h"

namespace velaron::test {
namespace {

struct DriverRun {
  int exitCode = -1;
  QJsonObject json;
  QString workbook;
  QByteArray errors;
};

// velaron-calc on a copy of the shipped database, 200 m at 20 m (11 × 11 points).
DriverRun RunDriver(const DatabaseCopy& db, const QTemporaryDir& dir, int code, const QStringList& grids,
                    const QString& workbook) {
  const QString input = dir.filePath(QStringLiteral("in%1.json").arg(code));
  QFile f(input);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(SampleRequest(code, 200, 20));
  f.close();
  QProcess p;
  p.start(QStringLiteral(VELARON_BIN_DIR "/velaron-calc"),
          QStringList{"--db", db.path(), input, "--grids", grids.join(','), "--workbook", workbook});
  EXPECT_TRUE(p.waitForFinished(120000));
  DriverRun r;
  r.exitCode = p.exitCode();
  const QByteArray out = p.readAllStandardOutput();
  r.json = ParseJson(out);
  r.errors = p.readAllStandardError();
  r.workbook = workbook;
  return r;
}

// A printed grid's value at (ix, iy).
double JsonAt(const QJsonObject& json, const QString& grid, int ix, int iy) {
  const QJsonObject g = json["grids"].toObject()[grid].toObject();
  const int nx = g["nx"].toInt(), ny = g["ny"].toInt();
  return g["rows"].toArray()[iy + ny].toArray()[ix + nx].toDouble();
}

bool Close(double a, double b, double digits = 1e-15) {
  return std::fabs(a - b) <= digits * std::max(1.0, std::fabs(b));
}

// Which printed grid each value sheet shows, and its divisor.
struct SheetGrid {
  const char* sheet;
  QString grid;
  double divisor = 1;
};

std::vector<SheetGrid> SheetGrids(int code) {
  std::vector<SheetGrid> out;
  if (code == 2) {
    out = {{"Избыточное давление, кПа", "GridValue", 1000},
           {"Импульс, кПа.с", "GridImpuls"},
           {"Значения пробит функции потока", "GridProbit"}};
  } else {
    out = {{"Значения теплового потока", "GridValue"}};
  }
  out.push_back({"Вероятность поражения, проценты", "GridProc"});
  out.push_back({"Значения риска", "GridRisk"});
  if (code == 1 || code == 7) {
    // Case k of the jet cases: 1 pit winter, 2 pit summer, 3 symmetric winter, 4 symmetric summer, 5 asymmetric.
    const char* flux[] = {"Котл_зима-ТП", "Котл_лето-ТП", "Симметр_зима-ТП", "Симметр_лето-ТП", "Ассимм-ТП"};
    const char* proc[] = {"Котл_зима-Pr", "Котл_лето-Pr", "Симметр_зима-Pr", "Симметр_лето-Pr", "Ассимм-Pr"};
    for (int k = 1; k <= 5; ++k) {
      out.push_back({flux[k - 1], QStringLiteral("LayerFlux%1").arg(k)});
      out.push_back({proc[k - 1], QStringLiteral("LayerProc%1").arg(k)});
    }
  }
  return out;
}

QStringList GridNames(int code) {
  QStringList names;
  for (const SheetGrid& s : SheetGrids(code)) names << s.grid;
  return names;
}

class WorkbookDriver : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(db_.ok()); }
  DriverRun run(int code) {
    return RunDriver(db_, dir_, code, GridNames(code), dir_.filePath(QStringLiteral("код%1.xlsx").arg(code)));
  }
  DatabaseCopy db_;
  QTemporaryDir dir_;
};

TEST_F(WorkbookDriver, SheetsHoldTheDriversGrids) {
  for (int code : {2, 4, 7, 1}) {
    SCOPED_TRACE(code);
    const DriverRun r = run(code);
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_EQ(r.json["ScenarioCode"].toInt(), code);
    const WorkbookParts book = ReadWorkbook(r.workbook);
    ASSERT_FALSE(book.sheets.empty());
    for (const SheetGrid& s : SheetGrids(code)) {
      const SheetPart* sheet = nullptr;
      for (const auto& candidate : book.sheets)
        if (candidate.name == U(s.sheet)) sheet = &candidate;
      ASSERT_NE(sheet, nullptr) << s.sheet;
      const auto cells = ReadCells(book.parts, sheet->part);
      EXPECT_EQ(cells.size(), 121u) << s.sheet;
      int differ = 0;
      double peak = 0;
      for (int iy = -5; iy <= 5; ++iy)
        for (int ix = -5; ix <= 5; ++ix) {
          const double expected = JsonAt(r.json, s.grid, ix, iy) / s.divisor;
          const auto it = cells.find(CellRef(iy + 6, ix + 6));
          const double v = it == cells.end() ? NAN : it->second.rawNumber.toDouble();
          if (!Close(v, expected)) ++differ;
          peak = std::max(peak, std::fabs(expected));
        }
      EXPECT_EQ(differ, 0) << s.sheet;
      EXPECT_GT(peak, 0) << s.sheet << ": a sheet of zeros proves nothing";
    }
  }
}

// --- LibreOffice reads the workbook.

// Every sheet of `workbook` as CSV through LibreOffice: file name "<base>-<sheet>.csv" → its lines.
std::map<QString, QStringList> ConvertedSheets(const QString& workbook, const QString& outDir, QString& log) {
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  QProcess p;
  // A profile of its own, so that a LibreOffice already running elsewhere does not take the job.
  const QString profile = QUrl::fromLocalFile(outDir + QStringLiteral("/profile")).toString();
  p.start(soffice, {"-env:UserInstallation=" + profile, "--headless", "--convert-to",
                    // UTF-8 (76), all sheets (-1), raw cell contents
                    "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1", "--outdir", outDir,
                    workbook});
  p.waitForFinished(180000);
  log = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
  std::map<QString, QStringList> sheets;
  const QString base = QFileInfo(workbook).completeBaseName() + QLatin1Char('-');
  for (const QString& name : QDir(outDir).entryList({"*.csv"}, QDir::Files)) {
    QFile f(QDir(outDir).filePath(name));
    if (!f.open(QIODevice::ReadOnly)) continue;
    QString sheet = name;
    sheet.remove(0, base.size()).chop(4);
    // Rows are padded with empty cells to the sheet's used width; an empty row is all commas.
    QStringList lines;
    for (QString line : QString::fromUtf8(f.readAll()).split('\n')) {
      while (line.endsWith(',')) line.chop(1);
      if (!line.isEmpty()) lines << line;
    }
    sheets[sheet] = lines;
  }
  return sheets;
}

TEST_F(WorkbookDriver, LibreOfficeOpensTheWorkbookAndReadsItsTexts) {
  if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
    GTEST_SKIP() << "soffice is not installed (Debian package libreoffice-calc-nogui, see scripts/install-deps.sh)";
  for (int code : {2, 1}) {
    SCOPED_TRACE(code);
    const DriverRun r = run(code);
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    QTemporaryDir out;
    QString log;
    const auto sheets = ConvertedSheets(r.workbook, out.path(), log);
    // LibreOffice found every sheet of the workbook.
    const WorkbookParts book = ReadWorkbook(r.workbook);
    QStringList written, read;
    for (const auto& s : book.sheets) written << s.name;
    for (const auto& [name, lines] : sheets) read << name;
    written.sort();
    EXPECT_EQ(read, written) << log.toStdString();

    const QStringList input = sheets.count(U("Исходные данные")) ? sheets.at(U("Исходные данные")) : QStringList{};
    ASSERT_GE(input.size(), 5) << log.toStdString();
    EXPECT_EQ(input[0], U("Исходные данные"));
    EXPECT_EQ(input[1], U("Диаметр трубопровода: 1420 мм"));
    EXPECT_EQ(input[2], U("Газ: Метан"));
    EXPECT_EQ(input[3], U("\"Температура газа, °С: 10\""));  // quoted for its comma
    EXPECT_EQ(input[4], U("Скорость ветра:  см. розу ветров"));
    if (code == 1) {
      // The radius table: headings, then the five jet cases with their four radii as numbers.
      ASSERT_EQ(input.size(), 11);
      EXPECT_EQ(input[5], U(",R1,R2,R3,R4"));
      const QJsonArray zoneR = r.json["ZoneR"].toArray();
      const char* cases[] = {"Котлованный-Зима", "Котлованный-Лето", "Симметричный-Зима", "Симметричный-Лето",
                             "Ассимметричный"};
      for (int k = 0; k < 5; ++k) {
        const QStringList cells = input[6 + k].split(',');
        ASSERT_EQ(cells.size(), 5);
        EXPECT_EQ(cells[0], U(cases[k]));
        for (int j = 0; j < 4; ++j)
          EXPECT_TRUE(Close(cells[1 + j].toDouble(), zoneR[k].toArray()[j].toDouble(), 1e-12))
              << cells[1 + j].toStdString();
      }
    } else {
      EXPECT_EQ(input.size(), 5);
    }
    // The damaging factor as LibreOffice reads it: row 6 is y = 0, column 6 is x = 0.
    const SheetGrid s = SheetGrids(code)[0];
    const QStringList rows = sheets.count(U(s.sheet)) ? sheets.at(U(s.sheet)) : QStringList{};
    ASSERT_EQ(rows.size(), 11) << s.sheet;
    for (int iy = -5; iy <= 5; ++iy) {
      const QStringList cells = rows[iy + 5].split(',');
      ASSERT_EQ(cells.size(), 11);
      for (int ix = -5; ix <= 5; ++ix)
        EXPECT_TRUE(Close(cells[ix + 5].toDouble(), JsonAt(r.json, s.grid, ix, iy) / s.divisor, 1e-12))
            << ix << " " << iy << " " << cells[ix + 5].toStdString();
    }
    // Printed, every picture is drawn at one scale across and down (placed on cell corners that assume
    // another program's column width, it came out a quarter wider than tall); pdfimages lists each image
    // with its resolution across and down in columns 13 and 14.
    const QString pdfimages = QStandardPaths::findExecutable(QStringLiteral("pdfimages"));
    if (code != 2 || pdfimages.isEmpty()) continue;
    QProcess pdf, list;
    pdf.start(QStandardPaths::findExecutable(QStringLiteral("soffice")),
              {"-env:UserInstallation=" + QUrl::fromLocalFile(out.filePath("profile")).toString(), "--headless",
               "--convert-to", "pdf", "--outdir", out.path(), r.workbook});
    ASSERT_TRUE(pdf.waitForFinished(180000));
    list.start(pdfimages, {"-list", out.filePath(QFileInfo(r.workbook).completeBaseName() + ".pdf")});
    ASSERT_TRUE(list.waitForFinished(60000));
    int drawn = 0;
    for (const QString& line : QString::fromUtf8(list.readAllStandardOutput()).split('\n').mid(2)) {
      const QStringList f = line.split(' ', Qt::SkipEmptyParts);
      if (f.size() < 14) continue;
      EXPECT_NEAR(f[12].toDouble() / f[13].toDouble(), 1, 0.01) << line.toStdString();
      ++drawn;
    }
    EXPECT_EQ(drawn, 3);  // the three picture sheets of code 2
  }
}

// A length of the OpenDocument format ("12.7cm", "5in", "360pt") in centimetres; NAN for another unit.
double Centimetres(const QString& length) {
  static const std::map<QString, double> kUnits = {{"cm", 1}, {"mm", 0.1}, {"in", 2.54}, {"pt", 2.54 / 72}};
  const auto m = QRegularExpression(QStringLiteral("^([\\d.]+)(cm|mm|in|pt)$")).match(length);
  return m.hasMatch() ? m.captured(1).toDouble() * kUnits.at(m.captured(2)) : NAN;
}

// LibreOffice lays out the wind rose's chart at the size the workbook gives it: libxlsxwriter's chart of
// 480 × 288 pixels, 5 in × 3 in at 96 pixels an inch, so 12.7 cm wide and 5 / 3 as wide as high. Saved in
// LibreOffice's own format, the chart's frame has the size LibreOffice gave it on the sheet. Placed on
// cell corners counted in another program's column width, it came out 2.05 as wide as high.
TEST(WindRoseWorkbook, LibreOfficeDrawsTheChartInItsOwnProportions) {
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  if (soffice.isEmpty())
    GTEST_SKIP() << "soffice is not installed (Debian package libreoffice-calc-nogui, see scripts/install-deps.sh)";
  QTemporaryDir dir;
  db::WindRow town;
  town.CityName = QStringLiteral("Хабаровск");
  town.winter = {10, 20, 5, 5, 10, 30, 10, 10, 0};
  town.summer = {15, 10, 10, 20, 15, 10, 10, 10, 3};
  const output::WindRoseResult written = output::SaveWindRose(town, dir.path());
  ASSERT_TRUE(written.ok) << written.error.toStdString();
  // In the workbook itself the chart lies inside one column, its right edge 480 pixels of 9525 EMU from
  // the column's left edge (no spreadsheet's column width enters its size), and the rows it spans have
  // heights of their own, not a program's default row height.
  const Parts xlsx = ReadZip(written.path);
  const std::string& drawing = xlsx.at("xl/drawings/drawing1.xml");
  const QStringList cols = ElementTexts(drawing, QStringLiteral("xdr:col"));
  const QStringList offsets = ElementTexts(drawing, QStringLiteral("xdr:colOff"));
  const QStringList anchorRows = ElementTexts(drawing, QStringLiteral("xdr:row"));
  EXPECT_TRUE(cols.size() == 2 && cols[0] == cols[1]) << cols.join(' ').toStdString();
  EXPECT_EQ(offsets.value(1).toLongLong() - offsets.value(0).toLongLong(), 480LL * 9525);
  ASSERT_EQ(anchorRows.size(), 2);
  const std::string& sheetXml = xlsx.at("xl/worksheets/sheet1.xml");
  const QStringList rowNumbers = AttributeValues(sheetXml, QStringLiteral("row"), QStringLiteral("r"));
  const QStringList custom = AttributeValues(sheetXml, QStringLiteral("row"), QStringLiteral("customHeight"));
  for (int row = anchorRows[0].toInt(); row <= anchorRows[1].toInt(); ++row)
    EXPECT_EQ(custom.value(rowNumbers.indexOf(QString::number(row + 1))), "1")
        << "row " << row + 1;  // "r" counts from 1

  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(soffice, {"-env:UserInstallation=" + QUrl::fromLocalFile(dir.filePath("profile")).toString(), "--headless",
                    "--convert-to", "ods", "--outdir", dir.path(), written.path});
  ASSERT_TRUE(p.waitForFinished(180000));
  const Parts ods = ReadZip(dir.filePath(QFileInfo(written.path).completeBaseName() + ".ods"));
  ASSERT_EQ(ods.count("content.xml"), 1u) << p.readAll().toStdString();
  // The frame that holds an embedded object: the chart, the only one of the sheet.
  static const QRegularExpression kFrame(
      QStringLiteral("<draw:frame [^>]*svg:width=\"([^\"]+)\" svg:height=\"([^\"]+)\"[^>]*>\\s*<draw:object "));
  const QString content = QString::fromStdString(ods.at("content.xml"));
  const auto frame = kFrame.match(content);
  ASSERT_TRUE(frame.hasMatch() && !kFrame.match(content, frame.capturedEnd()).hasMatch())
      << content.left(2000).toStdString();
  const double width = Centimetres(frame.captured(1)), height = Centimetres(frame.captured(2));
  EXPECT_NEAR(width / height, 5.0 / 3, 0.02) << frame.captured(0).toStdString();
  EXPECT_NEAR(width, 12.7, 0.15) << frame.captured(0).toStdString();
}

}  // namespace
}  // namespace velaron::test
