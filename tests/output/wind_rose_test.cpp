// The wind-rose workbook read back from its zip: the sheet's cells and fonts, the embedded radar chart,
// the number texts under a Russian number locale, replacing and failing safely.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

#include "output/workbook/wind_rose.h"
#include "output/workbook/xlsx_book.h"
#include "scratch_db.h"
#include "zip_reader.h"

using namespace velaron;
using velaron::test::ReadCells;
using velaron::test::ReadZip;
using velaron::test::XlsxCell;

namespace {

const char* kSheet = "xl/worksheets/sheet1.xml";
const char* kChart = "xl/charts/chart1.xml";

// A town whose winter figures have fractions, so that a decimal separator must appear in the file.
db::WindRow Town(const QString& name = QStringLiteral("Самара")) {
  db::WindRow w;
  w.idCity = 7;
  w.CityName = name;
  w.winter = {12.5, 7, 3.25, 10, 20, 15, 20, 12.25, 4};
  w.summer = {18, 10, 6, 8, 14, 11, 16, 17, 9};
  w.Tmedium = 200;
  return w;
}

QString FileIn(const QTemporaryDir& dir) { return dir.filePath(QString::fromUtf8(output::kWindRoseFile)); }

// The folder's entries (to see that no temporary file is left behind).
QStringList Entries(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot);
}

// A formula with the sheet name's quotes removed ('Данные'!$B$2 and Данные!$B$2 are the same range).
QString Unquoted(QString f) { return f.remove(QLatin1Char('\'')); }

}  // namespace

TEST(WindRoseWorkbook, OneSheetHoldsTheTownTableWithBoldCaptionsAndARadarChartWithMarkers) {
  QTemporaryDir dir;
  const auto result = output::SaveWindRose(Town(), dir.path());
  ASSERT_TRUE(result.ok) << result.error.toStdString();
  EXPECT_EQ(result.path, FileIn(dir));
  const auto parts = ReadZip(FileIn(dir));
  const auto cells = ReadCells(parts, kSheet);
  ASSERT_FALSE(cells.empty());

  // Captions in bold 10 pt, as the table of the sheet lays them out.
  const std::map<QString, QString> captions = {
      {"A1", "Регион:"}, {"B1", "Самара"}, {"A2", "Ветер"}, {"B2", "С"},  {"C2", "СВ"}, {"D2", "В"},
      {"E2", "ЮВ"},      {"F2", "Ю"},      {"G2", "ЮЗ"},    {"H2", "З"},  {"I2", "СЗ"}, {"J2", "Штиль"},
      {"A3", "Зима"},    {"A4", "Лето"}};
  for (const auto& [ref, text] : captions) {
    const XlsxCell c = cells.count(ref) ? cells.at(ref) : XlsxCell{};
    EXPECT_EQ(c.text, text);
    EXPECT_TRUE(c.isString && c.bold && c.fontSize == 10.0) << ref.toStdString();
  }
  // The values: winter in row 3, summer in row 4, calm in column J; plain numbers in the default font.
  const auto town = Town();
  for (size_t i = 0; i < 9; ++i)
    for (int season = 0; season < 2; ++season) {
      const QString ref = QStringLiteral("BCDEFGHIJ")[int(i)] + QString::number(3 + season);
      const XlsxCell c = cells.count(ref) ? cells.at(ref) : XlsxCell{};
      EXPECT_TRUE(!c.isString && !c.bold && !c.rawNumber.isEmpty()) << ref.toStdString();
      EXPECT_DOUBLE_EQ(c.rawNumber.toDouble(), season == 0 ? town.winter[i] : town.summer[i]) << ref.toStdString();
    }
  // 12.5 and 3.25 written with a point (the XML number form), never a comma.
  EXPECT_EQ(cells.at("B3").rawNumber, "12.5");
  EXPECT_EQ(cells.at("D3").rawNumber, "3.25");

  ASSERT_TRUE(parts.count(kChart));

  // The workbook lists one sheet, "Данные", and holds no chart sheet.
  const auto sheetNames = test::AttributeValues(parts.at("xl/workbook.xml"), "sheet", "name");
  EXPECT_EQ(sheetNames, QStringList{"Данные"});
  for (const auto& [name, data] : parts) EXPECT_EQ(name.find("chartsheets"), std::string::npos) << name;

  // The chart is drawn on the sheet.
  EXPECT_NE(parts.at(kSheet).find("<drawing "), std::string::npos);
  ASSERT_TRUE(parts.count("xl/drawings/drawing1.xml"));

  const std::string& chart = parts.at(kChart);
  EXPECT_EQ(test::AttributeValues(chart, "c:radarChart", "").size(), 1u);
  EXPECT_EQ(test::AttributeValues(chart, "c:radarStyle", "val"), QStringList{"marker"});
  EXPECT_EQ(test::AttributeValues(chart, "c:ser", "").size(), 2u);

  // Series names: winter first, then summer.
  const QStringList names = test::ElementTexts(chart, "c:tx");
  ASSERT_EQ(names.size(), 2);
  EXPECT_TRUE(names[0].contains("Зима"));
  EXPECT_TRUE(names[1].contains("Лето"));

  // Ranges: the eight direction letters B2:I2 are the categories; rows 3 and 4 are the values; the calm
  // column J is in none of them.
  QStringList formulas;
  for (const QString& f : test::ElementTexts(chart, "c:f")) formulas << Unquoted(f);
  EXPECT_EQ(formulas, (QStringList{"Данные!$B$2:$I$2", "Данные!$B$3:$I$3", "Данные!$B$2:$I$2",
                                   "Данные!$B$4:$I$4"}));
  for (const QString& f : formulas) EXPECT_FALSE(f.contains("$J$"));

  // White plot area.
  const auto plot = chart.find("<c:plotArea>");
  ASSERT_NE(plot, std::string::npos);
  EXPECT_NE(chart.find("<a:srgbClr val=\"FFFFFF\"", plot), std::string::npos);
}

