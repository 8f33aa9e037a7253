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
