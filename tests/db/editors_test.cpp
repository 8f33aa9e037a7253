// Writes of the reference editors: rows found by key, duplicate names refused, town keys never 0.
#include <QSqlQuery>
#include <gtest/gtest.h>

#include "db_test_util.h"

namespace velaron::db::testing {
namespace {

using Editors = EmptyDbTest;

TEST_F(Editors, GasesAreFoundByNameAndDuplicatesRefused) {
  ASSERT_TRUE(InsertGas({"Газ А", 16, 50000, 21, 0.2, 4}).isEmpty());
  ASSERT_TRUE(InsertGas({"Газ Б", 30, 47000, 20, 0.2, 3}).isEmpty());

  EXPECT_FALSE(InsertGas({"Газ А", 99, 1, 1, 1, 1}).isEmpty());
  EXPECT_FALSE(InsertGas({" Газ А ", 99, 1, 1, 1, 1}).isEmpty());  // blanks around do not make it new
  EXPECT_FALSE(InsertGas({"   ", 99, 1, 1, 1, 1}).isEmpty());
  // Renaming Б to А is refused; А keeps its values.
  EXPECT_FALSE(UpdateGas("Газ Б", {"Газ А", 1, 1, 1, 1, 1}).isEmpty());
  std::vector<GasRow> gases = LoadGases();
  ASSERT_EQ(gases.size(), 2u);
  EXPECT_DOUBLE_EQ(gases[0].m, 16);
  EXPECT_EQ(gases[1].VName, QStringLiteral("Газ Б"));

  // Editing a gas under its own name works, and so does a rename to a free name; order is kept.
  ASSERT_TRUE(UpdateGas("Газ А", {"Газ А", 17, 50000, 21, 0.2, 5}).isEmpty());
  ASSERT_TRUE(UpdateGas("Газ Б", {"Газ В", 31, 47000, 20, 0.2, 3}).isEmpty());
  gases = LoadGases();
  EXPECT_DOUBLE_EQ(gases[0].m, 17);
  EXPECT_EQ(gases[0].DangerClass, 5);
  EXPECT_EQ(gases[1].VName, QStringLiteral("Газ В"));

  EXPECT_FALSE(UpdateGas("Нет такого", {"Газ Г", 1, 1, 1, 1, 1}).isEmpty());
  EXPECT_FALSE(DeleteGas("Нет такого").isEmpty());
  ASSERT_TRUE(DeleteGas("Газ А").isEmpty());
  gases = LoadGases();
  ASSERT_EQ(gases.size(), 1u);
  EXPECT_EQ(gases[0].VName, QStringLiteral("Газ В"));
}

TEST_F(Editors, RowsAtAPositionFollowTheStoredOrder) {
  ASSERT_TRUE(InsertGas({"Газ А", 16, 1, 1, 1, 4}).isEmpty());
  ASSERT_TRUE(InsertGas({"Газ Б", 30, 1, 1, 1, 3}).isEmpty());
  ASSERT_TRUE(InsertGas({"Газ В", 44, 1, 1, 1, 5}).isEmpty());
  EXPECT_EQ(LoadGasAt(2)->VName, QStringLiteral("Газ Б"));
  ASSERT_TRUE(DeleteGas("Газ А").isEmpty());
  // Position 2 is now the third gas added: the choice is a position, as the stored Gas value.
  EXPECT_EQ(LoadGasAt(2)->VName, QStringLiteral("Газ В"));
  EXPECT_FALSE(LoadGasAt(3).has_value());
  EXPECT_FALSE(LoadGasAt(0).has_value());
  EXPECT_FALSE(LoadGasAt(-1).has_value());
  ASSERT_TRUE(InsertRegion({"Север", 0.2, 1.1}).isEmpty());
  EXPECT_DOUBLE_EQ(LoadRegionAt(1)->Kreg, 1.1);
  EXPECT_FALSE(LoadRegionAt(2).has_value());
}

TEST_F(Editors, NamesWithQuotesAreStoredAsTyped) {
  // Names travel as bound values: a quote is an ordinary character.
  const QString name = QStringLiteral("Газ 'особый'; DROP TABLE abc; --");
  ASSERT_TRUE(InsertGas({name, 20, 1, 1, 1, 4}).isEmpty());
  EXPECT_EQ(LoadGases().at(0).VName, name);
  ASSERT_TRUE(DeleteGas(name).isEmpty());
  EXPECT_TRUE(LoadGases().empty());
}

TEST_F(Editors, RegionsFollowTheSameRules) {
  ASSERT_TRUE(InsertRegion({"Север", 0.2, 1.1}).isEmpty());
  ASSERT_TRUE(InsertRegion({"Юг", 0.4, 0.9}).isEmpty());
  EXPECT_FALSE(InsertRegion({"Юг", 1, 1}).isEmpty());
  EXPECT_FALSE(UpdateRegion("Север", {"Юг", 1, 1}).isEmpty());
  ASSERT_TRUE(UpdateRegion("Север", {"Север", 0.25, 1.2}).isEmpty());
  std::vector<RegionRow> rows = LoadRegions();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_DOUBLE_EQ(rows[0].lambda, 0.25);
  EXPECT_DOUBLE_EQ(rows[1].lambda, 0.4);
  ASSERT_TRUE(DeleteRegion("Юг").isEmpty());
  EXPECT_EQ(LoadRegions().size(), 1u);
}

WindRow Town(const QString& name, double base) {
  WindRow w;
  w.CityName = name;
  for (int i = 0; i < 9; ++i) {
    w.winter[i] = base + i;
    w.summer[i] = base + 10 + i;
    w.speedWinter[i] = 0.1 * i;
    w.speedSummer[i] = 0.2 * i;
  }
  w.Tmedium = 200;
  return w;
}

TEST_F(Editors, ANewTownGetsAFreshNonZeroKey) {
  WindRow a = Town("Аргун", 1);
  ASSERT_TRUE(InsertWind(a).isEmpty());
  EXPECT_EQ(a.idCity, 1);  // empty table: the first key is 1, never 0
  // A town keyed 7 by hand and a legacy row keyed 0: the next key is above every key.
  Exec("INSERT INTO Wind (idCity, CityName) VALUES (7, 'Борзя')");
  Exec("INSERT INTO Wind (idCity, CityName) VALUES (0, 'Старый')");
  WindRow c = Town("Чита", 2);
  ASSERT_TRUE(InsertWind(c).isEmpty());
  EXPECT_EQ(c.idCity, 8);

  WindRow dup = Town("Чита", 3);
  dup.idCity = -5;
  EXPECT_FALSE(InsertWind(dup).isEmpty());
  EXPECT_EQ(dup.idCity, -5);  // a refused town gets no key
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Wind").toInt(), 4);
}

TEST_F(Editors, TownValuesLandInTheirColumns) {
  WindRow w = Town("Аргун", 1);
  ASSERT_TRUE(InsertWind(w).isEmpty());
  QSqlQuery q(Connection());
  ASSERT_TRUE(q.exec("SELECT * FROM Wind"));
  ASSERT_TRUE(q.next());
  // Column order: idCity, CityName, N1..ST1 (3-11), N2..ST2 (12-20), V11..V19, V21..V29, Tmedium.
  EXPECT_EQ(q.value(0).toInt(), w.idCity);
  EXPECT_EQ(q.value(1).toString(), QStringLiteral("Аргун"));
  EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 1);     // N1
  EXPECT_DOUBLE_EQ(q.value(10).toDouble(), 9);    // ST1
  EXPECT_DOUBLE_EQ(q.value(11).toDouble(), 11);   // N2
  EXPECT_DOUBLE_EQ(q.value(20).toDouble(), 0);    // V11
  EXPECT_DOUBLE_EQ(q.value(28).toDouble(), 0.8);  // V19
  EXPECT_DOUBLE_EQ(q.value(37).toDouble(), 1.6);  // V29
  EXPECT_DOUBLE_EQ(q.value(38).toDouble(), 200);  // Tmedium
  const auto back = LoadWind(w.idCity);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->winter, w.winter);
  EXPECT_EQ(back->summer, w.summer);
  EXPECT_EQ(back->speedWinter, w.speedWinter);
  EXPECT_EQ(back->speedSummer, w.speedSummer);
}