namespace {

// Switches LC_NUMERIC to Russian (decimal comma) for the test and back. When the system has no compiled
// Russian locale, one is compiled into a temporary folder from the system's locale sources, if present.
struct RussianNumbers {
  RussianNumbers() : previous(std::setlocale(LC_NUMERIC, nullptr)), hadLocPath(qEnvironmentVariableIsSet("LOCPATH")) {
    oldLocPath = qgetenv("LOCPATH");
    active = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
    if (active || !QFile::exists("/usr/share/i18n/locales/ru_RU") || !dir.isValid()) return;
    QProcess::execute("localedef", {"-i", "ru_RU", "-f", "UTF-8", dir.filePath("ru_RU.UTF-8")});
    qputenv("LOCPATH", dir.path().toLocal8Bit());
    active = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr;
  }
  ~RussianNumbers() {
    std::setlocale(LC_NUMERIC, previous.c_str());
    if (hadLocPath) qputenv("LOCPATH", oldLocPath);
    else qunsetenv("LOCPATH");
  }
  std::string previous;
  bool hadLocPath;
  QByteArray oldLocPath;
  QTemporaryDir dir;
  bool active = false;
};

std::string Printed(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.16G", x);
  return buf;
}

}  // namespace

TEST(WindRoseWorkbook, NumbersKeepThePointUnderARussianNumberLocale) {
  RussianNumbers russian;
  if (!russian.active) GTEST_SKIP() << "no Russian locale to be had; the point is checked in the sheet test";
  // The locale is in force: the C library itself now prints a comma.
  ASSERT_EQ(Printed(12.5), "12,5");
  {
    output::CNumericLocale guard;
    EXPECT_EQ(Printed(12.5), "12.5");
  }
  EXPECT_EQ(Printed(12.5), "12,5");  // the guard gave the locale back

  QTemporaryDir dir;
  ASSERT_TRUE(output::SaveWindRose(Town(), dir.path()).ok);
  const auto parts = ReadZip(FileIn(dir));
  ASSERT_FALSE(parts.empty()) << "the workbook is not a readable zip";
  const auto cells = ReadCells(parts, kSheet);
  EXPECT_EQ(cells.at("B3").rawNumber, "12.5");
  EXPECT_EQ(cells.at("I3").rawNumber, "12.25");
  // No number anywhere in the sheet or in the chart's cached values carries a comma.
  for (const QString& v : test::ElementTexts(parts.at(kSheet), "v")) EXPECT_FALSE(v.contains(',')) << v.toStdString();
  const QStringList cached = test::ElementTexts(parts.at(kChart), "c:v");
  EXPECT_FALSE(cached.isEmpty());
  for (const QString& v : cached) EXPECT_FALSE(v.contains(',')) << v.toStdString();
  EXPECT_TRUE(cached.contains("3.25"));
}

