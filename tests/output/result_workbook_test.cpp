// The result workbook of a run read back from its zip: the sheets of every scenario code in their tab
// order, the cell layout of the value sheets, the grid behind each sheet, the input sheet's texts, the
// point in the numbers under a Russian locale, and failures that leave an earlier file as it was; the
// report and the workbook print one text of each input.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <memory>

#include "common/qt_text.h"
#include "output/report/report_input.h"
#include "output/workbook/result_workbook.h"
#include "russian_numbers.h"
#include "zip_reader.h"

namespace velaron::output {
namespace {

using test::CellRef;
using test::ReadCells;
using test::ReadWorkbook;
using test::WorkbookParts;
using test::XlsxCell;

// Value of point (ix, iy) of a grid made by Coded(): the grid's base, then x in the hundreds and y in
// the units, with a fraction, so that a swapped axis, a flipped row or a wrong grid all show.
double Coded(double base, int ix, int iy) { return base + 100.0 * ix + iy + 0.25; }

void FillCoded(models::Grid& g, int nx, int ny, double base, int border = 0) {
  g.resize(nx + border, ny + border);
  // A border beyond the map (the percent grid has one) holds a value no sheet may show.
  g.fill(-777);
  for (int iy = -ny; iy <= ny; ++iy)
    for (int ix = -nx; ix <= nx; ++ix) g(ix, iy) = Coded(base, ix, iy);
}

constexpr double kValueBase = 150000, kProcBase = 2000, kImpulsBase = 3000, kProbitBase = 4000, kRiskBase = 5000;

// A finished run of `code` on a grid of xLimit × yLimit m at `step` m. The layered grids and the
// complex assessment's scenario grids hold one constant each: LayerFlux k = 10 + k, LayerProc k = 20 + k,
// and the scenario grids 31 to 38.
std::shared_ptr<result::RunSnapshot> Record(int code, int xLimit = 60, int yLimit = 40, int step = 10) {
  auto r = std::make_shared<result::RunSnapshot>();
  r->request.run.scenario = result::ScenarioOf(code).value();
  r->request.settings.XLimit = xLimit;
  r->request.settings.YLimit = yLimit;
  r->request.settings.CStep = step;
  r->request.pipeline.Diametr = 1420;
  r->request.pipeline.Temp = 10;
  r->request.texts.diameterText = U("1420");
  r->request.texts.temperatureText = U("-5,5");
  r->request.texts.gasName = U("Метан");
  r->request.run.WindSpeed = 3;
  const int nx = xLimit / step / 2, ny = yLimit / step / 2;
  FillCoded(r->GridValue, nx, ny, kValueBase);
  FillCoded(r->GridProc, nx, ny, kProcBase, 1);
  FillCoded(r->GridProbit, nx, ny, kProbitBase);
  FillCoded(r->GridRisk, nx, ny, kRiskBase);
  if (code == 2 || code == 8) FillCoded(r->GridImpuls, nx, ny, kImpulsBase);
  if (code == 1 || code == 4 || code == 7) {
    r->LayerFlux.resize(6, nx, ny);
    r->LayerProc.resize(8, nx, ny);
    for (int k = 1; k <= 6; ++k) r->LayerFlux.layer(k).fill(10 + k);
    for (int k = 1; k <= 8; ++k) r->LayerProc.layer(k).fill(20 + k);
  }
  if (code == 1) {
    models::ComplexGrids& c = r->complexGrids;
    double value = 31;
    for (models::Grid* g : {&c.ProcFireBall, &c.ProcExplosion, &c.ProcGPVS, &c.ProcTorch, &c.RiskFireBall, &c.RiskTorch,
                            &c.RiskGPVS, &c.RiskExplosion}) {
      g->resize(nx, ny);
      g->fill(value++);
    }
  }
  return r;
}

struct Written {
  QTemporaryDir dir;
  QString path;
  WorkbookWriteResult result;
  WorkbookParts book;
};

std::unique_ptr<Written> Write(const result::RunSnapshot& record) {
  auto w = std::make_unique<Written>();
  w->path = w->dir.filePath(U("книга.xlsx"));
  w->result = WriteResultWorkbook(record, w->path);
  if (w->result.ok) w->book = ReadWorkbook(w->path);
  return w;
}

const test::SheetPart* Sheet(const WorkbookParts& book, const QString& name) {
  for (const auto& s : book.sheets)
    if (s.name == name) return &s;
  return nullptr;
}

std::map<QString, XlsxCell> CellsOf(const WorkbookParts& book, const char* name) {
  const test::SheetPart* s = Sheet(book, U(name));
  EXPECT_NE(s, nullptr) << name;
  return s ? ReadCells(book.parts, s->part) : std::map<QString, XlsxCell>{};
}

double NumberAt(const std::map<QString, XlsxCell>& cells, const QString& ref) {
  const auto it = cells.find(ref);
  if (it == cells.end() || it->second.isString || it->second.rawNumber.isEmpty())
    return std::numeric_limits<double>::quiet_NaN();
  return it->second.rawNumber.toDouble();
}

// The sheets of each code in the order they are made (which sheet shows which grid is the driver's test):
// the input sheet first, each picture right after the values it draws, the last made the first tab.
TEST(ResultWorkbook, EachCodeHasItsSheetsTheLastMadeFirstAndActive) {
  for (int code = 1; code <= 8; ++code) {
    SCOPED_TRACE(code);
    const auto record = Record(code);
    const auto w = Write(*record);
    ASSERT_TRUE(w->result.ok) << w->result.detail.toStdString();
    const auto& sheets = w->book.sheets;
    ASSERT_GT(sheets.size(), 2u);
    EXPECT_EQ(sheets.back().name, U("Исходные данные"));
    for (size_t i = 0; i + 1 < sheets.size(); ++i)
      EXPECT_TRUE(sheets[i].pictures.empty() || sheets[i + 1].pictures.empty()) << sheets[i].name.toStdString();
    // The last sheet made is the first tab, active and the only one selected.
    EXPECT_EQ(w->book.activeTab, 0);
    for (size_t i = 0; i < sheets.size(); ++i) EXPECT_EQ(sheets[i].selected, i == 0) << i;
    // A picture sheet holds one picture and no cells; a value sheet no picture.
    for (const auto& s : sheets) {
      if (s.pictures.empty()) continue;
      EXPECT_EQ(s.pictures.size(), 1u) << s.name.toStdString();
      EXPECT_FALSE(s.pictures[0].isNull()) << s.name.toStdString();
      EXPECT_TRUE(ReadCells(w->book.parts, s.part).empty()) << s.name.toStdString();
    }
  }
}

TEST(ResultWorkbook, ValueSheetsLieLikeTheMapWithOnlyTheOverpressureInKilopascals) {
  // 60 m × 40 m at 10 m: x from −3 to 3 across 7 columns, y from −2 to 2 down 5 rows.
  const int nx = 3, ny = 2;
  for (int code : {2, 5}) {
    SCOPED_TRACE(code);
    const auto w = Write(*Record(code));
    ASSERT_TRUE(w->result.ok) << w->result.detail.toStdString();
    struct Expect {
      const char* sheet;
      double base, divisor;
    };
    std::vector<Expect> sheets = {{"Вероятность поражения, проценты", kProcBase, 1},
                                  {"Значения пробит функции потока", kProbitBase, 1},
                                  {"Значения риска", kRiskBase, 1}};
    if (code == 2) {
      sheets.push_back({"Избыточное давление, кПа", kValueBase, 1000});
      sheets.push_back({"Импульс, кПа.с", kImpulsBase, 1});
    } else {
      sheets.push_back({"Значения теплового потока", kValueBase, 1});
    }
    for (const Expect& e : sheets) {
      const auto cells = CellsOf(w->book, e.sheet);
      // Exactly one cell per grid point: the percent grid's border stays off the sheet.
      EXPECT_EQ(cells.size(), size_t((2 * nx + 1) * (2 * ny + 1))) << e.sheet;
      for (int iy = -ny; iy <= ny; ++iy)
        for (int ix = -nx; ix <= nx; ++ix)
          EXPECT_EQ(NumberAt(cells, CellRef(iy + ny + 1, ix + nx + 1)), Coded(e.base, ix, iy) / e.divisor)
              << e.sheet << " x " << ix << " y " << iy;
    }
  }
  // Worked by hand: A1 is the corner at the most negative x and y, G5 the opposite one; the rupture point
  // (0, 0) is in row 3, column D. 150 kPa at the rupture point (150000.25 Pa) reads 150.00025.
  const auto cells = CellsOf(Write(*Record(2))->book, "Избыточное давление, кПа");
  EXPECT_EQ(NumberAt(cells, "A1"), (150000.25 - 300 - 2) / 1000);
  EXPECT_EQ(NumberAt(cells, "G5"), (150000.25 + 300 + 2) / 1000);
  EXPECT_EQ(NumberAt(cells, "D3"), 150.00025);
  EXPECT_EQ(NumberAt(cells, "G1"), (150000.25 + 300 - 2) / 1000);
}

TEST(ResultWorkbook, NumbersKeepThePointUnderARussianNumberLocale) {
  test::RussianNumbers russian;
  if (!russian.active) GTEST_SKIP() << "no Russian locale to be had; the point is checked in the layout test";
  char printed[32];
  std::snprintf(printed, sizeof printed, "%.2f", 2.5);
  ASSERT_STREQ(printed, "2,50");  // the C library itself now writes a comma
  const auto w = Write(*Record(1));
  ASSERT_TRUE(w->result.ok) << w->result.detail.toStdString();
  // Every number of every sheet is written with a point.
  int numbers = 0;
  for (const auto& s : w->book.sheets)
    for (const QString& v : test::ElementTexts(w->book.parts.at(s.part), "v")) {
      EXPECT_FALSE(v.contains(',')) << s.name.toStdString() << " " << v.toStdString();
      ++numbers;
    }
  EXPECT_GT(numbers, 20 * 35);
  EXPECT_EQ(NumberAt(CellsOf(w->book, "Значения риска"), "D3"), 5000.25);
}

// --- Failures: a message, no file left behind, an earlier file as it was.

QByteArray Hash(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot);
}

TEST(ResultWorkbook, AFailedWriteTellsTheUserAndLeavesTheEarlierFileAsItWas) {
  QTemporaryDir dir;
  const QString target = dir.filePath(U("книга.xlsx"));
  ASSERT_TRUE(WriteResultWorkbook(*Record(5), target).ok);
  const QByteArray before = Hash(target);
  ASSERT_FALSE(before.isEmpty());

  auto withNaN = Record(2);
  withNaN->GridRisk(1, 1) = std::numeric_limits<double>::quiet_NaN();
  auto noScenarioGrids = Record(1);
  noScenarioGrids->complexGrids = {};
  const struct {
    const char* what;
    std::shared_ptr<result::RunSnapshot> record;
    QString path;
    const char* cause;
  } cases[] = {
      {"a value the file format has no text for", withNaN, target, "нечисловое значение в ячейке"},
      {"a record without its scenario grids", noScenarioGrids, target, "не рассчитана"},
      {"a name longer than the file system takes", Record(5), dir.filePath(QString(300, QChar(u'к')) + U(".xlsx")),
       "слишком длинное имя файла"},
  };
  for (const auto& c : cases) {
    const WorkbookWriteResult r = WriteResultWorkbook(*c.record, c.path);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_TRUE(r.message.startsWith(U("Ошибка в процессе записи файла!"))) << c.what;
    EXPECT_TRUE(r.message.contains(U(c.cause)) || r.detail.contains(U(c.cause)))
        << c.what << ": " << r.message.toStdString();
    EXPECT_EQ(Hash(target), before) << c.what;
    EXPECT_EQ(Entries(dir.path()), QStringList{U("книга.xlsx")}) << c.what;
  }
}

TEST(ResultWorkbook, AGridWiderThanASheetIsRefusedRatherThanCut) {
  // 16384 columns is the sheet's limit: 2 × 8191 + 1 = 16383 points fit, 2 × 8192 + 1 do not.
  QTemporaryDir dir;
  auto fits = Record(6, 2 * 8191, 2, 1);
  auto cut = Record(6, 2 * 8192, 2, 1);
  const QString path = dir.filePath(U("широкая.xlsx"));
  EXPECT_TRUE(WriteResultWorkbook(*fits, path).ok);
  ASSERT_TRUE(QFile::remove(path));
  const WorkbookWriteResult r = WriteResultWorkbook(*cut, path);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.message.contains(U("16384"))) << r.message.toStdString();
  EXPECT_TRUE(Entries(dir.path()).isEmpty());
}

