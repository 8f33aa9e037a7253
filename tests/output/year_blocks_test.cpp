// The wind block and the year-round zone table of the year-round reports: on the document model and read
// back from the written .docx, cell by cell against the layouts the reports must show.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <functional>
#include <numeric>

#include "output/report/report_blocks.h"
#include "output/report/text_width.h"
#include "output/report/wind_block.h"
#include "output/report/year_zone_table.h"

using namespace velaron;
using namespace velaron::report;

namespace {

// A town with a different number in every cell of its wind table.
db::WindRow Town() {
  db::WindRow t;
  t.idCity = 7;
  t.CityName = QStringLiteral("Нижний Новгород");
  t.winter = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  t.summer = {11, 12, 13, 14, 15, 16, 17, 18, 19.5};
  t.speedWinter = {0.25, 1.25, 2.25, 3.25, 4.25, 5.25, 6.25, 7.25, 0};
  t.speedSummer = {0.5, 1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 9.75};
  t.Tmedium = 182;
  return t;
}

// Expected grids: a text is the cell's own; "<" continues the merged cell on its left, "^" the one above.
using Grid = std::vector<std::vector<QString>>;

// The wind table as the report shows it, worked from the town above.
const Grid kWindGrid = {
    {"Направление ветра", "Процент повторяемости", "<", "Средняя скорость ветра, м/с", "<"},
    {"^", "Зима", "Лето", "Зима", "Лето"},
    {"Северный", "1", "11", "0,25", "0,5"},
    {"Северо -восточный", "2", "12", "1,25", "1,5"},
    {"Восточный", "3", "13", "2,25", "2,5"},
    {"Юго -восточный", "4", "14", "3,25", "3,5"},
    {"Южный", "5", "15", "4,25", "4,5"},
    {"Юго -западный", "6", "16", "5,25", "5,5"},
    {"Западный", "7", "17", "6,25", "6,5"},
    {"Северо -западный", "8", "18", "7,25", "7,5"},
    {"Штиль", "9", "19,5", "0", "9,75"},
};

// Radii 10·kind + zone + 0.5, except two zones that were not found; combined 12.25, not found, 30, 40.75.
models::ZoneTables Zones() {
  models::ZoneTables z;
  for (int k = 1; k <= 9; ++k)
    for (int zone = 1; zone <= 4; ++zone) z.ZoneR(models::KindOf(k))(zone) = 10 * k + zone + 0.5;
  z.ZoneR(models::ScenarioKind::SymmetricSummer)(2) = -1;
  z.ZoneR(models::ScenarioKind::Asymmetric)(4) = -1;  // and so its safe zone
  z.CurZones() = {12.25, -1, 30, 40.75};
  return z;
}

result::Probabilities Probabilities() {
  result::Probabilities p;
  p.PRupture = 0.002;
  p.PIgnition = 0.5;
  p.Pkw = 0.01;
  p.Pks = 0.2;
  p.Psw = 0.3;
  p.Pss = 0.4;
  p.Paw = 0.25;
  p.Pas = 0.75;  // the summer asymmetric share: no column reads it
  p.PFireBall = 3e-5;
  p.PGPVS = 4e-6;
  p.PKotlTorch = 0.9;  // the season's jet probabilities are not the table's
  return p;
}

// The jet tables' rows 3 to 8 by hand: PRupture·PIgnition = 0.001 times each share.
const std::vector<QString> kLabels = {"Зона безусловного поражения, Рпор>99%",
                                      "Зона возможно сильных поражений, 50%<Рпор<=99%",
                                      "Зона возможно средних поражений, 33%<Рпор<=50%",
                                      "Зона возможно слабых поражений, 1%<Рпор<=33%",
                                      "Зона безопасности, Рпор<=1%",
                                      "Вероятность возникновения в течение года"};
// Body columns of each scenario kind, rows 3..8.
const std::map<int, std::vector<QString>> kKindColumn = {
    {1, {"11,5", "12,5", "13,5", "14,5", ">14,5", "1E-05"}},
    {2, {"21,5", "22,5", "23,5", "24,5", ">24,5", "0,0002"}},
    {3, {"31,5", "32,5", "33,5", "34,5", ">34,5", "0,0003"}},
    {4, {"41,5", "уточнить", "43,5", "44,5", ">44,5", "0,0004"}},
    {5, {"51,5", "52,5", "53,5", "уточнить", "уточнить", "0,00025"}},
    {6, {"61,5", "62,5", "63,5", "64,5", ">64,5", "3E-05"}},
    {7, {"71,5", "72,5", "73,5", "74,5", ">74,5", "0,002"}},
    {8, {"81,5", "82,5", "83,5", "84,5", ">84,5", "4E-06"}},
};
const std::vector<QString> kCombined = {"12,25", "уточнить", "30", "40,75", ">40,75", ""};

Grid ZoneGrid(const std::vector<QString>& head1, const std::vector<QString>& head2, const std::vector<int>& kinds) {
  Grid g = {head1, head2};
  for (size_t r = 0; r < kLabels.size(); ++r) {
    std::vector<QString> row = {kLabels[r]};
    for (int k : kinds) row.push_back(kKindColumn.at(k)[r]);
    row.push_back(kCombined[r]);
    g.push_back(row);
  }
  return g;
}

const Grid kJetsGrid =
    ZoneGrid({"Вид аварийного сценария", "Котлованный факел", "<", "Симметричный факел", "<", "Ассиметричный факел",
              "Комплексная оценка опасных зон"},
             {"Характеристика опасных зон", "Зима", "Лето", "Зима", "Лето", "^", "^"}, {1, 2, 3, 4, 5});

const Grid kComplexGrid = ZoneGrid(
    {"Вид аварийного сценария", "Физический взрыв", "Огневой шар", "Горение ГПВС", "Котлованный факел", "<",
     "Симметричный факел", "<", "Ассиметричный факел", "Комплексная оценка опасных зон"},
    {"Характеристика опасных зон", "^", "^", "^", "Зима", "Лето", "Зима", "Лето", "^", "^"}, {7, 6, 8, 1, 2, 3, 4, 5});

// Compares a table of the document model (1-based cells) with an expected grid.
void ExpectGrid(const Table& t, const Grid& want) {
  ASSERT_EQ(t.rows(), int(want.size()));
  ASSERT_EQ(t.cols(), int(want[0].size()));
  for (int r = 1; r <= t.rows(); ++r)
    for (int c = 1; c <= t.cols(); ++c) {
      const QString& w = want[size_t(r - 1)][size_t(c - 1)];
      SCOPED_TRACE(testing::Message() << "row " << r << ", column " << c);
      const Merge m = t.SpanOf(r, c);
      if (w == "<") EXPECT_EQ(m.col1, t.SpanOf(r, c - 1).col1);
      else if (w == "^") EXPECT_EQ(m.row1, t.SpanOf(r - 1, c).row1);
      else {
        EXPECT_EQ(m.row1, r);
        EXPECT_EQ(m.col1, c);
        EXPECT_EQ(t.text(r, c).toStdString(), w.toStdString());
      }
    }
}

std::vector<QString> Texts(const Document& d) {
  std::vector<QString> out;
  for (const Paragraph* p : d.paragraphs()) out.push_back(p->text());
  return out;
}

}  // namespace

