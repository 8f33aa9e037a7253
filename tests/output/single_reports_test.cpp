#include <gtest/gtest.h>

#include <QStringList>

#include "output/report/report_blocks.h"
#include "output/report/single_reports.h"
#include "report_sample.h"

using namespace velaron;
using namespace velaron::report;
using velaron::test::SampleReportInput;

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

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

TEST(SingleReports, EachCodeHasItsTitleHeadingTablesAndCaptions) {
  struct Case {
    int code;
    const char* title;
    double inputHeadingSize;
    std::vector<TableShape> tables;
    const char* graf1Caption;
    const char* diagram1Caption;
    const char* zoneTitle;
  };
  const std::vector<Case> cases = {
      {2, "Аварийный сценарий \"Физический взрыв\" при гильотинном разрушении газопровода", 14, {{2, 8}, {6, 2}},
       "Рис. __ График распределения избыточного давления при гильотинном разрушении газопровода, кПа (шаг сетки -  20 м)",
       "Рис. __ Диаграмма значений избыточного давления при гильотинном разрушении газопровода, кПа (шаг сетки - 20 м)",
       "Таблица __ Зоны вероятного поражения человека от аварийного сценария  \"Физический взрыв\""},
      {3, "Аварийный сценарий \"Котлованный факел\" при гильотинном разрушении газопровода", 12, {{6, 9}, {6, 2}},
       "Рис. __ График наибольших значений плотности теплового поля по Южному направлению от места аварии, "
       "кВт/кв.м (шаг сетки -  20 м)",
       "Рис. __ Диаграмма значений теплового потока, кВт/кв.м (шаг сетки - 20 м)",
       "Таблица __ Зоны вероятного поражения человека от аварийного сценария \"Котлованный факел\" по  введенным "
       "метеоданным"},
      {4, "Аварийный сценарий \"Ассиметричный факел\" при гильотинном разрушении газопровода", 12, {{6, 9}, {6, 2}},
       "Рис. __ График наибольших значений плотности теплового поля по Южному направлению от места аварии, "
       "кВт/кв.м (шаг сетки -  20 м)",
       "Рис. __ Диаграмма значений теплового потока, кВт/кв.м (шаг сетки - 20 м)",
       "Таблица __ Зоны вероятного поражения человека от аварийного сценария \"Ассиметричный факел\" по  введенным "
       "метеоданным"},
      {5, "Аварийный сценарий \"Симметричный факел\" при гильотинном разрушении газопровода", 12, {{6, 9}, {6, 2}},
       "Рис. __ График наибольших значений плотности теплового поля по Южному направлению от места аварии, "
       "кВт/кв.м (шаг сетки -  20 м)",
       "Рис. __ Диаграмма значений теплового потока, кВт/кв.м (шаг сетки - 20 м)",
       "Таблица __ Зоны вероятного поражения человека от аварийного сценария \"Симметричный факел\" по  введенным "
       "метеоданным"},
      {6, "Аварийный сценарий \"Огневой шар\" при гильотинном разрушении газопровода", 12, {{6, 2}},
       "Рис. __ График распределения плотности теплового поля, кВт/кв.м (шаг сетки -  20 м)",
       "Рис. __ Диаграмма значений теплового потока, кВт/кв.м (шаг сетки - 20 м)",
       "Таблица __ Зоны вероятного поражения человека от аварийного сценария  \"Огневой шар\""},
      {8, "Аварийный сценарий \"Горение ГПВС\" при гильотинном разрушении газопровода", 12, {{2, 8}, {6, 2}},
       "Рис. __ График распределения избыточного давления при горении облака ГПВС (надо это вставить) в случае "
       "гильотинного гильотинном разрушении газопровода, кПа (шаг сетки -  20 м)",
       "Рис. __ Диаграмма значений избыточного давления при гильотинном разрушении газопровода, кПа (шаг сетки - 20 м)",
       "Таблица __ Зоны вероятного поражения человека от аварийного сценария  \"Горение ГПВС\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const Document d = Build(SampleReportInput(c.code));
    const auto paras = d.paragraphs();
    ASSERT_GT(paras.size(), 3u);
    // No warning: the title comes first, 12 pt, centred, bold.
    EXPECT_EQ(paras[0]->text(), U(c.title));
    EXPECT_EQ(paras[0]->format, (Format{12, true, Align::Center}));
    const Paragraph* heading = Find(d, U("Исходные данные"));
    ASSERT_TRUE(heading);
    EXPECT_EQ(heading->format, (Format{c.inputHeadingSize, true, Align::Left}));
    const Paragraph* results = Find(d, U("Результаты расчета"));
    ASSERT_TRUE(results);
    EXPECT_EQ(results->format, (Format{14, true, Align::Left}));
    EXPECT_EQ(Shapes(d), c.tables);
    // Five captions in order: step with the sign blank (two blanks) in 1, 2, 4, plain in 3, 5.
    const QStringList captions = Starting(d, U("Рис. "));
    ASSERT_EQ(captions.size(), 5);
    EXPECT_EQ(captions[0], U("Рис. ___ Зонирование территории по критерию индивидуального риска в районе аварии "
                             "(шаг сетки -  20 м)"));
    EXPECT_EQ(captions[1], U(c.graf1Caption));
    EXPECT_EQ(captions[2], U(c.diagram1Caption));
    EXPECT_EQ(captions[3], U("Рис. __ График распределения вероятности поражения, % (шаг сетки -  20 м)"));
    EXPECT_EQ(captions[4], U("Рис. __ Диаграмма значений вероятности поражения, % (шаг сетки - 20 м)"));
    const Paragraph* caption = Find(d, captions[0]);
    EXPECT_EQ(caption->format, (Format{12, false, Align::Center}));
    EXPECT_EQ(d.pictures().size(), 5u);
    const Paragraph* zoneTitle = Find(d, U(c.zoneTitle));
    ASSERT_TRUE(zoneTitle);
    EXPECT_EQ(zoneTitle->format.align, Align::Center);
    // The weather lines stand twice in the jet reports (input data and closing note), never elsewhere.
    const int weatherLines = Starting(d, U("- направление ветра (откуда дует ветер) \"С-В\".")).size();
    EXPECT_EQ(weatherLines, (c.code >= 3 && c.code <= 5) ? 2 : 0);
    EXPECT_EQ(Lines(d).contains(U("В расчете сценария приняты следующие метеоданнные:")), c.code >= 3 && c.code <= 5);
  }
}

TEST(SingleReports, ExtraLinesOfEachReport) {
  struct Case {
    int code;
    QStringList run;  // consecutive lines that must stand in this order
  };
  const std::vector<Case> cases = {
      // Explosion: an empty line after the mass flow, the table title after it.
      {2, {U("Массовый расход, кг/с:  12,5"), U(""),
           U("Таблица ___ Параметры волны сжатия от аварийного сценария \"Физический взрыв\" при гильотинном "
             "разрушении газопровода")}},
      // Fireball: settings after the fourth ground line, escape speed and an empty line after the step.
      {6, {U("-Суглинок"), U("Время истечения до образования ОШ, с  10"), U("Доля массы, участвующей в ОШ  0,5"),
           U("Ширина зоны расчета, м:  1000"), U("Шаг сетки, м  20"),
           U("Скорость выхода человека из опасной зоны, м/с  1,5"), U("")}},
      {6, {U("Массовый расход, кг/с:  12,5"), U("Масса огневого шара, кг:  2010"), U("Радиус ОШ, м:  123,46"),
           U("Время жизни (горения), с:  7"), U("")}},
      // Gas cloud: its settings, its two results and the table title in the same block, no empty line.
      {8, {U("-Суглинок"), U("Время истечения при образовании облака ГПВС, с  20"),
           U("Доля массы, участвующей в горение ГПВС  0,15"), U("Ширина зоны расчета, м:  1000")}},
      {8, {U("Массовый расход, кг/с:  12,5"), U("Доля массы, участвующей в образовании облака:  0,1"),
           U("Масса облака ГПВС, кг:  812,46"),
           U("Таблица ___ Параметры волны сжатия от аварийного сценария \"Горение ГПВС\" при гильотинном разрушении "
             "газопровода")}},
      // Pit jet: 0.65 and 0.5 of 50.25 (32.6625 is 32.66249... in binary; 25.125 goes to the even 25,12).
      {3, {U("Шаг сетки, м  20"), U("Скорость выхода человека из опасной зоны, м/с  1,5"), U(""), U("Метеоданные:  "),
           U("- время года  Зима;"), U("- скорость ветра  3 м/с;"),
           U("- направление ветра (откуда дует ветер) \"С-В\".")}},
      {3, {U("Массовый расход, кг/с:  12,5"), U("Общая высота (длина) факела, м:  50,25"),
           U("Максимальный диаметр факела, м:  32,66"), U("Высота (длина) конуса, м:  25,12"),
           U("Высота (длина) цилиндра, м:  25,12"), U("")}},
      // Symmetric jet: 0.4 and 0.6 of 50.25 = 20.1 and 30.15 (30.149999... in binary).
      {5, {U("Общая высота (длина) факела, м:  50,25"), U("Максимальный диаметр факела, м:  20,1"),
           U("Высота (длина) конуса, м:  30,15"), U("Высота (длина) цилиндра, м:  20,1")}},
      // Asymmetric jet: its two lengths and the two angles, numbers joined without a blank.
      {4, {U("Общая высота (длина) факела, м:  50,25"), U("Высота (длина) ассиметричного факела, м30,12"),
           U("Угол подъема труб, град.:25"), U("Угол разворота труб, град.:22,5"), U("")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const QStringList lines = Lines(Build(SampleReportInput(c.code)));
    const auto at = lines.indexOf(c.run.front());
    ASSERT_GE(at, 0) << c.run.front().toStdString();
    for (int i = 1; i < c.run.size(); ++i) EXPECT_EQ(lines.value(at + i), c.run[i]) << i;
  }
  // With no check box set, an empty line stands before "Результаты расчета" in the explosion report (its
  // heading step) and in the fireball report (after the escape-speed line); the others go straight on.
  for (int code : {2, 3, 4, 5, 6, 8}) {
    const QStringList lines = Lines(Build(SampleReportInput(code)));
    const auto at = lines.indexOf(U("Результаты расчета"));
    EXPECT_EQ(lines.value(at - 1).isEmpty(), code == 2 || code == 6) << code;
    EXPECT_EQ(lines.value(at - 2).isEmpty(), false) << code;
  }
}

TEST(SingleReports, InputDataLinesAndTheExternalFactorGroups) {
  ReportInput in = SampleReportInput(2);
  const QStringList lines = Lines(Build(in));
  const QStringList expected = {
      U("Место расположения газопровода:  Хабаровский край, км 12"), U("Дата расчета:  14.03.2026"),
      U("Время начала расчета  14.03.2026 10:00:59"), U("Время окончания расчета  14.03.2026 10:03:01"),
      U("Длительность расчета, мин.3"), U("Номер участка:  7"), U("Газ:  Метан"), U("Диаметр трубы, м:  1,42"),
      U("Среднее давление на участке, МПа:  6,40"), U("Температура газа, C:  10"), U("Длина участка, м:  5000"),
      U("Азимут трубопровода:  22,5"), U("Грунт:"), U("-Дисперсные"), U("-Связные"), U("-Минеральные"),
      U("-Суглинок"), U("Ширина зоны расчета, м:  1000"), U("Шаг сетки, м  20"), U("")};
  const auto at = lines.indexOf(expected.front());
  ASSERT_GE(at, 0);
  EXPECT_EQ(lines.mid(at, expected.size()), expected);

  struct Case {
    std::array<int, 9> checks;
    QStringList group;  // the lines after "Шаг сетки"
  };
  const std::vector<Case> cases = {
      {{0, 0, 0, 0, 0, 0, 0, 0, 0}, {U("")}},
      {{0, 0, 0, 0, 0, 0, 0, 1, 0}, {U("Внешние факторы: "), U("           наличие запорных арматур "), U("")}},
      {{0, 0, 2, 0, 0, 0, 0, 0, 0}, {U("Данные по участку: "), U("           пересечение с кабельной линией "), U("")}},
      {{0, 1, 1, 1, 1, 1, 1, 1, 1},
       {U("Внешние факторы: "), U("           наличие речных переходов "), U("           эрозия почвы "),
        U("           стихийные бедствия (бури, разрушительные землетрясения) "),
        U("           наличие запорных арматур "), U("Данные по участку: "), U("           наличие автодорог "),
        U("           наличие на участке ЛЭП "), U("           пересечение с другим трубопроводом "),
        U("           пересечение с кабельной линией "), U("")}},
  };
  for (const Case& c : cases) {
    in.Check = c.checks;
    const QStringList l = Lines(Build(in));
    const auto step = l.indexOf(U("Шаг сетки, м  20"));
    EXPECT_EQ(l.mid(step + 1, c.group.size()), c.group);
    EXPECT_EQ(l.value(step + 1 + c.group.size()), U("Результаты расчета"));  // after the explosion's empty line
  }
}

TEST(SingleReports, DurationLineHasTwoForms) {
  ReportInput in = SampleReportInput(6);
  in.start = QDateTime(in.today, QTime(10, 0, 1));
  in.end = QDateTime(in.today, QTime(10, 0, 59));
  EXPECT_TRUE(Lines(Build(in)).contains(U("Длительность расчета, мин.  менее минуты")));
  in.end = QDateTime(in.today, QTime(10, 3, 0));
  EXPECT_TRUE(Lines(Build(in)).contains(U("Длительность расчета, мин.3")));
}

TEST(SingleReports, ProbabilityBlockListsAllSevenWithTheExponentText) {
  const QStringList lines = Lines(Build(SampleReportInput(3)));
  const QStringList expected = {
      U(""), U("Вероятность аварийных  сценариев на участке:"),
      U("- гильотинное разрушение газопровода (сценарий \"Физический взрыв\"):  1,428E-04"),
      U("- вероятность возгорания:  2,500E-01"), U("- формирование котлованного факела:  0,000"),
      U("- формирование симметричного факела:  3,000E-01"), U("- формирование асимметричного факела:  0,500E-01"),
      U("- формирование огневого шара:  2,500E-05"), U("- формирование газо-паровоздушного облака:  1,000E-10."), U("")};
  const auto at = lines.indexOf(expected[1]) - 1;
  EXPECT_EQ(lines.mid(at, expected.size()), expected);
}

TEST(SingleReports, ZoneTableRefinesMissingRadiiAndMarksTheSafeZone) {
  ReportInput in = SampleReportInput(6);
  in.CurZones = {-1, 120, 153.25, 200};
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

  in.CurZones = {-1, -1, -1, -1};
  d = Build(in);
  for (int r = 2; r <= 6; ++r) EXPECT_EQ(zone(d)->text(r, 2), U("уточнить")) << r;
  in.CurZones = {0, 0, 0, 0};
  d = Build(in);
  EXPECT_EQ(zone(d)->text(6, 2), U(">0"));
}

TEST(SingleReports, CompressionWaveTable) {
  ReportInput in = SampleReportInput(2);
  const Document d = Build(in);
  const Table* t = d.tables().front();
  const QStringList head = {t->text(1, 1), t->text(1, 2), t->text(1, 3), t->text(1, 8)};
  EXPECT_EQ(head, (QStringList{U("Давление, кгс/кв.см"), U("1"), U("0.7"), U("0.03")}));
  // Column 2 is 100 kPa (element 1), column 8 is 3 kPa (element 7); 300 kPa (element 0) is not printed.
  const QStringList row = {t->text(2, 1), t->text(2, 2), t->text(2, 3), t->text(2, 4), t->text(2, 8)};
  EXPECT_EQ(row, (QStringList{U("Радиус зоны, м"), U("12,5"), U("40"), U("-"), U("-")}));
  EXPECT_EQ(t->format().size, 10);
  EXPECT_FALSE(t->format().bold);
  const auto widths = t->ColumnWidths(538.5);
  EXPECT_DOUBLE_EQ(widths[0], 100);
  EXPECT_DOUBLE_EQ(widths[7], 50);
}

TEST(SingleReports, DirectionTablesPerCode) {
  // Codes 3 and 5 read jet case 1, code 4 case 5; codes 1 and 7 have three tables, the first two by season.
  struct Case {
    int code;
    std::vector<TableShape> shapes;
    const char* first;  // level 1, north, in the first table
    const char* last;   // level 4, north-west
  };
  for (const Case& c : std::vector<Case>{{3, {{6, 9}}, "100", "173"}, {5, {{6, 9}}, "100", "173"},
                                          {4, {{6, 9}}, "500", "573"}, {1, {{10, 10}, {10, 10}, {6, 9}}, "", ""},
                                          {7, {{10, 10}, {10, 10}, {6, 9}}, "", ""}, {2, {}, "", ""}, {6, {}, "", ""},
                                          {8, {}, "", ""}}) {
    SCOPED_TRACE(c.code);
    ReportInput in = SampleReportInput(c.code);
    in.ZoneRDir[0][2][1] = -1;  // case 1, east, level 2
    Document d;
    DirectionTables(d, c.code, in.ZoneRDir);
    EXPECT_EQ(Shapes(d), c.shapes);
    if (c.shapes.empty()) {
      EXPECT_EQ(d.blocks().size(), 1u);  // nothing written
      continue;
    }
    const Table* t = d.tables().front();
    EXPECT_EQ(t->format(), (Format{10, false, Align::Center}));
    EXPECT_EQ(t->text(2, 1), U("Характеристика опасных зон"));  // rows 1-2 of column 1 merged
    if (t->cols() == 9) {
      EXPECT_EQ(t->text(1, 9), U("Направление градиента теплового поля от места аварии"));
      EXPECT_EQ(t->text(2, 2), U("С"));
      EXPECT_EQ(t->text(2, 9), U("С-З"));
      EXPECT_EQ(t->text(3, 2), U(c.first));
      EXPECT_EQ(t->text(6, 9), U(c.last));
      if (c.code == 3) {
        EXPECT_EQ(t->text(4, 4), U("уточнить"));
      }
    } else {
      EXPECT_EQ(t->text(2, 2), U("Время года возникновения сценария (лето, зима)"));
      QStringList seasons;
      for (int r = 3; r <= 10; ++r) seasons << t->text(r, 2);
      EXPECT_EQ(seasons.join(','), U("зима,лето,зима,лето,зима,лето,зима,лето"));
      EXPECT_EQ(t->text(4, 1), U("Зона безусловного поражения, Рпор>99%"));  // rows 3-4 merged
      EXPECT_EQ(t->text(3, 3), U("100"));   // winter (case 1), level 1, north
      EXPECT_EQ(t->text(4, 3), U("200"));   // summer (case 2)
      EXPECT_EQ(t->text(10, 10), U("273"));  // summer, level 4, north-west
      EXPECT_EQ(t->text(5, 5), U("уточнить"));
      EXPECT_EQ(d.tables()[2]->text(3, 2), U("500"));
    }
  }
  // Captions of the single runs: two blanks after the pit and asymmetric names, one after the symmetric.
  Document d;
  DirectionTables(d, 4, SampleReportInput(4).ZoneRDir);
  EXPECT_TRUE(Lines(d).contains(
      U("Таблица __ Расчетные параметры опасных зон термического поражения человека от аварийного сценария  "
        "\"Ассиметричный факел\"  по введенным метеоданным в направлении градиента теплового поля")));
}

TEST(SingleReports, WarningAndMissingPictures) {
  ReportInput in = SampleReportInput(5);
  in.ZoneAtEdge = true;
  in.graf1 = QImage();  // the run made no chart
  const Document d = Build(in);
  const QStringList lines = Lines(d);
  EXPECT_EQ(lines[0], U("Увеличьте ширину зоны расчета (Меню: Файл->Параметры), результаты зон поражения не "
                        "правильные!!!"));
  EXPECT_EQ(lines[1], U(""));
  EXPECT_EQ(lines[2], U(""));
  EXPECT_EQ(lines[3], U("Аварийный сценарий \"Симметричный факел\" при гильотинном разрушении газопровода"));
  EXPECT_EQ(d.pictures().size(), 4u);
  EXPECT_EQ(Starting(d, U("Рис. ")).size(), 5);  // the caption stays
  // An empty wind speed and direction word keep their blanks.
  in.MeteoText[1].clear();
  in.WorstDirWord.clear();
  const Document e = Build(in);
  EXPECT_TRUE(Lines(e).contains(U("- скорость ветра   м/с;")));
  EXPECT_EQ(Starting(e, U("Рис. __ График наибольших значений плотности теплового поля по  направлению")).size(), 1);
}

TEST(SingleReports, CodesWithoutASingleReportBuildNothing) {
  for (int code : {0, 1, 7, 9}) EXPECT_FALSE(BuildSingleReport(SampleReportInput(code))) << code;
}
