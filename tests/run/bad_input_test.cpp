// Bad and extreme inputs through the headless driver's code path: every input out of its range, every
// damaged reference value and every damaged database file is refused with a message naming its cause, and
// extreme but valid inputs end with numbers in their physical ranges.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>
#include <vector>

#include "run/headless.h"
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
        if (QLatin1String(grid) == QLatin1String("GridProc")) EXPECT_LE(v.toDouble(), 100) << name;
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
      {"wind at the limit, pit flame", 3, {{"run.WindSpeed", 9.9}}, nullptr},
      {"wind at the limit, frustum flame", 4, {{"run.WindSpeed", 9.9}, {"section.Azimut", 360}}, nullptr},
      {"azimuth of 2e16 degrees", 4, {{"section.Azimut", 2e16}}, "Азимут трубопровода, °: значение 2E+16"},
      {"azimuth below 0", 1, {{"section.Azimut", -1}}, "Азимут трубопровода"},
      // Settings arithmetic that would wrap round.
      {"grid step of 2^30", 5, {{"settings.CStep", 1073741824}}, "двух шагов сетки (2147483648 м)"},
      // Inputs out of their ranges.
      {"inversions of 200 %", 6, {{"pipeline.InversPercent", 200}}, "инверсионной устойчивости атмосферы, %: значение 200"},
      {"inversions of 100 %", 6, {{"pipeline.InversPercent", 100}}, nullptr},
      {"accident probability 5", 6, {{"rate", QJsonObject{{"way", 3}, {"alfa_tr", 5}}}}, "(1 км) в течение года: значение 5"},
      {"negative accidents per 1000 km", 6, {{"rate", QJsonObject{{"way", 2}, {"RegionPos", 1}, {"Text8", -1}}}},
       "Количество аварий на 1000 км"},
      {"negative section length", 6, {{"section.Length", -5}}, "Длина участка, м: значение -5"},
      {"negative distance", 6, {{"section.Udal", -1}}, "Удаление начала участка"},
      {"a thousand accidents per km", 2, {{"rate", QJsonObject{{"way", 2}, {"RegionPos", 1}, {"Text8", 1e6}}},
                                          {"external.Check5", 1}}, "PRupture = 1,2"},
      {"crossing sum -2", 6, {{"section.p_v", -2}}, "(p_v): значение -2"},
      {"negative erosion probability", 6, {{"external.Check5", 1}, {"external.Eroz", -0.5}}, "эрозии почвы: значение -0,5"},
      {"river crossings probability 1.5", 6, {{"external.Check8", 1}, {"external.Rechper", 1.5}}, "речных переходов"},
      {"jet share above 1", 3, {{"run.shares", QJsonObject{{"Pkw", 2}, {"Psw", 0}, {"Paw", 0}, {"Pks", 0}, {"Pss", 0}, {"Pas", 0}}}},
       "Вероятности факелов"},
      {"gas temperature 1e308", 5, {{"pipeline.Temp", 1e308}}, "Температура газа, °С: значение 1E+308"},
      // Results that would not be finite numbers.
      {"escape speed 1e-310 m/s", 5, {{"settings.Skor_chel", 1e-310}}, "не является конечным числом"},
      {"cloud time 1e300 s", 8, {{"settings.Tobl", 1e300}}, "не является конечным числом"},
      // The driver's own strictness.
      {"misspelt group", 6, {{"externals", QJsonObject{}}}, "неизвестное поле \"externals\""},
      {"misspelt key", 5, {{"run.Windspeed", 3}}, "неизвестное поле \"Windspeed\" в \"run\""},
  };
  for (const Case& c : cases) {
    const HeadlessResult r = RunHeadless(db_.path(), Request(c.code, c.edits), 2, {"GridProc", "GridValue"});
    const QJsonObject out = test::ParseJson(r.output);
    if (c.refusal) {
      EXPECT_EQ(r.exitCode, 2) << c.name;
      EXPECT_TRUE(out["error"].toString().contains(QString::fromUtf8(c.refusal)))
          << c.name << ": " << out["error"].toString().toStdString();
    } else {
      EXPECT_EQ(r.exitCode, 0) << c.name << ": " << r.output.left(300).toStdString();
      ExpectSaneNumbers(out, c.name);
    }
  }
  // An input file of more than 16 MB is not read.
  const HeadlessResult huge = RunHeadless(db_.path(), QByteArray(kMaxInputBytes + 1, ' '), 2, {});
  EXPECT_TRUE(test::ParseJson(huge.output)["error"].toString().contains(QString::fromUtf8("больше 16 МБ")));
}

// Runs `sql` on the database file (its own connection, closed again).
void Damage(const QString& path, const char* sql) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("damage"));
    db.setDatabaseName(path);
    ASSERT_TRUE(db.open());
    QSqlQuery q(db);
    for (const QString& statement : QString::fromUtf8(sql).split(QLatin1Char(';'), Qt::SkipEmptyParts))
      ASSERT_TRUE(q.exec(statement)) << statement.toStdString() << " " << q.lastError().text().toStdString();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("damage"));
}

