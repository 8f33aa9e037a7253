#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <set>

#include "output/report/docx_writer.h"
#include "zip_reader.h"

using namespace velaron::report;
using namespace velaron::test;

namespace {

// A small document with every kind of block the reports use.
Document Sample() {
  Document d;
  d.Step(12, Align::Center, true);
  d.Append("Аварийный сценарий \"Физический взрыв\" при <гильотинном> & разрушении\r\n");
  d.Step(14, Align::Left, true);
  d.Append("Исходные данные\r\n");
  d.Step(12, Align::Left, false);
  d.Append("Шаг сетки, м   10\r\n           эрозия почвы \r\n");
  d.Step(12, Align::Center, false);
  QImage img(200, 100, QImage::Format_RGB32);
  img.fill(Qt::blue);
  d.AppendPicture(img);
  d.Append("\r\nРис. ___ Зонирование (шаг сетки -  10 м)\r\n");
  d.SelectLast();
  d.SetBold(false);
  d.SetSize(10);
  Table& wave = d.AddTable(2, 8);
  wave.Append(1, 1, "Давление, кгс/кв.см");
  wave.SetFixedWidths({100, 50});
  d.Step(12, Align::Center, false);
  d.Append("\r\nТаблица __ по направлениям\r\n");
  Table& dir = d.AddTable(10, 10);
  for (int r = 1; r <= 9; r += 2) dir.MergeCells(r, 1, r + 1, 1);
  dir.MergeCells(1, 2, 2, 2);
  dir.MergeCells(1, 3, 1, 10);
  dir.Append(1, 1, "Характеристика опасных зон");
  dir.Append(1, 3, "Направление");
  dir.Append(3, 1, "Зона 1");
  dir.Append(4, 2, "лето");
  dir.Append(10, 10, "-1");
  dir.SetFillWeights({3, 1.4, 1});
  d.AppendPicture(img);  // a second picture after the table
  return d;
}

}  // namespace

TEST(DocxWriter, TablesRebuildTheirGridFromSpansAndVerticalMerges) {
  const DocxBody body = ReadDocxBody(DocxParts(Sample()).at("word/document.xml"));
  ASSERT_EQ(body.tables.size(), 2u);
  const DocxTable& wave = body.tables[0];
  EXPECT_EQ(wave.rows(), 2);
  ASSERT_EQ(wave.cols(), 8);
  EXPECT_EQ(wave.gridCols[0], 2000);  // 100 pt
  EXPECT_EQ(wave.gridCols[7], 1000);  // 50 pt
  EXPECT_EQ(wave.text[0][0], "Давление, кгс/кв.см");
  for (const auto& cp : wave.cellParagraphs) EXPECT_EQ(cp.size, 10);  // the table's paragraph was set to 10
  for (const char* side : {"top", "left", "bottom", "right"}) EXPECT_EQ(wave.borderSizes.at(side), 12) << side;
  EXPECT_EQ(wave.borderSizes.at("insideH"), 8);
  EXPECT_EQ(wave.borderSizes.at("insideV"), 8);

  const DocxTable& dir = body.tables[1];
  ASSERT_EQ(dir.rows(), 10);
  ASSERT_EQ(dir.cols(), 10);
  EXPECT_EQ(dir.text[0][0], "Характеристика опасных зон");
  EXPECT_EQ(dir.anchor[1][0], (std::pair{0, 0}));  // rows 1-2 of column 1 are one cell
  EXPECT_EQ(dir.anchor[3][0], (std::pair{2, 0}));
  EXPECT_EQ(dir.text[2][0], "Зона 1");
  EXPECT_EQ(dir.anchor[1][1], (std::pair{0, 1}));
  for (int c = 2; c < 10; ++c) EXPECT_EQ(dir.anchor[0][c], (std::pair{0, 2}));
  EXPECT_EQ(dir.text[0][2], "Направление");
  EXPECT_EQ(dir.anchor[1][5], (std::pair{1, 5}));  // the direction labels' row is not merged
  EXPECT_EQ(dir.text[3][1], "лето");
  EXPECT_EQ(dir.text[9][9], "-1");
  // Filling weights share the text width (538.5 pt = 10770 twips, within rounding).
  long sum = 0;
  for (long w : dir.gridCols) sum += w;
  EXPECT_NEAR(sum, 10770, 10);
  EXPECT_GT(dir.gridCols[0], dir.gridCols[1]);
  EXPECT_GT(dir.gridCols[1], dir.gridCols[2]);
  // The cells take the formatting of the caption's paragraph: 12 pt, centred, not bold.
  EXPECT_EQ(dir.cellParagraphs[0].size, 12);
  EXPECT_EQ(dir.cellParagraphs[0].align, "center");
}

// Page flow: each table's header row comes again on the next page, no row splits, the rows of a table
// keep together, and a picture keeps with its caption; widow and orphan control for every paragraph.
TEST(DocxWriter, TablesAndPicturesKeepTogetherOverPageEnds) {
  const auto parts = DocxParts(Sample());
  const std::string& xml = parts.at("word/document.xml");
  const auto count = [&xml](const QString& what) { return QString::fromStdString(xml).count(what); };
  EXPECT_EQ(count("<w:tr><w:trPr><w:cantSplit/><w:tblHeader/></w:trPr>"), 2);  // the first row of each table
  EXPECT_EQ(count("<w:cantSplit/>"), 12);                                      // all 2 + 10 rows
  // The cells of every row but the last (the first row of the wave table: 8; rows 1 to 9 of the other, where
  // row 1 holds 3 cells: 83) and both picture paragraphs.
  EXPECT_EQ(count("<w:keepNext/>"), 8 + 83 + 2);
  EXPECT_NE(parts.at("word/styles.xml").find("<w:widowControl/>"), std::string::npos);
}

// The body ends with a paragraph before the section's page set-up.
TEST(DocxWriter, TheBodyEndsWithAParagraphAndPicturesFillTheTextWidth) {
  const auto parts = DocxParts(Sample());
  EXPECT_TRUE(ReadDocxBody(parts.at("word/document.xml")).endsWithParagraphThenSection);
  // Pictures fill the text width with their aspect: 538.5 pt = 6838950 EMU, half as high.
  const std::string& xml = parts.at("word/document.xml");
  EXPECT_EQ(AttributeValues(xml, "wp:extent", "cx").value(0), "6838950");
  EXPECT_EQ(AttributeValues(xml, "wp:extent", "cy").value(0), "3419475");
}

// A failed write says why (the closing's tests see an earlier file kept, the driver's a long name written).
TEST(DocxWriter, AFailedWriteSaysWhy) {
  QTemporaryDir dir;
  const QString noFolder = dir.filePath("нет/такой/папки.docx");
  EXPECT_EQ(WriteDocx(Sample(), noFolder), "Не удалось записать файл " + noFolder + ": нет такой папки");
  EXPECT_TRUE(WriteDocx(Sample(), dir.path()).endsWith(": по этому пути находится папка"));
}