TEST(WindBlock, CaptionTableAndDaysLineWithTheTownsValues) {
  Document d;
  WriteWindBlock(d, Town());
  const auto texts = Texts(d);
  // An empty line, the caption, (the table), the days line, an empty line, the empty end.
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0], "");
  EXPECT_EQ(texts[1], "Таблица ___ Сезонные характеристики ветра в районе населенного пункта -Нижний Новгород");
  EXPECT_EQ(texts[2], "Количество дней в году со среднесуточной температурой > 0   182");
  EXPECT_EQ(texts[3], "");
  EXPECT_EQ(texts[4], "");
  for (const Paragraph* p : d.paragraphs()) EXPECT_EQ(p->format, (Format{12, false, Align::Left}));
  ASSERT_EQ(d.tables().size(), 1u);
  const Table& t = *d.tables()[0];
  EXPECT_EQ(t.format(), (Format{12, false, Align::Left}));  // the caption's paragraph, no size of its own
  ExpectGrid(t, kWindGrid);
}

TEST(YearZoneTable, BothFormsOnTheModel) {
  const std::pair<YearTableForm, const Grid*> cases[] = {{YearTableForm::Jets, &kJetsGrid},
                                                         {YearTableForm::Complex, &kComplexGrid}};
  for (const auto& [form, grid] : cases) {
    SCOPED_TRACE(form == YearTableForm::Jets);
    Document d;
    d.Step(12, Align::Left, true);  // whatever stood before: the caption sets its own format
    d.Append("предыдущая строка\r\n");
    WriteYearZoneTable(d, form, Zones(), Probabilities());
    const auto texts = Texts(d);
    ASSERT_GE(texts.size(), 4u);
    EXPECT_TRUE(texts[1].isEmpty() && texts[2].startsWith("Таблица __ ")) << texts[2].toStdString();
    EXPECT_EQ(d.paragraphs()[2]->format, (Format{12, false, Align::Center}));
    ASSERT_EQ(d.tables().size(), 1u);
    const Table& t = *d.tables()[0];
    EXPECT_EQ(t.format(), (Format{10, false, Align::Center}));
    ExpectGrid(t, *grid);
  }
}

