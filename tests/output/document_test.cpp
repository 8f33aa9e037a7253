#include <gtest/gtest.h>

#include <QImage>

#include "output/report/document.h"

using namespace velaron::report;

namespace {

std::vector<const Paragraph*> Paras(const Document& d) { return d.paragraphs(); }

}  // namespace

TEST(Document, ParagraphsCarryTheFormatOfTheOneBeforeUnlessAStepSetsIt) {
  Document d;
  d.Step(14, Align::Center, true);
  d.Append("Заголовок\r\nвторая строка\r\n");
  d.Step(12);  // size only: alignment and bold carry over
  d.Append("третья\r\n");
  d.Step(12, Align::Left, false);
  d.Append("  два  пробела  \r\n");
  const auto p = Paras(d);
  ASSERT_EQ(p.size(), 5u);  // four lines and the empty paragraph that ends the document
  EXPECT_EQ(p[0]->text(), "Заголовок");
  EXPECT_EQ(p[1]->format, (Format{14, true, Align::Center}));
  EXPECT_EQ(p[2]->text(), "третья");
  EXPECT_EQ(p[2]->format, (Format{12, true, Align::Center}));
  EXPECT_EQ(p[3]->text(), "  два  пробела  ");
  EXPECT_EQ(p[3]->format, (Format{12, false, Align::Left}));
  EXPECT_TRUE(p[4]->empty());
  EXPECT_EQ(p[4]->format, p[3]->format);
}

TEST(Document, TextJoinsItsParagraphUntilALineEnd) {
  Document d;
  d.Append("Длительность расчета, мин.");
  d.Append("3");
  d.Append("\r\n\r\nконец\nи\rещё");
  const auto p = Paras(d);
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(p[0]->text(), "Длительность расчета, мин.3");
  EXPECT_EQ(p[0]->items.size(), 1u);
  EXPECT_TRUE(p[1]->empty());
  EXPECT_EQ(p[2]->text(), "конец");
  EXPECT_EQ(p[4]->text(), "ещё");
}

TEST(Document, SettingBoldOrSizeCoversEveryParagraphOfTheCurrentStep) {
  Document d;
  d.Step(12, Align::Left, true);
  d.Append("a\r\n");
  d.Step(12, std::nullopt, std::nullopt);
  d.Append("b\r\nc\r\n");
  d.SetBold(false);
  const auto p = Paras(d);
  EXPECT_TRUE(p[0]->format.bold);  // before the step: untouched
  EXPECT_FALSE(p[1]->format.bold);
  EXPECT_FALSE(p[2]->format.bold);
  EXPECT_FALSE(p[3]->format.bold);
}

TEST(Document, TableTakesTheFormatOfItsParagraphWhichStaysAfterIt) {
  Document d;
  d.Step(12, Align::Center, false);
  d.Append("\r\nЗаголовок таблицы\r\n");
  d.SelectLast();
  d.SetSize(10);  // the empty last paragraph only; the title keeps 12
  Table& t = d.AddTable(2, 3);
  t.Append(1, 1, "x");
  EXPECT_EQ(t.format(), (Format{10, false, Align::Center}));
  ASSERT_EQ(d.blocks().size(), 4u);  // empty line, title, table, the paragraph after it
  EXPECT_EQ(std::get<Paragraph>(d.blocks()[1]).format.size, 12);
  EXPECT_TRUE(std::holds_alternative<Table>(d.blocks()[2]));
  const auto& after = std::get<Paragraph>(d.blocks().back());
  EXPECT_TRUE(after.empty());
  EXPECT_EQ(after.format, t.format());

  // A table put after text that has no line end starts below it: the text's paragraph is ended first.
  Document e;
  e.Append("без конца строки");
  e.AddTable(1, 1);
  ASSERT_EQ(e.blocks().size(), 3u);
  EXPECT_EQ(std::get<Paragraph>(e.blocks()[0]).text(), "без конца строки");
  EXPECT_TRUE(std::holds_alternative<Table>(e.blocks()[1]));
}

