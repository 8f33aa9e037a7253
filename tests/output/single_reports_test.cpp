#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include "common/qt_text.h"
#include "output/report/docx_writer.h"
#include "output/report/report_blocks.h"
#include "output/report/single_reports.h"
#include "report_sample.h"
#include "zip_reader.h"

using namespace velaron;
using namespace velaron::report;
using velaron::test::SampleReportInput;

namespace {

Document Build(const ReportInput& in) {
  auto doc = BuildSingleReport(in);
  EXPECT_TRUE(doc.has_value());
  return doc ? *doc : Document{};
}

QStringList Lines(const Document& d) {
  QStringList out;
  for (const auto* p : d.paragraphs()) out << p->text();
  return out;
}

const Paragraph* Find(const Document& d, const QString& text) {
  for (const auto* p : d.paragraphs())
    if (p->text() == text) return p;
  return nullptr;
}

// Lines that start with `prefix`.
QStringList Starting(const Document& d, const QString& prefix) {
  QStringList out;
  for (const QString& l : Lines(d))
    if (l.startsWith(prefix)) out << l;
  return out;
}

struct TableShape {
  int rows, cols;
  bool operator==(const TableShape&) const = default;
};

std::vector<TableShape> Shapes(const Document& d) {
  std::vector<TableShape> out;
  for (const auto* t : d.tables()) out.push_back({t->rows(), t->cols()});
  return out;
}

}  // namespace