// The report and the workbook print the texts the user typed, one text of each input, and a run without
// the main window's texts prints its numbers; the jet-flame window's pipe has neither a season nor a length.
TEST(PrintedTexts, TheReportAndTheWorkbookPrintOneTextOfEachInput) {
  auto r = Record(4);
  r->request.section.Length = 250;
  auto printed = [&r] {
    const report::ReportInput in = report::InputFromRecord(*r, QDate(2024, 5, 1), false);
    const QStringList& lines = BuildInputSheet(*r).lines;
    EXPECT_TRUE(lines.contains(U("Температура газа, °С: ") + in.TempText)) << lines.join('|').toStdString();
    EXPECT_TRUE(lines.contains(U("Диаметр трубопровода: ") + in.diameterText + U(" мм")));
    EXPECT_TRUE(lines.contains(U("Газ: ") + in.gasName));
    return std::tuple(in.TempText, in.diameterText, in.gasName, in.MeteoText[0], in.LengthText);
  };
  EXPECT_EQ(printed(), std::tuple(U("-5,5"), U("1420"), U("Метан"), U("Зима"), U("250")));
  r->request.texts = {};
  r->request.pipeline.Diametr = 720.5;
  r->gas.VName = U("Этан");
  EXPECT_EQ(printed(), std::tuple(U("10"), U("720,5"), U("Этан"), U("Зима"), U("250")));
  r->request.jetFlame = result::JetFlamePipe{};
  EXPECT_EQ(printed(), std::tuple(U("10"), U("720,5"), U("Этан"), QString(), QString()));
}

}  // namespace
}  // namespace velaron::output
