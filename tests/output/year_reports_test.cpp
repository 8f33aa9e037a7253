// The reports of the year-round jet fires (code 7) and of the complex assessment (code 1): their lines in
// order, their figures, their tables, and LibreOffice opening both.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "output/report/docx_writer.h"
#include "output/report/year_reports.h"
#include "report_sample.h"

using namespace velaron;
using namespace velaron::report;

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

db::WindRow SampleTown() {
  db::WindRow t;
  t.idCity = 12;
  t.CityName = QStringLiteral("Хабаровск");
  t.winter = {2, 7, 6, 2, 2, 74, 6, 1, 0};
  t.summer = {3, 25, 17, 5, 4, 35, 7, 4, 0};
  t.speedWinter = {3.3, 5.7, 4.2, 2.7, 3.5, 5.9, 4.1, 2.2, 0};
  t.speedSummer = {3.4, 6, 4.6, 3.3, 3.6, 4.6, 3.6, 2.9, 0};
  t.Tmedium = 207;
  return t;
}

// A flame of H = 10 m: pit 6,5 / 5 / 5, symmetric 4 / 6 / 4. The wind-corrected length 7.125 rounds half to
// even (7,12); the tip's width 3.125 m gives an asymmetric diameter of 6,25 m.
ReportInput Input(int code) {
  ReportInput in = test::SampleReportInput(code);
  in.LTorch = 10;
  in.LTorchWind = 7.125;
  in.Check = {0, 0, 0, 0, 0, 0, 0, 1, 0};  // shut-off valves only
  return in;
}

YearReportInput Year() {
  YearReportInput y;
  for (int k = 0; k < 9; ++k)
    for (int z = 0; z < 4; ++z) y.ZoneR[size_t(k)][size_t(z)] = 10 * (k + 1) + z + 0.25;
  y.town = SampleTown();
  y.rose = test::Swatch(48, 40);
  y.W2 = 3.125;
  return y;
}

QStringList Lines(const Document& d) {
  QStringList out;
  for (const Paragraph* p : d.paragraphs()) out << p->text();
  return out;
}

// The lines from `first` on, `count` of them.
QStringList From(const QStringList& lines, const QString& first, int count) {
  const auto at = lines.indexOf(first);
  return at < 0 ? QStringList{} : lines.mid(at, count);
}

QString Squeezed(QString s) { return s.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")); }

const QStringList kFlamesAllJets = {
    "Общая высота (длина) факела, м:  10",  "Котлованный факел:",
    "Максимальный диаметр факела, м:  6,5", "Высота (длина) конуса, м:  5",
    "Высота (длина) цилиндра, м:  5",       "Симметричный факел:",
    "Максимальный диаметр факела, м:  4",   "Высота (длина) конуса, м:  6",
    "Высота (длина) цилиндра, м:  4",       "Асимметричный факел:",
    "Высота (длина) ассиметричного факела, м7,12", "Угол подъема труб, град.:25",
    "Угол разворота труб, град.:22,5",      "",
    "Вероятность аварийных  сценариев на участке:"};

const QStringList kFlamesComplex = {
    "Общая высота (длина) факела, м:  10",  "Высота (длина) ассиметричного факела, м7,12",
    "Котлованный факел:",                   "Максимальный диаметр факела, м:  6,5",
    "Высота (длина) конуса, м:  5",         "Высота (длина) цилиндра, м:  5",
    "Симметричный факел:",                  "Максимальный диаметр факела, м:  4",
    "Высота (длина) конуса, м:  6",         "Высота (длина) цилиндра, м:  4",
    "Асимметричный факел:",                 "Максимальный диаметр факела, м:  6,25",
    "Высота (длина) конуса, м:  10",        "Высота (длина) цилиндра, м:  0",
    "Угол подъема труб, град.:25",          "Угол разворота труб, град.:22,5",
    "",                                     "Вероятность аварийных  сценариев на участке:"};

}  // namespace

TEST(YearReports, OnlyTheTwoYearRoundCodesHaveARecipe) {
  for (int code = 0; code <= 9; ++code) {
    ReportInput in = Input(code);
    EXPECT_EQ(BuildYearReport(in, Year()).has_value(), code == 1 || code == 7) << code;
  }
}

