// Bad and extreme inputs through the headless driver's code path: every input out of its range, every
// damaged reference value and every damaged database file is refused with a message naming its cause, and
// extreme but valid inputs end with numbers in their physical ranges.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>
#include <vector>

#include "common/qt_text.h"
#include "db/db_files.h"
#include "output/held_database.h"
#include "run/headless.h"
#include "run/headless_request.h"
#include "run/prepare.h"
#include "run/run_texts.h"
#include "run_fixtures.h"

namespace velaron::run {
namespace {

using Edit = std::pair<const char*, QJsonValue>;

// The sample request of `code` (200 m at 20 m) with "group.key" or "key" set to a value; an undefined
// value removes the key.
QByteArray Request(int code, const std::vector<Edit>& edits) {
  QJsonObject root = QJsonDocument::fromJson(test::SampleRequest(code, 200, 20)).object();
  for (const auto& [path, value] : edits) {
    const QStringList parts = QString::fromLatin1(path).split(QLatin1Char('.'));
    if (parts.size() == 1) {
      if (value.isUndefined()) root.remove(parts[0]);
      else root.insert(parts[0], value);
      continue;
    }
    QJsonObject group = root[parts[0]].toObject();
    if (value.isUndefined()) group.remove(parts[1]);
    else group.insert(parts[1], value);
    root[parts[0]] = group;
  }
  return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

// Every number of a finished run within its physical range: probabilities 0..1, zone radii −1 (none) or
// more, percentages 0..100, fluxes and pressures not negative.
void ExpectSaneNumbers(const QJsonObject& out, const std::string& name) {
  ASSERT_FALSE(out.contains("error")) << name;
  for (const auto& p : out["probabilities"].toObject()) EXPECT_TRUE(p.toDouble() >= 0 && p.toDouble() <= 1) << name;
  for (const auto& r : out["CurZones"].toArray()) EXPECT_GE(r.toDouble(), -1) << name;
  for (const char* grid : {"GridProc", "GridValue"})
    for (const auto& row : out["grids"].toObject()[grid].toObject()["rows"].toArray())
      for (const auto& v : row.toArray()) {
        ASSERT_TRUE(v.isDouble()) << name << " " << grid;  // a number that is not finite prints as null
        EXPECT_GE(v.toDouble(), 0) << name << " " << grid;
        EXPECT_TRUE(QLatin1String(grid) != QLatin1String("GridProc") || v.toDouble() <= 100) << name;
      }
}

class BadInput : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(db_.ok()); }
  test::DatabaseCopy db_;
};

TEST_F(BadInput, OutOfRangeIsRefusedNamingTheFieldAndExtremesStayBounded) {
  struct Case {
    const char* name;
    int code;
    std::vector<Edit> edits;
    const char* refusal;  // a part of the message; nullptr: the run must finish with sane numbers
  };
  const Case cases[] = {
      // Cost that grows without bound near a wind of 10 m/s, and angles too large to step through.
      {"wind just below 10 m/s", 5, {{"run.WindSpeed", 9.999}}, "Скорость ветра 9,999 м/с больше 9,9 м/с"},
      {"wind at the limit, frustum flame", 4, {{"run.WindSpeed", 9.9}, {"section.Azimut", 360}}, nullptr},
      {"azimuth of 2e16 degrees", 4, {{"section.Azimut", 2e16}}, nullptr},
      // Settings arithmetic that would wrap round.
      {"grid step of 2^30", 5, {{"settings.CStep", 1073741824}}, "двух шагов сетки (2147483648 м)"},
      // Inputs out of their ranges.
      {"inversions of 200 %",
       6,
       {{"pipeline.InversPercent", 200}},
       "инверсионной устойчивости атмосферы, %: значение 200"},
      {"a thousand accidents per km",
       2,
       {{"rate", QJsonObject{{"way", 2}, {"RegionPos", 1}, {"Text8", 1e6}}}, {"external.Check5", 1}},
       "Вероятность гильотинного разрушения газопровода (1,2"},
      {"gas temperature 1e308", 5, {{"pipeline.Temp", 1e308}}, "Температура газа, °С: значение 1E+308"},
      // Said in °С and MPa, with the range the gas tables allow at the section's pressure (it was 423 K and 69,5 bar).
      {"gas temperature 150 °С",
       5,
       {{"pipeline.Temp", 150}},
       "Температура газа 150 °С вне таблиц свойств газа: при давлении 6,95 МПа температура газа должна быть от -50 "
       "до 100 °С"},
      {"pipe of 1600 mm",
       2,
       {{"pipeline.Diametr", 1600}},
       "Диаметр трубы 1600 мм вне таблицы длин котлована (от 100 до 1500 мм)"},
      // Results that would not be finite numbers name the setting that makes them so, not "Проверте правильность
      // ввода!" alone or an inner grid ("GridProbit").
      {"escape speed 1e-310 m/s",
       5,
       {{"settings.Skor_chel", 1e-310}},
       "Скорость выхода человека из опасной зоны, м/с: значение 9,99999999999997E-311 слишком мало"},
      {"escape speed 5e-324 m/s", 7, {{"settings.Skor_chel", 5e-324}}, "значение 4,94065645841247E-324 слишком мало"},
      {"fireball outflow 1e308 s",
       3,
       {{"settings.Tfb", 1e308}},
       "Время истечения до образования ОШ, с: значение 1E+308 слишком велико, масса газа в огневом шаре"},
      {"cloud outflow 1e308 s",
       3,
       {{"settings.Tobl", 1e308}},
       "Время истечения при образовании облака ГПВС, с: значение 1E+308 слишком велико, масса облака ГПВС"},
      // Tiny values with their digits: the diameter read "0 мм" once in metres, the section's pressure "0 МПа".
      {"pipe of 5e-324 mm", 2, {{"pipeline.Diametr", 5e-324}}, "Диаметр трубы 4,94065645841247E-324 мм вне таблицы"},
      {"gas at 0.004 MPa",
       5,
       {{"pipeline.DavlDown", 0.004}, {"pipeline.DavlUp", 0.004}, {"pipeline.Temp", 150}},
       "при давлении 0,004 МПа температура"},
      // A fireball or cloud of a mass too small for the grid left its probit not finite, and the refusal named
      // that inner grid ("GridProbit"): it names the setting and its value.
      {"fireball outflow 1e-300 s",
       6,
       {{"settings.Tfb", 1e-300}},
       "Время истечения до образования ОШ, с: значение 1E-300 слишком мало"},
      {"fireball share 5e-324",
       6,
       {{"settings.Dola", 5e-324}},
       "Доля массы, участвующей в образовании ОШ: значение 4,94065645841247E-324 слишком мало"},
      {"cloud outflow 5e-324 s",
       8,
       {{"settings.Tobl", 5e-324}},
       "Время истечения при образовании облака ГПВС, с: значение 4,94065645841247E-324 слишком мало"},
      {"cloud share 1e-300",
       8,
       {{"settings.Dola_obl", 1e-300}},
       "Доля массы, участвующей в горении ГПВС: значение 1E-300 слишком мало"},
      // Refusals whose text leaves the value to the window's box: the driver adds the field and its value.
      {"fireball share 1e20",
       6,
       {{"settings.Dola", 1e20}},
       "должна быть от 0 до 1! (Доля массы, участвующей в образовании ОШ: значение 1E+20)"},
      {"cloud share 1e20",
       8,
       {{"settings.Dola_obl", 1e20}},
       "(Доля массы, участвующей в горении ГПВС: значение 1E+20)"},
      {"line start at 1e20 MPa",
       5,
       {{"pipeline.DavlDown", 1e20}},
       "меньше 30 МПа. Проверте правильность ввода! (Давление газа в начале газопровода, МПа: значение 1E+20)"},
      {"line end at 1e20 MPa",
       5,
       {{"pipeline.DavlUp", 1e20}},
       "(Давление газа в конце газопровода, МПа: значение 1E+20)"},
      {"pit share in winter 1e308",
       5,
       {{"run.shares", QJsonObject{{"Pkw", 1e308}, {"Psw", 0}, {"Paw", 0}, {"Pks", 0}, {"Pss", 0}, {"Pas", 0}}}},
       "от 0 до 1. Проверте правильность ввода! (Вероятность котлованного факела, зима: значение 1E+308)"},
      {"asymmetric share in summer -1e308",
       5,
       {{"run.shares", QJsonObject{{"Pkw", 0}, {"Psw", 0}, {"Paw", 0}, {"Pks", 0}, {"Pss", 0}, {"Pas", -1e308}}}},
       "(Вероятность ассимитричного факела, лето: значение -1E+308)"},
      {"escape speed -1e308",
       5,
       {{"settings.Skor_chel", -1e308}},
       "больше 0! (Скорость выхода человека из опасной зоны, м/с: значение -1E+308)"},
      // The JSON reader takes −0 as 0.
      {"escape speed -0",
       5,
       {{"settings.Skor_chel", -0.0}},
       "(Скорость выхода человека из опасной зоны, м/с: значение 0)"},
      {"fireball outflow -1e308 s",
       6,
       {{"settings.Tfb", -1e308}},
       "(Время истечения до образования ОШ, с: значение -1E+308)"},
      {"fireball outflow -0 s",
       6,
       {{"settings.Tfb", -0.0}},
       "Масса газа в огневом шаре должна быть больше нуля. Проверте параметры расчета! (Время истечения до "
       "образования ОШ, с: значение 0)"},
      {"cloud outflow -1e308 s",
       8,
       {{"settings.Tobl", -1e308}},
       "(Время истечения при образовании облака ГПВС, с: значение -1E+308)"},
      {"cloud outflow -0 s", 8, {{"settings.Tobl", -0.0}}, "облака ГПВС, с: значение 0)"},
      {"wind -1e308 m/s", 5, {{"run.WindSpeed", -1e308}}, "(Скорость ветра, м/с: значение -1E+308)"},
      {"wind -0 m/s", 5, {{"run.WindSpeed", -0.0}}, nullptr},
      {"width 1e20 m",
       5,
       {{"settings.XLimit", 1e20}},
       "поле \"XLimit\" (\"Ширина зоны расчета, м\") должно быть целым числом, а задано 1E+20"},
      // The section's middle lies 0,5 km along 100 km, where 0 → 5,4 MPa gives 0,027 MPa, not above the
      // atmosphere's 0,1013 MPa: the expansion energy of the explosion is not above 0.
      {"line start at 5e-324 MPa",
       1,
       {{"pipeline.DavlDown", 5e-324}, {"section.Udal", 0}, {"section.Length", 1000}},
       "(давление газа на участке 0,027 МПа, а атмосферное давление 0,1013 МПа)"},
      {"gas 99", 5, {{"pipeline.Gas", 99}}, "(Газ, номер в списке: значение 99)"},
      {"pipe of -5 mm", 5, {{"pipeline.Diametr", -5}}, "(Диаметр трубы, мм: значение -5)"},
      {"wind from 10°", 5, {{"run.WindDir", 10}}, "(Направление ветра (откуда дует ветер), °: значение 10)"},
      {"ground 9.9.9.9", 5, {{"section.Ground", "9.9.9.9"}}, "(Код грунта участка: значение \"9.9.9.9\")"},
      {"region 999", 5, {{"rate.RegionPos", 999}}, "Необходимо выбрать регион! (Регион, номер в списке: значение 999)"},
      {"town 999", 7, {{"run.idCity", 999}}, "(Город, номер: значение 999)"},
      {"width 210 m", 5, {{"settings.XLimit", 210}}, "(40 м)! (Ширина зоны расчета, м: значение 210)"},
      {"step 0.5 m", 5, {{"settings.CStep", 0.5}}, "(\"Шаг сетки, м\") должно быть целым числом, а задано 0,5"},
      {"width as a text", 5, {{"settings.YLimit", "200"}}, "должно быть числом, а задано \"200\""},
      {"way 5", 5, {{"rate", QJsonObject{{"way", 5}}}}, "\"way\" должно быть 1, 2 или 3, а задано 5"},
      {"external flag 2",
       5,
       {{"external.Check7", 2}},
       "поле \"Check7\" в \"external\" должно быть 0 или 1, а задано 2"},
      // The driver's own strictness.
      {"scenario code 9", 9, {}, "Не выбран сценарий расчета. (ScenarioCode: значение 9)"},
      {"misspelt group", 6, {{"externals", QJsonObject{}}}, "неизвестное поле \"externals\""},
      // The document texts were taken whatever they held: a misspelt key was dropped, a number became "".
      {"misspelt text", 6, {{"texts", QJsonObject{{"Mestm", "км 12"}}}}, "неизвестное поле \"Mestm\" в \"texts\""},
      {"location as a number", 6, {{"texts", QJsonObject{{"Mestn", 12}}}}, "поле \"Mestn\" должно быть строкой"},
      // The crossing sum adds four probabilities of at most 1: up to 4 it is capped at 1 (the sample's 0.1 is
      // kept), above 4 it is a slip (5 was taken as 1 in silence). The crossing flags are ticks (2 and −1
      // printed as ticked).
      {"crossing sum 4", 5, {{"section.p_v", 4}}, nullptr},
      {"crossing sum 5", 5, {{"section.p_v", 5}}, "возгорание: значение 5, а должно быть от 0 до 4"},
      {"crossing sum 4.0001", 5, {{"section.p_v", 4.0001}}, "значение 4,0001, а должно быть от 0 до 4"},
      {"ticked", 5, {{"section.dpp1", 1}, {"section.dpp2", 1}, {"section.dpp3", 1}, {"section.dpp4", 1}}, nullptr},
      {"crossing flag 2", 5, {{"section.dpp2", 2}}, "поле \"dpp2\" в \"section\" должно быть 0 или 1, а задано 2"},
      {"crossing flag -1", 5, {{"section.dpp4", -1}}, "поле \"dpp4\" в \"section\" должно быть 0 или 1"},
      {"crossing flag 0.5", 5, {{"section.dpp1", 0.5}}, "поле \"dpp1\" должно быть целым числом, а задано 0,5"},
      // A section pressure out of the tables named no input that made it: the section's middle beyond the
      // pipeline's end (overflowing to infinity, where one line pressure gave 0·∞), or a line pressure not
      // above 0. Rising 1 → 29 MPa over 100 km, at 1002.5 km it would be 281.7 MPa; from 0 to −2 MPa the
      // middle, 22.5 km of 100, lies at −0.45 MPa.
      {"section length 1.7e308",
       5,
       {{"section.Length", 1.7e308}},
       "Середина участка лежит за концом газопровода, и давление газа на участке получается не больше нуля: "
       "длина участка 1,7E+308 м, удаление начала участка 20000 м, протяженность газопровода 100 км"},
      {"section distance 1.7e308", 5, {{"section.Udal", 1.7e308}}, "удаление начала участка 1,7E+308 м"},
      {"pipeline of 1e-300 km", 5, {{"pipeline.Ltrub", 1e-300}}, "протяженность газопровода 1E-300 км"},
      {"infinite middle",
       5,
       {{"section.Length", 1.7e308}, {"section.Udal", 1.7e308}, {"pipeline.DavlDown", 5}, {"pipeline.DavlUp", 5}},
       "Середина участка лежит за концом газопровода"},
      {"rising beyond the end",
       5,
       {{"pipeline.DavlDown", 1}, {"pipeline.DavlUp", 29}, {"section.Udal", 1e6}},
       "получается не меньше 30 МПа: длина участка 5000 м, удаление начала участка 1000000 м"},
      {"line at 0 MPa", 5, {{"pipeline.DavlDown", 0}, {"pipeline.DavlUp", 0}}, "газопроводе задано 0 МПа"},
      // A line pressure below 0 at either end is refused, even where the section's comes out above 0 (it ran):
      // from −1 to 9 MPa the middle lies at 1,25 MPa, from 9 to −1 at 6,75 MPa.
      {"line at -1 MPa",
       5,
       {{"pipeline.DavlDown", -1}, {"pipeline.DavlUp", -1}},
       "Давление газа в начале газопровода, МПа: значение -1, а должно быть не меньше 0"},
      {"line 0 to -2", 5, {{"pipeline.DavlDown", 0}, {"pipeline.DavlUp", -2}}, "конце газопровода, МПа: значение -2"},
      {"line pressure -1 to 9",
       5,
       {{"pipeline.DavlDown", -1}, {"pipeline.DavlUp", 9}},
       "Давление газа в начале газопровода, МПа: значение -1, а должно быть не меньше 0. Проверте правильность ввода!"},
      {"line pressure 9 to -1",
       5,
       {{"pipeline.DavlDown", 9}, {"pipeline.DavlUp", -1}},
       "Давление газа в конце газопровода, МПа: значение -1, а должно быть не меньше 0. Проверте правильность ввода!"},
      // A burial depth up to 100 m: 1e300 m left every zone at 0. (The zone of 50 % of that pit flame lies
      // between the points of a grid of 20 m.)
      {"depth 100 m", 3, {{"pipeline.Glubina", 100}, {"settings.CStep", 10}}, nullptr},
      {"100.0001 m",
       3,
       {{"pipeline.Glubina", 100.0001}},
       "Глубина залегания, м: значение 100,0001, а должно быть от 0 до 100. Проверте правильность ввода!"},
      {"1e300 m", 5, {{"pipeline.Glubina", 1e300}}, "Глубина залегания, м: значение 1E+300, а должно быть от 0 до 100"},
      // A value just beyond its bound is shown with the digits that set it apart (it read "9,9 больше 9,9").
      {"wind 9.9+", 5, {{"run.WindSpeed", 9.900000000000002}}, "Скорость ветра 9,900000000000002 м/с больше 9,9 м/с"},
      {"p_v 4+", 5, {{"section.p_v", 4.000000000000001}}, "значение 4,000000000000001, а должно быть от 0 до 4"},
  };
  for (const Case& c : cases) {
    const QStringList grids = {"GridProc", "GridValue"};
    const HeadlessResult r = RunHeadless(db_.path(), Request(c.code, c.edits), 2, grids);
    const QJsonObject out = test::ParseJson(test::DriverOutput(r, grids));
    if (c.refusal) {
      EXPECT_EQ(r.exitCode, 2) << c.name;
      EXPECT_TRUE(out["error"].toString().contains(QString::fromUtf8(c.refusal)))
          << c.name << ": " << out["error"].toString().toStdString();
      // No refusal names a grid of the model's own.
      EXPECT_FALSE(out["error"].toString().contains(QRegularExpression(QStringLiteral("Grid|Layer|Risk|Proc"))))
          << c.name;
    } else {
      EXPECT_EQ(r.exitCode, 0) << c.name << ": " << r.error.toStdString();
      ExpectSaneNumbers(out, c.name);
    }
  }
  // The window shows those texts as they stand, with the value in the box beside them: only the driver adds it.
  result::RunRequest request = test::GoodRequest(6);
  request.settings.Dola = 1e20;
  EXPECT_EQ(PrepareRun(request, test::GoodData(), {}).error,
            U("Доля массы, участвующей в образовании ОШ, должна быть от 0 до 1!"));
  request = test::GoodRequest(5);
  request.pipeline.DavlUp = 1e20;
  EXPECT_EQ(PrepareRun(request, test::GoodData(), {}).error, U(texts::kPressureTooHigh));
  // An input file of more than 16 MB is not read.
  const HeadlessResult huge = RunHeadless(db_.path(), QByteArray(kMaxInputBytes + 1, ' '), 2, {});
  EXPECT_TRUE(huge.error.contains(QString::fromUtf8("больше 16 МБ")));
}

// `"ScenarioCode": 5, "ScenarioCode": 2` computed code 2 without a word, and a second "run" replaced the
// first whole: a key one object holds twice is refused at any level, however it is spelt.
TEST(RepeatedKeys, AreRefusedNamingTheKeyAndItsGroup) {
  const QByteArray sample = test::SampleRequest(5);
  const QByteArray top = sample.left(sample.lastIndexOf('}'));
  const std::pair<QByteArray, const char*> cases[] = {
      {test::SampleRequest(5, 200, 10, R"(, "ScenarioCode": 2)"), R"(поле "ScenarioCode" в "run")"},
      {test::SampleRequest(5, 200, 10, R"(, "Scen\u0061rioCode": 2)"), R"(поле "ScenarioCode" в "run")"},
      {top + R"(, "run": {"ScenarioCode": 2}})", R"(поле "run")"},
      {test::SampleRequest(5, 200, 10, R"(, "shares": {"Pkw": 1, "Pkw": 1})"), R"(поле "Pkw" в "shares")"},
      {top + R"(, "texts": {"Mestn": [{"k": 1, "k": 2}]}})", R"(поле "k" в "Mestn")"},
  };
  for (const auto& [json, field] : cases) {
    QString error;
    EXPECT_FALSE(ParseHeadlessRequest(json, error)) << field;
    EXPECT_TRUE(error.endsWith(U(field) + U(" задано несколько раз"))) << field << ": " << error.toStdString();
  }
  // Keys spelt inside a text, and one key in two objects, are no repeat.
  QString error;
  EXPECT_TRUE(
      ParseHeadlessRequest(top + R"(, "texts": {"Mestn": "{\"k\\\": 1, \"k\": 1}", "ScenarioName": "run"}})", error))
      << error.toStdString();
}

// A file that is no JSON was refused in the reader's English and with no place: the refusal is Russian and
// names the line and the character of the line (not the byte) where the faulty token starts.
TEST_F(BadInput, AFileThatIsNoJsonIsRefusedInRussianNamingItsLineAndPosition) {
  const std::pair<const char*, const char*> cases[] = {
      // The comma after 1 is missing: the reader stops on the quote that opens "Diametr".
      {"{\n  \"pipeline\": {\"Gas\": 1\n    \"Diametr\": 1420}\n}",
       "Ошибка во входном файле, строка 3, позиция 5: объект не закрыт: нет \"}\" или запятой между полями"},
      {"{\n  \"run\": {\"ScenarioCode\": -}\n}", "Ошибка во входном файле, строка 2, позиция 27: недопустимое число"},
      // Cyrillic letters take two bytes each and one position.
      {"{\n  \"texts\": {\"Mestn\": \"км 12\" x}}", "строка 2, позиция 30: объект не закрыт"},
      {"{\"run\" {}}", "строка 1, позиция 8: нет двоеточия после имени поля"},
      {"{}\nx", "Ошибка во входном файле, строка 2, позиция 1: лишний текст после конца объекта"},
      {" \n ", "Ошибка во входном файле: файл пуст"},
      // The place is the first character of the faulty token: it was the blank before NaN and +1, and the last
      // digit of 1e400.
      {R"({"settings": {"XLimit": NaN}})", "строка 1, позиция 25: недопустимое число"},
      {R"({"settings": {"XLimit": +1}})", "строка 1, позиция 25: недопустимое число"},
      {R"({"settings": {"XLimit": 1e400}})", "строка 1, позиция 25: недопустимое число"},
      // What is not JSON was read: "\q" as "q", 1. and .5 as numbers, a tab within a string as it stood.
      {R"({"texts": {"Mestn": "\q"}})", "строка 1, позиция 22: недопустимый знак после \\ в строке"},
      {R"({"settings": {"XLimit": 1.}})", "строка 1, позиция 25: недопустимое число"},
      {R"({"settings": {"XLimit": .5}})", "строка 1, позиция 25: недопустимое число"},
      {"{\"texts\": {\"Mestn\": \"\t\"}}", "строка 1, позиция 22: управляющий знак в строке"},
      // Lines that end in a lone CR were all line 1.
      {"{\r  \"run\": {\"ScenarioCode\": -}\r}", "строка 2, позиция 27: недопустимое число"},
      // A byte order mark is skipped, and CR LF ends one line.
      {"\xEF\xBB\xBF{\r\n  \"run\": {\"ScenarioCode\": -}\r\n}", "строка 2, позиция 27: недопустимое число"},
      {"{\"texts\": {\"Mestn\": \"\xD0\"}}", "строка 1, позиция 22: текст не в кодировке UTF-8"},
      {R"({"settings": {"XLimit": 12)", "строка 1, позиция 25: файл обрывается на числе"},
      // Well-formed JSON that is no object is refused before its keys are looked at.
      {R"([{"k": 1, "k": 2}])", "Ошибка во входном файле: ожидается объект JSON"},
  };
  for (const auto& [json, refusal] : cases) {
    const HeadlessResult r = RunHeadless(db_.path(), json, 2, {});
    EXPECT_EQ(r.exitCode, 2) << json;
    EXPECT_TRUE(r.error.contains(U(refusal))) << json << ": " << r.error.toStdString();
  }
}

TEST(DamagedDatabase, EveryDamagedValueOrFileIsRefusedNamingItsTable) {
  const std::vector<Edit> byTpid = {{"section", QJsonObject{{"TPID", 1}}}};
  const std::vector<Edit> settingsOfDb = {{"settings", QJsonValue::Undefined}};
  // A value of each table the run reads, made NULL, text and out of its range in turn.
  struct Target {
    const char* table;
    const char* column;
    const char* where;
    const char* outOfRange;
    int code;
    std::vector<Edit> edits;
  };
  const Target targets[] = {
      {"abc", "m", "", "-16", 5, {}},
      {"Wind", "N1", "WHERE idCity = 1", "200", 7, {}},
      {"TPs", "Length", "WHERE TPID = 1", "-5", 4, byTpid},
      {"Adjustment", "CStep", "", "-10", 5, settingsOfDb},
  };
  struct Case {
    QString sql;  // "truncate", "pages" and "header" damage the file itself
    int code;
    std::vector<Edit> edits;
    QString expected;
  };
  std::vector<Case> cases;
  for (const Target& t : targets)
    for (const char* value : {"NULL", "'x'", t.outOfRange})
      cases.push_back({QStringLiteral("UPDATE \"%1\" SET \"%2\" = %3 %4").arg(t.table, t.column, value, t.where),
                       t.code, t.edits, QStringLiteral("таблица \"%1\", столбец \"%2\"").arg(t.table, t.column)});
  const std::pair<const char*, const char*> more[] = {
      {"INSERT INTO TProbit SELECT * FROM TProbit WHERE rowid = 9", "таблица \"TProbit\", столбец \"Zn_Probit\""},
      {"UPDATE Adjustment SET CStep = 10.000000000000002",
       "столбец \"CStep\", строка 1: значение 10,000000000000002 должно быть целым"},
      {"UPDATE Adjustment SET CStep = 1073741824",
       "Ширина зоны расчета должна быть от двух шагов сетки (2147483648 м)"},
      {"DROP TABLE Lp", "нет таблиц: Lp"},
      // A section row without its ground code was "Указан неверный участок расчета".
      {"ALTER TABLE TPs DROP COLUMN Ground", "в таблице \"TPs\" нет столбца \"Ground\""},
      {"interrupted write", "незаконченную запись отменит следующий запуск программы"},
      {"truncate", "поврежден"},
      {"pages", "поврежден"},
      {"last pages", "поврежден"},
      {"header", "не является базой данных SQLite"},
      // Read-only, it left -wal and -shm beside itself, and on a read-only disk it could not be read.
      {"PRAGMA journal_mode=WAL", "в режиме журнала WAL"},
      // Gas data that make the outflow or the flame no finite number were "Проверте правильность ввода!".
      {"UPDATE abc SET m = 1", "Истечение газа не рассчитывается при молярной массе газа \"Метан\" 1."},
      {"UPDATE abc SET b = 100", "Геометрия факела не рассчитывается при коэффициентах газа \"Метан\" a* 21 и b* 100."},
      // A gas name no sheet cell holds failed every workbook after the whole calculation, in English.
      {"UPDATE abc SET VName = hex(zeroblob(20000))",
       "таблица \"abc\", столбец \"VName\", строка 1: название из 40000"}};
  for (const auto& [sql, expected] : more)
    cases.push_back({QString::fromUtf8(sql), 5,
                     QString::fromUtf8(sql).contains("Adjustment") ? settingsOfDb : std::vector<Edit>{},
                     QString::fromUtf8(expected)});
  // A town's wind that is a number, but one no flame is computed in.
  cases.push_back({"UPDATE Wind SET V16 = 9.95 WHERE idCity = 1", 1, {}, U("Скорость ветра 9,95 м/с больше 9,9 м/с")});
  // Values a hair beyond their bounds read as the bounds themselves ("9,9 м/с больше 9,9 м/с").
  cases.push_back({"UPDATE Wind SET V16 = 9.900000000000002 WHERE idCity = 1",
                   1,
                   {},
                   U("Скорость ветра 9,900000000000002 м/с больше 9,9 м/с")});
  cases.push_back({"UPDATE Wind SET N1 = 100.00000000000001 WHERE idCity = 1",
                   7,
                   {},
                   U("значение 100,00000000000001 вне пределов от 0 до 100")});
  // Gas and town data that the run refuses without their value in the text: the driver adds it.
  cases.push_back({"UPDATE abc SET qg = 0", 8, {}, U("больше 0 (теплота сгорания газа: значение 0)")});
  cases.push_back({"UPDATE abc SET DangerClass = 2", 8, {}, U("(Класс опасности газа \"Метан\": значение 2)")});
  cases.push_back({"UPDATE Wind SET Tmedium = 364.6 WHERE idCity = 1", 7, {}, U("до 364 (значение 364,6)")});
  for (const Case& c : cases) {
    test::DatabaseCopy copy;
    ASSERT_TRUE(copy.ok());
    QFile file(copy.path());
    if (c.sql == "interrupted write") {
      test::MakeInterruptedWrite(QStringLiteral(VELARON_PRISTINE_DB), copy.path());
    } else if (c.sql == "truncate") {
      ASSERT_TRUE(file.resize(file.size() / 2));
    } else if (c.sql == "pages" || c.sql == "header" || c.sql == "last pages") {
      ASSERT_TRUE(file.open(QIODevice::ReadWrite));
      // The pages after the file header, the header too, or two pages of the tables at the file's end.
      file.seek(c.sql == "pages" ? 100 : c.sql == "header" ? 0 : file.size() - 8192);
      file.write(QByteArray(4096, c.sql == "last pages" ? '\x11' : '\x5a'));
      file.close();
    } else {
      test::ExecOnFile(copy.path(), c.sql);
    }
    const HeadlessResult r = RunHeadless(copy.path(), Request(c.code, c.edits), 2, {});
    const QString& error = r.error;
    EXPECT_EQ(r.exitCode, 2) << c.sql.toStdString();
    EXPECT_TRUE(error.contains(c.expected)) << c.sql.toStdString() << ": " << error.toStdString();
    // A damaged file is told in Russian alone (SQLite's "database disk image is malformed" or its list of
    // damaged pages followed).
    EXPECT_TRUE(c.expected != U("поврежден") ||
                error == U("Не удалось открыть базу данных %1: файл базы данных поврежден").arg(copy.path()))
        << c.sql.toStdString();
  }
  // A file another program holds locked is refused after a short wait, with its own message.
  test::DatabaseCopy copy;
  {
    QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    holder.setDatabaseName(copy.path());
    ASSERT_TRUE(holder.open());
    QSqlQuery q(holder);
    ASSERT_TRUE(q.exec("BEGIN EXCLUSIVE") && q.exec("UPDATE Adjustment SET Tfb = Tfb"));
    const QString error = RunHeadless(copy.path(), Request(5, {}), 2, {}).error;
    EXPECT_TRUE(error.contains(QString::fromUtf8("заблокирована другой программой"))) << error.toStdString();
    q.exec("ROLLBACK");
  }
  QSqlDatabase::removeDatabase(QStringLiteral("holder"));
}

// A file another program takes after the driver's check: the first read of the run that fails refuses it
// with its cause. Before, the failed read gave an empty gas table and the run was refused as "Не все данные
// по газопроводу введены".
TEST(DamagedDatabase, AReadThatFailsRefusesTheRunWithItsCause) {
  test::DatabaseCopy copy;
  ASSERT_TRUE(copy.ok());
  QString error;
  const HeadlessRequest parsed = ParseHeadlessRequest(Request(5, {}), error).value();
  ASSERT_EQ(db::OpenDatabase(copy.path(), true), QString());
  {
    test::HeldDatabase held(copy.path());
    EXPECT_EQ(LoadRunData(parsed.request, parsed.sectionInline).error.toStdString(),
              "Ошибка чтения базы данных (таблица \"abc\"): база данных заблокирована другой программой");
  }
  EXPECT_EQ(LoadRunData(parsed.request, parsed.sectionInline).error, QString());
  db::CloseDatabase();
}

}  // namespace
}  // namespace velaron::run