TEST(WindRoseWorkbook, ASecondBuildReplacesTheFileAndFailuresLeaveNoTemporaryFile) {
  QTemporaryDir dir;
  const QStringList justTheBook = {QString::fromUtf8(output::kWindRoseFile)};
  ASSERT_TRUE(output::SaveWindRose(Town("Первый"), dir.path()).ok);
  ASSERT_TRUE(output::SaveWindRose(Town("Второй"), dir.path()).ok);
  EXPECT_EQ(ReadCells(ReadZip(FileIn(dir)), kSheet).at("B1").text, "Второй");
  EXPECT_EQ(Entries(dir), justTheBook);

  // A folder that does not exist.
  const auto missing = output::SaveWindRose(Town(), dir.filePath("нет такой папки"));
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.error.isEmpty());
  // The target name taken by a folder: the rename fails, the temporary file goes.
  ASSERT_TRUE(QFile::remove(FileIn(dir)));
  ASSERT_TRUE(QDir(dir.path()).mkdir(justTheBook[0]));
  EXPECT_FALSE(output::SaveWindRose(Town(), dir.path()).ok);
  EXPECT_EQ(Entries(dir), justTheBook);
  EXPECT_TRUE(QFileInfo(FileIn(dir)).isDir());
}

TEST(XlsxBook, AFailedBookLeavesTheEarlierFileAsItWas) {
  QTemporaryDir dir;
  const QString target = dir.filePath("книга.xlsx");
  {
    output::XlsxBook first(target);
    lxw_worksheet* sheet = first.AddSheet("Лист");
    first.WriteString(sheet, 0, 0, "первая");
    ASSERT_TRUE(first.Commit()) << first.error().toStdString();
  }
  auto bytes = [&target] {
    QFile f(target);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  const QByteArray before = bytes();
  ASSERT_FALSE(before.isEmpty());
  {
    // A sheet name with a character that sheet names may not hold: the book fails, nothing is renamed.
    output::XlsxBook second(target);
    lxw_worksheet* bad = second.AddSheet("Лист[1]");
    EXPECT_EQ(bad, nullptr);
    EXPECT_FALSE(second.WriteString(bad, 0, 0, "вторая"));
    EXPECT_FALSE(second.Commit());
    EXPECT_FALSE(second.error().isEmpty());
  }
  {
    // A failure the caller records itself, and a book dropped without Commit.
    output::XlsxBook third(target);
    third.WriteString(third.AddSheet("Лист"), 0, 0, "третья");
    third.Fail("проверка");
    EXPECT_FALSE(third.Commit());
    EXPECT_EQ(third.error(), "проверка");
    output::XlsxBook dropped(target);
    dropped.WriteString(dropped.AddSheet("Лист"), 0, 0, "четвёртая");
  }
  {
    // A number with no text in the file format (NaN, infinity) fails the book rather than corrupting it.
    output::XlsxBook fifth(target);
    lxw_worksheet* sheet = fifth.AddSheet("Лист");
    EXPECT_TRUE(fifth.WriteNumber(sheet, 0, 0, 1.5));
    EXPECT_FALSE(fifth.WriteNumber(sheet, 0, 1, std::nan("")));
    EXPECT_FALSE(fifth.WriteNumber(sheet, 0, 2, HUGE_VAL));
    EXPECT_FALSE(fifth.Commit());
  }
  EXPECT_EQ(bytes(), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"книга.xlsx"});
  EXPECT_EQ(ReadCells(ReadZip(target), kSheet).at("A1").text, "первая");
}

TEST(WindRoseWorkbook, ATownKeyIsReadFromTheDatabase) {
  test::ScratchDatabase data;
  ASSERT_TRUE(data.error().isEmpty()) << data.error().toStdString();
  // Town 42: winter N1 = 30, calm ST1 = 5, summer N2 = 25, calm ST2 = 6.
  ASSERT_TRUE(data.Exec("INSERT INTO Wind (idCity, CityName, N1, ST1, N2, ST2, Tmedium) "
                        "VALUES (42, 'Тверь', 30, 5, 25, 6, 190)"));
  QTemporaryDir dir;
  const auto result = output::SaveWindRose(42, dir.path());
  ASSERT_TRUE(result.ok) << result.error.toStdString();
  const auto cells = ReadCells(ReadZip(FileIn(dir)), kSheet);
  EXPECT_EQ(cells.at("B1").text, "Тверь");
  EXPECT_DOUBLE_EQ(cells.at("B3").rawNumber.toDouble(), 30);
  EXPECT_DOUBLE_EQ(cells.at("J4").rawNumber.toDouble(), 6);

  // A key with no row, and the "nothing chosen" key 0: a failure and no file.
  QTemporaryDir empty;
  EXPECT_FALSE(output::SaveWindRose(43, empty.path()).ok);
  EXPECT_FALSE(output::SaveWindRose(0, empty.path()).ok);
  EXPECT_TRUE(Entries(empty).isEmpty());
}
