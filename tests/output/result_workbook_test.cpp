// The result workbook of a run read back from its zip: the sheets of every scenario code in their tab
// order, the cell layout of the value sheets, the grid behind each sheet, the input sheet's texts, the
// point in the numbers under a Russian locale, and failures that leave an earlier file as it was.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <memory>

#include "output/workbook/result_workbook.h"
#include "russian_numbers.h"
#include "workbook_reader.h"
#include "zip_reader.h"

namespace velaron::output {
namespace {

using test::CellRef;
using test::ReadCells;
using test::ReadWorkbook;
using test::WorkbookParts;
using test::XlsxCell;

QString U(const char* s) { return QString::fromUtf8(s); }

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
  r->ScenarioCode = code;
  r->request.run.ScenarioCode = code;
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
    const char* names[] = {"ProcFireBall", "ProcExplosion", "ProcGPVS", "ProcTorch",
                           "RiskFireBall", "RiskTorch",     "RiskGPVS", "RiskExplosion"};
    for (int i = 0; i < 8; ++i) {
      models::Grid g(nx, ny);
      g.fill(31 + i);
      r->extraGrids.emplace_back(QString::fromLatin1(names[i]), std::move(g));
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

QString TextAt(const std::map<QString, XlsxCell>& cells, const QString& ref) {
  const auto it = cells.find(ref);
  return it == cells.end() ? QString() : it->second.text;
}

// --- Sheets of each code, in the order they are made. "*" marks a picture sheet.

const QStringList kBlastStart = {"Исходные данные", "Избыточное давление, кПа", "*Диаграмма избыточного давления",
                                 "Вероятность поражения, проценты", "*Диаграмма вероятности поражения"};
const QStringList kHeatStart = {"Исходные данные", "Значения теплового потока", "*Диаграмма теплового потока",
                                "Вероятность поражения, проценты", "*Диаграмма вероятности поражения"};
const QStringList kRiskEnd = {"Значения риска", "*Диаграмма риска"};
const QStringList kScenarioBlock = {
    "Процент поражения - Огневой шар", "*Диаграмма вер пораж-Огневой шар", "Процент поражения-Взрыв",
    "*Диаграмма-Взрыв",                "Процент поражения-взрыв ГПВС",     "*Диаграмма-ГПВС",
    "Процент пораж-факельн горение",   "*Диаграмма-факельное горен",       "Риск - Огневой шар",
    "Риск-факельн горение",            "Риск-взрыв ГПВС",                  "Риск Взрыв"};
const QStringList kJetBlock = {
    "Котл_лето-ТП",    "*Диаграмма_Котл_лето-ТП",    "Котл_зима-ТП",    "*Диаграмма-Котл_зима-ТП",
    "Симметр_лето-ТП", "*Диаграмма_Симметр_лето-ТП", "Симметр_зима-ТП", "*Диаграмма-Симметр_зима-ТП",
    "Ассимм-ТП",       "*Диаграмма_Ассимм-ТП",       "Котл_лето-Pr",    "*Диаграмма_Котл_лето-Pr",
    "Котл_зима-Pr",    "*Диаграмма-Котл_зима-Pr",    "Симметр_лето-Pr", "*Диаграмма_Симметр_лето-Pr",
    "Симметр_зима-Pr", "*Диаграмма-Симметр_зима-Pr", "Ассимм-Pr",       "*Диаграмма_Ассимм-Pr"};

TEST(ResultWorkbook, EachCodeHasItsSheetsTheLastMadeFirstAndActive) {
  const QStringList probit = {"Значения пробит функции потока"};
  const struct {
    int code;
    QStringList made;
  } cases[] = {
      {2, kBlastStart + QStringList{"Импульс, кПа.с"} + probit + kRiskEnd},
      {8, kBlastStart + QStringList{"Импульс, кПа.с"} + probit + kRiskEnd},
      {3, kHeatStart + probit + kRiskEnd},
      {4, kHeatStart + probit + kRiskEnd},
      {5, kHeatStart + probit + kRiskEnd},
      {6, kHeatStart + probit + kRiskEnd},
      // The assessments over a year: no impulse and no probit, then their own blocks.
      {7, kHeatStart + kRiskEnd + kJetBlock},
      {1, kHeatStart + kRiskEnd + kScenarioBlock + kJetBlock},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const auto record = Record(c.code);
    // Seven common sheets, then for code 1 eighteen value sheets and fourteen pictures, for code 7 ten
    // and ten.
    if (c.code == 1) {
      EXPECT_EQ(c.made.size(), 7 + 32);
    } else if (c.code == 7) {
      EXPECT_EQ(c.made.size(), 7 + 20);
    }
    const auto w = Write(*record);
    ASSERT_TRUE(w->result.ok) << w->result.detail.toStdString();
    QStringList tabs;
    for (const auto& s : w->book.sheets) tabs.prepend((s.pictures.empty() ? "" : "*") + s.name);
    EXPECT_EQ(tabs, c.made);
    // The last sheet made is the first tab, active and the only one selected.
    EXPECT_EQ(w->book.activeTab, 0);
    ASSERT_FALSE(w->book.sheets.empty());
    for (size_t i = 0; i < w->book.sheets.size(); ++i) EXPECT_EQ(w->book.sheets[i].selected, i == 0) << i;
    // A picture sheet holds one picture and no cells; a value sheet no picture.
    for (const auto& s : w->book.sheets) {
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

TEST(ResultWorkbook, EachScenarioAndJetCaseSheetShowsItsOwnGrid) {
  struct Expect {
    const char* sheet;
    double value;
  };
  // LayerFlux k = 10 + k, LayerProc k = 20 + k (k: 1 pit winter, 2 pit summer, 3 symmetric winter,
  // 4 symmetric summer, 5 asymmetric).
  const std::vector<Expect> jets = {
      {"Котл_лето-ТП", 12},    {"Котл_зима-ТП", 11},    {"Симметр_лето-ТП", 14}, {"Симметр_зима-ТП", 13},
      {"Ассимм-ТП", 15},       {"Котл_лето-Pr", 22},    {"Котл_зима-Pr", 21},    {"Симметр_лето-Pr", 24},
      {"Симметр_зима-Pr", 23}, {"Ассимм-Pr", 25}};
  const std::vector<Expect> scenarios = {
      {"Процент поражения - Огневой шар", 31}, {"Процент поражения-Взрыв", 32}, {"Процент поражения-взрыв ГПВС", 33},
      {"Процент пораж-факельн горение", 34},   {"Риск - Огневой шар", 35},      {"Риск-факельн горение", 36},
      {"Риск-взрыв ГПВС", 37},                 {"Риск Взрыв", 38}};
  for (int code : {1, 7}) {
    SCOPED_TRACE(code);
    const auto w = Write(*Record(code));
    ASSERT_TRUE(w->result.ok) << w->result.detail.toStdString();
    std::vector<Expect> all = jets;
    if (code == 1) all.insert(all.end(), scenarios.begin(), scenarios.end());
    for (const Expect& e : all) {
      const auto cells = CellsOf(w->book, e.sheet);
      EXPECT_EQ(cells.size(), 35u) << e.sheet;
      for (const QString& ref : {U("A1"), U("D3"), U("G5")}) EXPECT_EQ(NumberAt(cells, ref), e.value) << e.sheet;
    }
    // The percent of the largest flux is the common sheet's; the symmetric summer case keeps its own
    // layer (LayerProc 4 = 24) rather than that percent.
    EXPECT_EQ(NumberAt(CellsOf(w->book, "Вероятность поражения, проценты"), "D3"), Coded(kProcBase, 0, 0));
  }
}

TEST(ResultWorkbook, InputSheetCarriesTheRunsTexts) {
  const double pi = 3.14159265358979;
  const QString r1 = U("Исходные данные"), r2 = U("Диаметр трубопровода: 1420 мм"), r3 = U("Газ: Метан"),
                r4 = U("Температура газа, °С: -5,5"), rose = U("Скорость ветра:  см. розу ветров");
  struct Case {
    int code;
    std::function<void(result::RunSnapshot&)> set;
    QStringList rows;  // column A from row 1
  };
  const std::vector<Case> cases = {
      // Flame height 12.3456 → 12,35; widest section 2 × 0.4 × 12.3456 = 9.87648 → 9,88; a tilt of π/3
      // from the horizontal is 30° from the vertical. The wind speed stands unrounded.
      {5,
       [&](result::RunSnapshot& r) {
         r.derived.LTorch = 12.3456;
         r.derived.Tilt = pi / 3;
         r.request.run.WindSpeed = 2.75;
       },
       {r1, r2, r3, r4, U("Скорость ветра:  2,75"), U("Высота факела: 12,35"), U("Максимальный диаметр: 9,88"),
        U("Угол отклонения факела от вертикали: 30")}},
      // The asymmetric flame: twice the tip width 4.321 → 8,64; aimed 25° above the ground → 65°.
      {4,
       [&](result::RunSnapshot& r) {
         r.derived.LTorch = 80.125;
         r.derived.W2 = 4.321;
         r.derived.Tilt = 25 / 180.0 * pi;
       },
       {r1, r2, r3, r4, U("Скорость ветра:  3"), U("Высота факела: 80,12"), U("Максимальный диаметр: 8,64"),
        U("Угол отклонения факела от вертикали: 65")}},
      {8,
       [&](result::RunSnapshot& r) {
         r.derived.MassGPVS = 1234.5678;
         r.request.settings.Tobl = 20;
         r.request.settings.Dola_obl = 0.333;
       },
       {r1, r2, r3, r4, rose, U("Масса облака ТВС, кг 1234,57"),
        U("Время истечения при образовании облака ГПВС, с 20"), U("Доля массы, участвующей в горении ГПВС 0,33")}},
      {2, {}, {r1, r2, r3, r4, rose}},
      {6, {}, {r1, r2, r3, r4, rose}},
      {3, {}, {r1, r2, r3, r4, U("Скорость ветра:  3")}},
      {7, {}, {r1, r2, r3, r4, rose}},
      {1, {}, {r1, r2, r3, r4, rose}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    auto record = Record(c.code);
    if (c.set) c.set(*record);
    // Radii of the five jet cases; the asymmetric zone 4 not found in the grid.
    for (int k = 1; k <= 5; ++k)
      for (int level = 1; level <= 4; ++level)
        record->zoneR(k, level) = std::vector<double>{10.5, 20.25, 30, 40.125}[level - 1] + (k - 1);
    record->zoneR(5, 4) = -1;
    for (int level = 1; level <= 4; ++level) record->zoneR(6, level) = 99;  // the fireball is not in the table
    const auto w = Write(*record);
    ASSERT_TRUE(w->result.ok) << w->result.detail.toStdString();
    const auto cells = CellsOf(w->book, "Исходные данные");
    QStringList rows;
    for (int row = 1; row <= 8; ++row)
      if (cells.count(CellRef(row, 1))) rows << TextAt(cells, CellRef(row, 1));
    EXPECT_EQ(rows, c.rows);
    EXPECT_TRUE(cells.count(U("A1")) && cells.at(U("A1")).bold && cells.at(U("A1")).fontSize == 12.0);
    EXPECT_FALSE(cells.count(U("A2")) && cells.at(U("A2")).bold);
    const bool table = c.code == 1 || c.code == 7;
    EXPECT_EQ(cells.count(U("B10")) == 1, table);
    if (!table) {
      EXPECT_EQ(cells.size(), size_t(c.rows.size()));
      continue;
    }
    EXPECT_EQ((QStringList{TextAt(cells, "B10"), TextAt(cells, "C10"), TextAt(cells, "D10"), TextAt(cells, "E10")}),
              (QStringList{"R1", "R2", "R3", "R4"}));
    EXPECT_EQ((QStringList{TextAt(cells, "A11"), TextAt(cells, "A12"), TextAt(cells, "A13"), TextAt(cells, "A14"),
                           TextAt(cells, "A15")}),
              (QStringList{U("Котлованный-Зима"), U("Котлованный-Лето"), U("Симметричный-Зима"),
                           U("Симметричный-Лето"), U("Ассимметричный")}));
    for (int k = 1; k <= 5; ++k)
      for (int j = 1; j <= 4; ++j) {
        const double expected = k == 5 && j == 4 ? -1 : std::vector<double>{10.5, 20.25, 30, 40.125}[j - 1] + (k - 1);
        EXPECT_EQ(NumberAt(cells, CellRef(10 + k, 1 + j)), expected) << k << " " << j;
      }
    EXPECT_EQ(cells.size(), 5u + 4 + 5 + 20);
  }
}

TEST(ResultWorkbook, RunWithoutWindowTextsWritesItsNumbersWithTheComma) {
  auto record = Record(3);
  record->request.texts = {};
  record->request.pipeline.Diametr = 1020.5;
  record->request.pipeline.Temp = 7.25;
  record->gas.VName = U("Пропан");
  const auto cells = CellsOf(Write(*record)->book, "Исходные данные");
  EXPECT_EQ(TextAt(cells, "A2"), U("Диаметр трубопровода: 1020,5 мм"));
  EXPECT_EQ(TextAt(cells, "A3"), U("Газ: Пропан"));
  EXPECT_EQ(TextAt(cells, "A4"), U("Температура газа, °С: 7,25"));
}

TEST(ResultWorkbook, ThePictureSheetsShowTheRunsOwnPictures) {
  // The three pictures of the results tab go to their sheets as they are; the others are drawn.
  auto record = Record(2);
  record->imgDiagr1 = QImage(37, 23, QImage::Format_RGB32);
  record->imgDiagr2 = QImage(41, 29, QImage::Format_RGB32);
  record->imgRisk = QImage(43, 31, QImage::Format_RGB32);
  record->imgDiagr1.fill(Qt::red);
  record->imgDiagr2.fill(Qt::green);
  record->imgRisk.fill(Qt::blue);
  const auto w = Write(*record);
  ASSERT_TRUE(w->result.ok);
  const struct {
    const char* sheet;
    QSize size;
    QRgb colour;
  } cases[] = {{"Диаграмма избыточного давления", {37, 23}, qRgb(255, 0, 0)},
               {"Диаграмма вероятности поражения", {41, 29}, qRgb(0, 255, 0)},
               {"Диаграмма риска", {43, 31}, qRgb(0, 0, 255)}};
  for (const auto& c : cases) {
    const test::SheetPart* s = Sheet(w->book, U(c.sheet));
    ASSERT_TRUE(s && s->pictures.size() == 1) << c.sheet;
    EXPECT_EQ(s->pictures[0].size(), c.size) << c.sheet;
    EXPECT_EQ(s->pictures[0].pixel(5, 5), c.colour) << c.sheet;
  }
}

TEST(ResultWorkbook, TheThreeDimensionalOptionTurnsEveryPictureButTheRisk) {
  // Without the results tab's pictures the writer draws them all: from above, or as a mesh.
  auto flat = Record(7), mesh = Record(7);
  flat->request.options.Opt3D = false;
  mesh->request.options.Opt3D = true;
  const auto a = Write(*flat), b = Write(*mesh);
  ASSERT_TRUE(a->result.ok && b->result.ok);
  int compared = 0;
  for (const auto& s : a->book.sheets) {
    if (s.pictures.empty()) continue;
    const test::SheetPart* other = Sheet(b->book, s.name);
    ASSERT_TRUE(other && other->pictures.size() == 1) << s.name.toStdString();
    const bool same = s.pictures[0] == other->pictures[0];
    EXPECT_EQ(same, s.name == U("Диаграмма риска")) << s.name.toStdString();
    ++compared;
  }
  EXPECT_EQ(compared, 13);
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
  noScenarioGrids->extraGrids.clear();
  const struct {
    const char* what;
    std::shared_ptr<result::RunSnapshot> record;
    QString path;
  } cases[] = {
      {"a value the file format has no text for", withNaN, target},
      {"a record without its scenario grids", noScenarioGrids, target},
      {"a folder that does not exist", Record(5), dir.filePath(U("нет папки/книга.xlsx"))},
      {"a folder that is a file", Record(5), target + U("/книга.xlsx")},
      {"a name longer than the file system takes", Record(5), dir.filePath(QString(300, QChar(u'к')) + U(".xlsx"))},
  };
  for (const auto& c : cases) {
    const WorkbookWriteResult r = WriteResultWorkbook(*c.record, c.path);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_EQ(r.message, U("Ошибка в процессе записи файла!")) << c.what;
    EXPECT_FALSE(r.detail.isEmpty()) << c.what;
    EXPECT_EQ(Hash(target), before) << c.what;
    EXPECT_EQ(Entries(dir.path()), QStringList{U("книга.xlsx")}) << c.what;
  }
  // The target name taken by a folder: nothing replaces it, and no temporary file stays.
  const QString folderTarget = dir.filePath(U("папка.xlsx"));
  ASSERT_TRUE(QDir(dir.path()).mkdir(U("папка.xlsx")));
  EXPECT_FALSE(WriteResultWorkbook(*Record(5), folderTarget).ok);
  EXPECT_TRUE(QFileInfo(folderTarget).isDir());
  EXPECT_EQ(Entries(dir.path()), (QStringList{U("книга.xlsx"), U("папка.xlsx")}));
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

}  // namespace
}  // namespace velaron::output
