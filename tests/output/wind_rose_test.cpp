// The wind-rose workbook read back from its zip: the number texts under a Russian number locale,
// replacing and failing safely.
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
#include "russian_numbers.h"
#include "zip_reader.h"

using namespace velaron;
using velaron::test::ReadCells;
using velaron::test::ReadZip;

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

}  // namespace

namespace {

std::string Printed(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.16G", x);
  return buf;
}

}  // namespace

TEST(WindRoseWorkbook, NumbersKeepThePointUnderARussianNumberLocale) {
  test::RussianNumbers russian;
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