TEST(Document, TablesHandedOutStayValidWhileTheDocumentGrows) {
  Document d;
  Table& first = d.AddTable(1, 1);
  for (int i = 0; i < 200; ++i) d.Append("строка\r\n");
  Table& second = d.AddTable(1, 1);
  first.Append(1, 1, "первая");
  second.Append(1, 1, "вторая");
  ASSERT_EQ(d.tables().size(), 2u);
  EXPECT_EQ(d.tables()[0]->text(1, 1), "первая");
  EXPECT_EQ(d.tables()[1]->text(1, 1), "вторая");
}

TEST(Table, MergedRectanglesKeepTheirTextInTheTopLeftCell) {
  Table t(10, 10, Format{});
  t.Append(2, 1, "под");  // joined later into (1,1)
  t.MergeCells(1, 1, 2, 1);
  t.Append(2, 1, "+");  // a covered cell writes into the rectangle's cell
  t.MergeCells(1, 3, 1, 10);
  t.Append(1, 3, "Направление");
  EXPECT_EQ(t.text(1, 1), "под+");
  EXPECT_EQ(t.text(2, 1), "под+");
  EXPECT_EQ(t.text(1, 7), "Направление");
  const Merge m = t.SpanOf(1, 10);
  EXPECT_EQ((std::array{m.row1, m.col1, m.row2, m.col2}), (std::array{1, 3, 1, 10}));
  EXPECT_EQ(t.SpanOf(5, 5).col2, 5);  // a cell alone

  // A merge that overlaps an earlier one joins with it into one rectangle.
  t.MergeCells(1, 2, 2, 3);
  EXPECT_EQ(t.merges().size(), 2u);
  const Merge grown = t.SpanOf(2, 2);
  EXPECT_EQ((std::array{grown.row1, grown.col1, grown.row2, grown.col2}), (std::array{1, 2, 2, 10}));
  // Outside the table: nothing happens.
  t.MergeCells(0, 1, 11, 1);
  t.Append(11, 1, "x");
  EXPECT_EQ(t.merges().size(), 2u);
}

TEST(Table, ColumnWidthsFixedOrFillingTheTextWidth) {
  Table t(2, 8, Format{});
  EXPECT_DOUBLE_EQ(t.ColumnWidths(540)[7], 540.0 / 8);
  t.SetFixedWidths({100, 50});  // the rest take the last width given
  const auto fixed = t.ColumnWidths(540);
  EXPECT_DOUBLE_EQ(fixed[0], 100);
  EXPECT_DOUBLE_EQ(fixed[1], 50);
  EXPECT_DOUBLE_EQ(fixed[7], 50);
  t.SetFillWeights({3, 1});
  const auto fill = t.ColumnWidths(500);
  EXPECT_DOUBLE_EQ(fill[0], 150);
  EXPECT_DOUBLE_EQ(fill[1], 50);
  double sum = 0;
  for (double w : fill) sum += w;
  EXPECT_DOUBLE_EQ(sum, 500);
}

TEST(Document, PicturesGoInlineAndAMissingOneAddsNothing) {
  Document d;
  d.Step(12, Align::Center, false);
  EXPECT_FALSE(d.AppendPicture(QImage()));
  QImage img(40, 20, QImage::Format_RGB32);
  img.fill(Qt::red);
  EXPECT_TRUE(d.AppendPicture(img));
  d.Append("\r\nРис. ___ подпись\r\n");
  ASSERT_EQ(d.pictures().size(), 1u);
  EXPECT_TRUE(d.pictures()[0].png.startsWith("\x89PNG"));
  EXPECT_EQ(d.pictures()[0].widthPx, 40);
  const auto p = Paras(d);
  ASSERT_EQ(p.size(), 3u);
  ASSERT_EQ(p[0]->items.size(), 1u);
  EXPECT_EQ(p[0]->items[0].picture, 0);
  EXPECT_EQ(p[0]->format.align, Align::Center);
  EXPECT_EQ(p[1]->text(), "Рис. ___ подпись");
}