TEST(YearReports, TitleInputLinesWindBlockAndResultLinesInOrder) {
  struct Case {
    int code;
    const char* title;
    bool settingsLines;
    const QStringList* flames;
  } cases[] = {
      {7, "Комплексная оценка факельного горения при гильотинном разрушении газопровода в течение года", false,
       &kFlamesAllJets},
      {1, "Комплексная оценка опасных зон при гильотинном разрушении газопровода", true, &kFlamesComplex},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const auto doc = BuildYearReport(Input(c.code), Year());
    ASSERT_TRUE(doc);
    const QStringList lines = Lines(*doc);
    const auto paras = doc->paragraphs();
    // No grid-edge warning: the title comes first, 12 pt, centred, bold; the heading 12 pt, not 14.
    EXPECT_EQ(lines[0].toStdString(), c.title);
    EXPECT_EQ(paras[0]->format, (Format{12, true, Align::Center}));
    EXPECT_EQ(lines[1], U("Исходные данные"));
    EXPECT_EQ(paras[1]->format, (Format{12, true, Align::Left}));

    // The fireball and cloud settings after the fourth ground line (complex report only), as typed.
    const QStringList afterGround = From(lines, U("-Суглинок"), 5);
    const QStringList settings = {"Время истечения до образования ОШ, с  10", "Доля массы, участвующей в ОШ  0,5",
                                  "Время истечения при образовании облака ГПВС, с  20",
                                  "Доля массы, участвующей в горение ГПВС  0,15"};
    const QStringList plain = {"Ширина зоны расчета, м:  1000", "Шаг сетки, м  20",
                               "Скорость выхода человека из опасной зоны, м/с  1,5", ""};
    EXPECT_EQ(afterGround.mid(1), c.settingsLines ? settings : plain);
    // Escape speed, an empty line, the year's weather, the set external factor, then the town's wind block
    // ending in an empty line right above the results heading.
    const QStringList weather = {"Скорость выхода человека из опасной зоны, м/с  1,5",
                                 "",
                                 "Метеоданные:  ",
                                 "- время года:  данные за год;",
                                 "- скорость ветра:  см. розу ветров и данные среднесезонных характеристик в таблице ___;",
                                 "- угол отклонения факела от вертикали зависит от силы и направления ветра.",
                                 "Внешние факторы: ",
                                 "           наличие запорных арматур ",
                                 "",
                                 "Таблица ___ Сезонные характеристики ветра в районе населенного пункта -Хабаровск",
                                 "Количество дней в году со среднесуточной температурой > 0   207",
                                 "",
                                 "Результаты расчета",
                                 "Длина котлована, м:  45,2",
                                 "Скорость истечения газа, м/с:  371,18",
                                 "Массовый расход, кг/с:  12,5"};
    EXPECT_EQ(From(lines, weather[0], int(weather.size())), weather);
    const auto results = lines.indexOf(U("Результаты расчета"));
    EXPECT_EQ(paras[size_t(results)]->format, (Format{14, true, Align::Left}));
    EXPECT_EQ(From(lines, U("Общая высота (длина) факела, м:  10"), int(c.flames->size())), *c.flames);
    // The year-round reports end with their zone table: no closing weather note.
    EXPECT_FALSE(lines.contains(U("В расчете сценария приняты следующие метеоданнные:")));
  }
}

