// The workbook file behind every written .xlsx: a failed book leaves the earlier file as it was.
#include <QDir>
#include <QFile>
#include <cmath>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "output/workbook/xlsx_book.h"
#include "zip_reader.h"

using namespace velaron;
using velaron::test::ReadCells;
using velaron::test::ReadZip;

namespace {
const char* kSheet = "xl/worksheets/sheet1.xml";
}  // namespace

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