// How many words of table `t` wrap in their cells at its widths, each word checked: a number (of the columns
// `numbersWrap` allows) over at most three lines, every other word whole.
static int WrappedWords(const Document& d, const Table& t, const std::function<bool(int col)>& numbersWrap) {
  // A number: digits with a comma, an exponent or a sign, maybe after ">".
  static const QRegularExpression kNumber(QStringLiteral("^>?[\\d,E+-]*\\d[\\d,E+-]*$"));
  const std::vector<double> widths = t.ColumnWidths(d.page.textWidth());
  EXPECT_NEAR(std::accumulate(widths.begin(), widths.end(), 0.0), d.page.textWidth(), 0.01);
  int wrapped = 0;
  for (int r = 1; r <= t.rows(); ++r)
    for (int c = 1; c <= t.cols(); ++c) {
      const Merge m = t.SpanOf(r, c);
      if (m.row1 != r || m.col1 != c) continue;
      double room = -2 * t.cellMargin();
      for (int k = m.col1; k <= m.col2; ++k) room += widths[size_t(k - 1)];
      for (const QString& word : t.text(r, c).split(QLatin1Char(' '))) {
        const double width = TextWidthPt(word, t.format().size);
        const bool mayWrap = numbersWrap(c) && kNumber.match(word).hasMatch();
        EXPECT_LE(width, (mayWrap ? 3 : 1) * room) << word.toStdString();
        wrapped += width > room;
      }
    }
  return wrapped;
}

// The probabilities of a run read with fifteen digits ("4,76190476190476E-07"; the shipped jet shares of a
// third give such numbers in every year-round run) and a radius on the grid's diagonal with fourteen
// ("141,42135623731"); the fireball's column alone holds short numbers. Neither form can hold them whole at 10 pt, and
// both keep their 10 pt (the complex form's earlier fit lowered the type to 6 pt, the jet form's to 8 pt): every word
// of text stands whole in its column ("Физическ|ий" once broke inside its word), the short numbers too, and a
// long number wraps inside its cell over at most three lines. So do the tables by direction, at their 10 pt, with
// radii of a very wide grid.
TEST(YearZoneTable, BothFormsKeep10PtAndWrapLongNumbers) {
  models::ZoneTables radii;
  radii.CurZones().fill(141.42135623731);
  for (int k = 1; k <= 9; ++k) radii.ZoneR(models::KindOf(k)).fill(141.42135623731);
  radii.ZoneR(models::ScenarioKind::FireBall) = models::ZoneRow(12.5, 25, 37.5, 50);
  result::Probabilities p = Probabilities();
  p.PRupture = 1.0 / 7000;  // "0,000142857142857143"
  p.PIgnition = 1.0 / 3;
  p.PFireBall = 0.001;
  for (const YearTableForm form : {YearTableForm::Complex, YearTableForm::Jets}) {
    const bool complex = form == YearTableForm::Complex;
    SCOPED_TRACE(complex ? "complex" : "jets");
    Document d;
    WriteYearZoneTable(d, form, radii, p);
    const Table& t = *d.tables()[0];
    EXPECT_EQ(t.text(8, complex ? 5 : 2), QStringLiteral("4,76190476190476E-07"));
    EXPECT_EQ(t.format().size, 10);
    // The case is real: the long numbers do not fit whole.
    EXPECT_GT(WrappedWords(d, t, [complex](int c) { return !(complex && c == 3); }), 0);
  }
  for (int k = 1; k <= models::kJetCases; ++k)
    for (models::ZoneRow& row : radii.directions(models::KindOf(k))) row.fill(123456789012.25);
  Document d;
  DirectionTables(d, result::Scenario::YearRoundJets, radii);
  ASSERT_EQ(d.tables().size(), 3u);
  for (const auto& t : d.tables()) {
    EXPECT_EQ(t->format().size, 10);
    EXPECT_GT(WrappedWords(d, *t, [](int) { return true; }), 0);
  }
}