// Each code's report: its recipe's title first, the headings, its tables, five pictures each with its
// caption, the weather note of the jet fires.
TEST(SingleReports, EachCodeHasItsTitleHeadingTablesAndCaptions) {
  struct Case {
    int code;
    double inputHeadingSize;
    std::vector<TableShape> tables;
  };
  const std::vector<Case> cases = {{2, 14, {{2, 8}, {6, 2}}}, {3, 12, {{6, 9}, {6, 2}}}, {4, 12, {{6, 9}, {6, 2}}},
                                   {5, 12, {{6, 9}, {6, 2}}}, {6, 12, {{6, 2}}},         {8, 12, {{2, 8}, {6, 2}}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const Document d = Build(SampleReportInput(c.code));
    const auto paras = d.paragraphs();
    ASSERT_GT(paras.size(), 3u);
    // No warning: the title comes first, 12 pt, centred, bold.
    EXPECT_EQ(paras[0]->text(), U(SingleRecipeOf(*result::ScenarioOf(c.code))->title));
    EXPECT_EQ(paras[0]->format, (Format{12, true, Align::Center}));
    const Paragraph* heading = Find(d, U("Исходные данные"));
    ASSERT_TRUE(heading);
    EXPECT_EQ(heading->format, (Format{c.inputHeadingSize, true, Align::Left}));
    const Paragraph* results = Find(d, U("Результаты расчета"));
    ASSERT_TRUE(results);
    EXPECT_EQ(results->format, (Format{14, true, Align::Left}));
    EXPECT_EQ(Shapes(d), c.tables);
    // Five captions, each with the grid step, centred under its picture.
    const QStringList captions = Starting(d, U("Рис. "));
    ASSERT_EQ(captions.size(), 5);
    for (const QString& caption : captions) {
      EXPECT_TRUE(caption.endsWith(U(" 20 м)"))) << caption.toStdString();
      EXPECT_EQ(Find(d, caption)->format, (Format{12, false, Align::Center}));
    }
    EXPECT_EQ(d.pictures().size(), 5u);
    EXPECT_EQ(Lines(d).contains(U("В расчете сценария приняты следующие метеоданнные:")), c.code >= 3 && c.code <= 5);
  }
}

TEST(SingleReports, ZoneTableRefinesMissingRadiiAndMarksTheSafeZone) {
  ReportInput in = SampleReportInput(6);
  in.zones.CurZones() = {-1, 120, 153.25, 200};
  auto zone = [](const Document& d) { return d.tables().back(); };
  Document d = Build(in);
  const Table* t = zone(d);
  EXPECT_EQ(t->text(1, 1), U("Характеристика опасных зон"));
  EXPECT_EQ(t->text(1, 2), U("Расстояние от газопровода, м"));
  const QStringList col2 = {t->text(2, 2), t->text(3, 2), t->text(4, 2), t->text(5, 2), t->text(6, 2)};
  EXPECT_EQ(col2, (QStringList{U("уточнить"), U("120"), U("153,25"), U("200"), U(">200")}));
  EXPECT_EQ(t->text(6, 1), U("Зона безопасности, Рпор<=1%"));
  // The cells take the title's paragraph: 12 pt, centred, not bold.
  EXPECT_EQ(t->format(), (Format{12, false, Align::Center}));
}

TEST(SingleReports, CodesWithoutASingleReportBuildNothing) {
  for (int code : {1, 7}) EXPECT_FALSE(BuildSingleReport(SampleReportInput(code))) << code;
}

// The page of every report, read back from the written file: A4 portrait (210 × 297 mm, 595.3 × 841.9 pt,
// 11906 × 16838 twentieths of a point, the width the smaller and no landscape turn), margins left and right
// 28.4 pt (568) and top and bottom 42.6 pt (852); the document's default type Times New Roman 12 pt (24
// half points) in every script, single line spacing (240 of 240) and no space after a paragraph; and no run
// with a font of its own, so that the default is the type of every line.
TEST(SingleReports, EveryReportIsA4PortraitWithItsMarginsInTimesNewRoman12) {
  QTemporaryDir dir;
  for (int code : {2, 3, 4, 5, 6, 8}) {
    SCOPED_TRACE(code);
    const QString path = dir.filePath(QStringLiteral("report%1.docx").arg(code));
    ASSERT_EQ(WriteDocx(Build(SampleReportInput(code)), path), QString());
    const test::Parts parts = test::ReadZip(path);
    ASSERT_EQ(parts.count("word/document.xml"), 1u);
    ASSERT_EQ(parts.count("word/styles.xml"), 1u);
    const std::string& document = parts.at("word/document.xml");
    const test::DocxBody body = test::ReadDocxBody(document);
    const std::map<QString, long> page = {{"w", 11906},   {"h", 16838}, {"left", 568},
                                          {"right", 568}, {"top", 852}, {"bottom", 852}};
    EXPECT_EQ(body.page, page);
    for (const QString& orient : test::AttributeValues(document, QStringLiteral("w:pgSz"), QStringLiteral("w:orient")))
      EXPECT_TRUE(orient.isEmpty() || orient == "portrait") << orient.toStdString();
    EXPECT_TRUE(test::ElementTexts(document, QStringLiteral("w:rFonts")).isEmpty());

    const std::string& styles = parts.at("word/styles.xml");
    for (const char* script : {"w:ascii", "w:hAnsi", "w:cs", "w:eastAsia"})
      EXPECT_EQ(test::AttributeValues(styles, QStringLiteral("w:rFonts"), QString::fromLatin1(script)),
                QStringList{QStringLiteral("Times New Roman")})
          << script;
    // The default run size comes first (the document defaults open the styles); no style sets another.
    const QStringList sizes = test::AttributeValues(styles, QStringLiteral("w:sz"), QStringLiteral("w:val"));
    EXPECT_EQ(sizes, QStringList{QStringLiteral("24")});
    EXPECT_EQ(test::AttributeValues(styles, QStringLiteral("w:szCs"), QStringLiteral("w:val")),
              QStringList{QStringLiteral("24")});
    EXPECT_EQ(test::AttributeValues(styles, QStringLiteral("w:spacing"), QStringLiteral("w:after")),
              QStringList{QStringLiteral("0")});
    EXPECT_EQ(test::AttributeValues(styles, QStringLiteral("w:spacing"), QStringLiteral("w:line")),
              QStringList{QStringLiteral("240")});
    EXPECT_EQ(test::AttributeValues(styles, QStringLiteral("w:spacing"), QStringLiteral("w:lineRule")),
              QStringList{QStringLiteral("auto")});
  }
}