TEST_F(Editors, TownsAreEditedAndDeletedByKey) {
  WindRow a = Town("Якутск", 1), b = Town("Анадырь", 2);
  ASSERT_TRUE(InsertWind(a).isEmpty());
  ASSERT_TRUE(InsertWind(b).isEmpty());
  // Listed by name.
  std::vector<WindRow> towns = LoadWinds();
  ASSERT_EQ(towns.size(), 2u);
  EXPECT_EQ(towns[0].CityName, QStringLiteral("Анадырь"));

  WindRow renamed = a;
  renamed.CityName = QStringLiteral("Анадырь");
  EXPECT_FALSE(UpdateWind(renamed).isEmpty());
  a.Tmedium = 150;
  ASSERT_TRUE(UpdateWind(a).isEmpty());
  EXPECT_DOUBLE_EQ(LoadWind(a.idCity)->Tmedium, 150);
  EXPECT_DOUBLE_EQ(LoadWind(b.idCity)->Tmedium, 200);

  WindRow ghost = Town("Нигде", 1);
  ghost.idCity = 99;
  EXPECT_FALSE(UpdateWind(ghost).isEmpty());
  EXPECT_FALSE(DeleteWind(99).isEmpty());
  ASSERT_TRUE(DeleteWind(a.idCity).isEmpty());
  EXPECT_FALSE(LoadWind(a.idCity).has_value());
  EXPECT_TRUE(LoadWind(b.idCity).has_value());
}

TEST_F(Editors, TownsAreListedInTheRussianAlphabetWhateverTheirLetterCase) {
  // Byte order would list "Ёлкино" first (Ё is U+0401, before А) and "азов" last (lower case after every
  // capital). The alphabet: А б з ... Б ... Е, then Ё.
  for (const char* name : {"Ёлкино", "Белгород", "азов", "Елец", "Абакан"}) {
    WindRow town = Town(QString::fromUtf8(name), 1);
    ASSERT_TRUE(InsertWind(town).isEmpty()) << name;
  }
  QStringList names;
  for (const WindRow& town : LoadWinds()) names << town.CityName;
  EXPECT_EQ(names, (QStringList{"Абакан", "азов", "Белгород", "Елец", "Ёлкино"}));
}

}  // namespace
}  // namespace velaron::db::testing