TEST(YearReports, SixFiguresWithTheirCaptionsTheLastTheTownsRose) {
  const QString fig2 = U("Рис. __ График наибольших значений плотности теплового поля по Южному направлению от "
                         "места аварии от всех видов факельного горения на поверхности земли, кВт/кв.м (шаг сетки -  20 м)");
  const QString fig3 = U("Рис. __ Диаграмма распределения максимальных значений плотности теплового поля от всех видов "
                         "факельного горения в направлении перпендикулярном от газопровода на поверхности земли, "
                         "кВт/кв.м (шаг сетки - 20 м)");
  const QString rose = U("Рис.  ___ Роза ветров в районе населенного пункта -Хабаровск");
  struct Case {
    int code;
    QStringList captions;
  } cases[] = {
      {7,
       {U("Рис. ___ Зонирование территории по критерию индивидуального риска в районе аварии (шаг сетки -  20 м)"),
        fig2, fig3, U("Рис. __ График распределения вероятности поражения, % (шаг сетки -  20 м)"),
        U("Рис. __ Диаграмма распределения математического ожидания вероятности поражения человека тепловым полем от "
          "всех видов факельного горения в направлении перпендикулярном от газопровода на поверхности земли, % (шаг "
          "сетки - 20 м)"),
        rose}},
      {1,
       {U("Рис. ___ Зонирование территории по критерию индивидуального риска в районе аварии (шаг сетки -  20 м)"),
        fig2, fig3,
        U("Рис. __ График распределения математического ожидания вероятности поражения человека от всех сценариев, % "
          "(шаг сетки -  20 м)"),
        U("Рис. __ Диаграмма распределения математического ожидания вероятности поражения человека от всех сценариев, "
          "% (шаг сетки - 20 м)"),
        rose}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    for (bool withRose : {true, false}) {
      YearReportInput year = Year();
      if (!withRose) year.rose = QImage();
      const auto doc = BuildYearReport(Input(c.code), year);
      ASSERT_TRUE(doc);
      // Each caption follows the paragraph of its picture; a rose that failed leaves its caption alone.
      EXPECT_EQ(doc->pictures().size(), withRose ? 6u : 5u);
      QStringList captions;
      const auto paras = doc->paragraphs();
      for (size_t i = 1; i < paras.size(); ++i)
        if (paras[i]->text().startsWith(U("Рис."))) {
          captions << paras[i]->text();
          EXPECT_EQ(paras[i]->format, (Format{12, false, Align::Center}));
          const bool picture = !paras[i - 1]->items.empty() && paras[i - 1]->items[0].picture >= 0;
          EXPECT_EQ(picture, withRose || captions.size() < 6) << captions.back().toStdString();
        }
      EXPECT_EQ(captions, c.captions);
    }
  }
}

TEST(YearReports, DirectionTablesThenTheYearRoundZoneTableOfTheCodesForm) {
  for (int code : {7, 1}) {
    SCOPED_TRACE(code);
    const auto doc = BuildYearReport(Input(code), Year());
    ASSERT_TRUE(doc);
    const auto tables = doc->tables();
    // Wind table, pit and symmetric tables with the season column, asymmetric table, year-round table.
    ASSERT_EQ(tables.size(), 5u);
    EXPECT_EQ(std::pair(tables[0]->rows(), tables[0]->cols()), std::pair(11, 5));
    EXPECT_EQ(std::pair(tables[1]->rows(), tables[1]->cols()), std::pair(10, 10));
    EXPECT_EQ(std::pair(tables[2]->rows(), tables[2]->cols()), std::pair(10, 10));
    EXPECT_EQ(std::pair(tables[3]->rows(), tables[3]->cols()), std::pair(6, 9));
    EXPECT_EQ(std::pair(tables[4]->rows(), tables[4]->cols()), std::pair(8, code == 7 ? 7 : 10));
    // The wind table holds the town row's values; the year-round table the record's radii (kind 1, zone 1
    // is 10.25; the explosion, kind 7, is 70.25 in the complex form's first scenario column).
    EXPECT_EQ(tables[0]->text(8, 2), U("74"));
    EXPECT_EQ(tables[0]->text(4, 4), U("5,7"));
    EXPECT_EQ(tables[4]->text(3, 2), code == 7 ? U("10,25") : U("70,25"));
    // The combined column: the run's CurZones (zone 1 not found).
    EXPECT_EQ(tables[4]->text(3, tables[4]->cols()), U("уточнить"));
    EXPECT_EQ(tables[4]->text(7, tables[4]->cols()), U(">200"));
  }
}

TEST(YearReports, InputFromTheRecordTakesItsTownAndNoRoseWhenTheRunsRoseFailed) {
  result::RunSnapshot record;
  record.ScenarioCode = 7;
  record.town = SampleTown();  // the row as the run read it, whatever the table holds now
  record.ZoneR[4][2] = 12.5;
  record.derived.W2 = 4.5;
  struct Case {
    bool hasTown, roseFailed, drawn;
  } cases[] = {{true, false, true}, {true, true, false}, {false, false, false}};
  for (const Case& c : cases) {
    result::RunSnapshot r = record;
    if (!c.hasTown) r.town.reset();
    r.windRoseFailed = c.roseFailed;
    const YearReportInput y = YearInputFromRecord(r);
    EXPECT_EQ(!y.rose.isNull(), c.drawn);
    EXPECT_EQ(y.town.has_value(), c.hasTown);
    EXPECT_EQ(y.ZoneR[4][2], 12.5);
    EXPECT_EQ(y.W2, 4.5);
  }
  // A run without a town (it cannot complete, but a record may lack one) still gives a whole document.
  YearReportInput y = Year();
  y.town.reset();
  y.rose = QImage();
  const auto doc = BuildYearReport(Input(1), y);
  ASSERT_TRUE(doc);
  EXPECT_TRUE(Lines(*doc).contains(U("Рис.  ___ Роза ветров в районе населенного пункта -")));
}

TEST(LibreOffice, OpensBothYearRoundReportsWithTheirWindTableAndZoneRadii) {
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  if (soffice.isEmpty() || pdftotext.isEmpty())
    GTEST_SKIP() << "soffice or pdftotext is not installed (scripts/install-deps.sh installs "
                    "libreoffice-writer-nogui and poppler-utils)";
  QTemporaryDir dir;
  QStringList files;
  for (int code : {7, 1}) {
    const auto doc = BuildYearReport(Input(code), Year());
    ASSERT_TRUE(doc);
    files << dir.filePath(QStringLiteral("year%1.docx").arg(code));
    ASSERT_EQ(WriteDocx(*doc, files.back()), QString());
  }
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(soffice, QStringList{QStringLiteral("-env:UserInstallation=file://") + dir.filePath("profile"),
                               QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                               QStringLiteral("--outdir"), dir.path()} +
                       files);
  ASSERT_TRUE(p.waitForFinished(180000)) << "soffice did not finish";
  ASSERT_EQ(p.exitCode(), 0) << p.readAll().toStdString();
  for (int code : {7, 1}) {
    SCOPED_TRACE(code);
    const QString pdf = dir.filePath(QStringLiteral("year%1.pdf").arg(code));
    ASSERT_TRUE(QFile::exists(pdf)) << "LibreOffice made no PDF of report " << code;
    QProcess t;
    t.start(pdftotext, QStringList{pdf, QStringLiteral("-")});
    ASSERT_TRUE(t.waitForFinished(60000));
    const QString text = Squeezed(QString::fromUtf8(t.readAllStandardOutput()));
    // The wind table's rows in reading order: the state, winter and summer repetition, the two speeds.
    for (const char* row : {"Северо -восточный 7 25 5,7 6", "Юго -западный 74 35 5,9 4,6", "Штиль 0 0 0 0"})
      EXPECT_TRUE(text.contains(U(row))) << row;
    EXPECT_TRUE(text.contains(U("температурой > 0 207")));
    // The year-round table: every radius of its scenario columns (10·kind + zone − 1 + 0.25) and its safe
    // zone, the combined column's radii and its "уточнить". Cells wrap, so each is looked up as a word.
    const QStringList words = text.split(QLatin1Char(' '));
    const std::vector<int> kinds = code == 7 ? std::vector<int>{1, 2, 3, 4, 5} : std::vector<int>{7, 6, 8, 1, 2, 3, 4, 5};
    for (int k : kinds) {
      for (int z = 0; z < 4; ++z) {
        const QString cell = QStringLiteral("%1,25").arg(10 * k + z);
        EXPECT_TRUE(words.contains(cell)) << cell.toStdString();
      }
      EXPECT_TRUE(words.contains(QStringLiteral(">%1,25").arg(10 * k + 3))) << k;
    }
    for (const char* cell : {"уточнить", "153,25", ">200"}) EXPECT_TRUE(words.contains(U(cell))) << cell;
    EXPECT_TRUE(text.contains(U("Высота (длина) ассиметричного факела, м7,12")));
  }
}