TEST(DamagedDatabase, EveryDamagedValueOrFileIsRefusedNamingItsTable) {
  const std::vector<Edit> byTpid = {{"section", QJsonObject{{"TPID", 1}}}};
  const std::vector<Edit> settingsOfDb = {{"settings", QJsonValue::Undefined}};
  struct Case {
    const char* sql;  // "truncate", "pages" and "header" damage the file itself
    int code;
    std::vector<Edit> edits;
    const char* table;
    const char* column;  // the part of the message after the table
  };
  const Case cases[] = {
      {"UPDATE abc SET b = 'abc'", 5, {}, "\"abc\"", "\"b\", строка 1: \"abc\" не является числом"},
      {"UPDATE abc SET m = NULL", 5, {}, "\"abc\"", "\"m\", строка 1: значение не задано"},
      {"UPDATE abc SET m = -16", 5, {}, "\"abc\"", "\"m\", строка 1: значение -16 должно быть больше 0"},
      {"UPDATE Statistics SET lambda = NULL", 5, {}, "\"Statistics\"", "\"lambda\""},
      {"UPDATE Statistics SET Kreg = -1", 5, {}, "\"Statistics\"", "\"Kreg\""},
      {"UPDATE tabKoef_Dy SET kreg = 'x' WHERE Dy = 529", 5, {}, "\"tabKoef_Dy\"", "\"kreg\""},
      {"INSERT INTO tabKoef_Dy (Dy, kreg) VALUES (529, 1)", 5, {}, "\"tabKoef_Dy\"", "значение 529 повторяется"},
      {"UPDATE Ground3 SET P4 = -1 WHERE Ground = '2.1.1.2'", 6, {}, "\"Ground3\"", "\"P4\""},
      {"UPDATE Ground3 SET WP3_2 = NULL WHERE Ground = '2.1.1.2'", 4, {}, "\"Ground3\"", "\"WP3_2\""},
      {"UPDATE Wind SET N1 = 200 WHERE idCity = 1", 7, {}, "\"Wind\"", "\"N1\", строка 1: значение 200"},
      {"UPDATE Wind SET V23 = 'ветер' WHERE idCity = 1", 7, {}, "\"Wind\"", "\"V23\""},
      {"UPDATE \"100b\" SET cp = 0 WHERE rowid = 3", 5, {}, "\"100b\"", "\"cp\", строка 3"},
      {"UPDATE \"1b\" SET t = NULL WHERE rowid = 7", 5, {}, "\"1b\"", "\"t\", строка 7"},
      {"UPDATE Lp SET L = 'x' WHERE rowid = 2", 2, {}, "\"Lp\"", "\"L\", строка 2"},
      {"UPDATE TProbit SET Zn_Procent = 200 WHERE rowid = 5", 5, {}, "\"TProbit\"", "\"Zn_Procent\", строка 5"},
      {"INSERT INTO TProbit SELECT * FROM TProbit WHERE rowid = 9", 6, {}, "\"TProbit\"", "\"Zn_Probit\""},
      {"UPDATE TPs SET Azimut = 2e16 WHERE TPID = 1", 4, byTpid, "\"TPs\"", "\"Azimut\""},
      {"UPDATE TPs SET Length = NULL WHERE TPID = 1", 6, byTpid, "\"TPs\"", "\"Length\""},
      {"UPDATE Adjustment SET CStep = NULL", 5, settingsOfDb, "\"Adjustment\"", "\"CStep\""},
      {"UPDATE Adjustment SET CStep = 1073741824", 5, settingsOfDb, "Ширина зоны расчета", "(2147483648 м)"},
      // Values the run reads that are numbers, but ones no flame can be computed in.
      {"UPDATE Wind SET V16 = 9.95 WHERE idCity = 1", 1, {}, "Скорость ветра 9,95 м/с больше 9,9 м/с", ""},
      {"DROP TABLE Lp", 5, {}, "нет таблиц: Lp", ""},
      {"truncate", 5, {}, "поврежден", ""},
      {"pages", 5, {}, "поврежден", ""},
      {"header", 5, {}, "не является базой данных SQLite", ""},
  };
  for (const Case& c : cases) {
    test::DatabaseCopy copy;
    ASSERT_TRUE(copy.ok());
    const std::string sql = c.sql;
    QFile file(copy.path());
    if (sql == "truncate") {
      ASSERT_TRUE(file.resize(file.size() / 2));
    } else if (sql == "pages" || sql == "header") {
      ASSERT_TRUE(file.open(QIODevice::ReadWrite));
      file.seek(sql == "pages" ? 100 : 0);  // the pages after the file header, or the header too
      file.write(QByteArray(4096, '\x5a'));
      file.close();
    } else {
      Damage(copy.path(), c.sql);
    }
    const HeadlessResult r = RunHeadless(copy.path(), Request(c.code, c.edits), 2, {});
    const QString error = test::ParseJson(r.output)["error"].toString();
    EXPECT_EQ(r.exitCode, 2) << c.sql;
    EXPECT_TRUE(error.contains(QString::fromUtf8(c.table)) && error.contains(QString::fromUtf8(c.column)))
        << c.sql << ": " << error.toStdString();
  }
  // A file another program holds locked is refused after a short wait, with its own message.
  test::DatabaseCopy copy;
  {
    QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    holder.setDatabaseName(copy.path());
    ASSERT_TRUE(holder.open());
    QSqlQuery q(holder);
    ASSERT_TRUE(q.exec("BEGIN EXCLUSIVE") && q.exec("UPDATE Adjustment SET Tfb = Tfb"));
    const QString error = test::ParseJson(RunHeadless(copy.path(), Request(5, {}), 2, {}).output)["error"].toString();
    EXPECT_TRUE(error.contains(QString::fromUtf8("заблокирована другой программой"))) << error.toStdString();
    q.exec("ROLLBACK");
  }
  QSqlDatabase::removeDatabase(QStringLiteral("holder"));
}

}  // namespace
}  // namespace velaron::run
