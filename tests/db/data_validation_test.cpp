// The shipped database, checked against the rules its data must keep. Works on a copy of the pristine
// file the build makes.
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numeric>
#include <set>

#include "db_test_util.h"

namespace velaron::db::testing {
namespace {

class ShippedData : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    const QString path = dir_.filePath(QStringLiteral("data.db"));
    CopyPristine(path);
    const QString error = OpenDatabase(path);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
  }
  void TearDown() override { CloseDatabase(); }

  static int Count(const QString& table) {
    return Scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)).toInt();
  }

  QTemporaryDir dir_;
};

TEST_F(ShippedData, GasPropertyTablesHoldTheCommittedBitsAndKeepCpAboveR) {
  QFile file(SourcePath("data/methane/methane-properties.csv"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  std::map<QString, std::vector<std::array<double, 3>>> csv;
  for (const QByteArray& line : file.readAll().split('\n').mid(1)) {
    const QList<QByteArray> f = line.split(',');
    if (f.size() == 4) csv[QString::fromLatin1(f[0])].push_back({f[1].toDouble(), f[2].toDouble(), f[3].toDouble()});
  }
  const std::vector<GasRow> gases = LoadGases().value;
  ASSERT_FALSE(gases.empty());
  const auto read = LoadReferenceTables();
  ASSERT_TRUE(read.ok()) << read.error.toStdString();
  const models::ReferenceTables& tables = read.value;
  for (std::size_t i = 0; i < tables.gas.size(); ++i) {
    const auto& rows = tables.gas[i].rows;
    const auto& want = csv[GasTableName(i)];
    ASSERT_EQ(rows.size(), 151u) << i;
    ASSERT_EQ(want.size(), rows.size()) << i;
    EXPECT_EQ(rows.front().t, 223.0);
    EXPECT_EQ(rows.back().t, 373.0);
    for (std::size_t k = 0; k < rows.size(); ++k) {
      EXPECT_EQ(rows[k].t, want[k][0]);
      EXPECT_EQ(rows[k].cp, want[k][1]);
      EXPECT_EQ(rows[k].v, want[k][2]);
      EXPECT_GT(rows[k].v, 0.0);
      // AdiabK = cp/(cp − 8.314/m) needs cp above the gas constant per kg for every gas.
      for (const GasRow& g : gases) EXPECT_GT(rows[k].cp, 8.314 / g.m) << g.VName.toStdString() << " " << rows[k].t;
    }
  }
}

// 5 + the inverse of the standard normal law at p, found by halving an interval on Φ(x) = erfc(−x/√2)/2.
double ProbitOf(double p) {
  double lo = -10, hi = 10;
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (lo + hi);
    (0.5 * std::erfc(-mid / std::sqrt(2.0)) < p ? lo : hi) = mid;
  }
  return 5 + 0.5 * (lo + hi);
}

TEST_F(ShippedData, ProbitAndPitTablesFollowTheirFormulasToThePrintedDigits) {
  // Each printed probit is 5 + Φ⁻¹(P/100) to two decimals, at P = 1..99 %. The printed table rounds 12 %
  // (3.82501) and 88 % (6.17499) the other way, so a row may stand up to just over half a unit of the last
  // digit off; a mistyped digit stands a whole unit or more off. 50 % is the median: probit 5 exactly.
  const auto read = LoadReferenceTables();
  ASSERT_TRUE(read.ok()) << read.error.toStdString();
  const models::ReferenceTables& tables = read.value;
  ASSERT_EQ(tables.probit.size(), 99u);
  for (std::size_t k = 0; k < tables.probit.size(); ++k) {
    const double percent = static_cast<double>(k + 1);
    EXPECT_DOUBLE_EQ(tables.probit[k].Zn_Procent, percent);
    EXPECT_NEAR(tables.probit[k].Zn_Probit, ProbitOf(percent / 100), 0.0051) << percent << " %";
    EXPECT_GT(tables.probit[k].Zn_Probit, k ? tables.probit[k - 1].Zn_Probit : 0.0);
  }
  EXPECT_DOUBLE_EQ(tables.probit.front().Zn_Probit, 2.67);
  EXPECT_DOUBLE_EQ(tables.probit[49].Zn_Probit, 5.00);
  EXPECT_DOUBLE_EQ(tables.probit.back().Zn_Probit, 7.33);
  EXPECT_EQ(Count("Probit"), 0);
  // L = 2R, R = √(0.64·(D³p)^(2/3) + 0.65·(D³p)^(1/3) − 0.83·Dc²), p = 7500 kPa, Dc = cover + D/2 with a
  // cover of 0.8 m below 1 m of diameter and 1.0 m from 1 m on; the table prints L to one decimal, at
  // D = 0.1 .. 1.5 m rising.
  ASSERT_EQ(tables.lp.size(), 14u);
  EXPECT_DOUBLE_EQ(tables.lp.front().D, 0.1);
  EXPECT_DOUBLE_EQ(tables.lp.back().D, 1.5);
  for (std::size_t k = 0; k < tables.lp.size(); ++k) {
    const models::LpRow& row = tables.lp[k];
    const double x = row.D * row.D * row.D * 7500;
    const double dc = (row.D < 1 ? 0.8 : 1.0) + row.D / 2;
    const double l = 2 * std::sqrt(0.64 * std::pow(x, 2.0 / 3) + 0.65 * std::cbrt(x) - 0.83 * dc * dc);
    EXPECT_NEAR(row.L, l, 0.05 + 1e-9) << "D = " << row.D;
    EXPECT_GT(row.D, k ? tables.lp[k - 1].D : 0.0);
  }
}

TEST_F(ShippedData, SoilTreeAndItsShares) {
  const std::vector<GroundTypeRow> nodes = LoadGroundTypes().value;
  std::map<int, GroundTypeRow> byId;
  for (const auto& n : nodes) {
    EXPECT_NE(n.GID, 0);
    EXPECT_TRUE(byId.emplace(n.GID, n).second) << "GID twice: " << n.GID;
  }
  // Level of a node = number of steps to the root; a leaf path joins the four codes.
  std::set<QString> leafPaths;
  for (const auto& n : nodes) {
    QStringList codes = {n.GroundCode};
    int level = 1;
    for (int p = n.grParent; p != 0; p = byId.at(p).grParent, ++level) {
      ASSERT_TRUE(byId.count(p)) << "missing parent " << p;
      codes.prepend(byId.at(p).GroundCode);
    }
    ASSERT_LE(level, 4);
    if (level < 4) EXPECT_FALSE(LoadGroundChildren(n.GID).value.empty()) << n.Ground.toStdString() << " has no child";
    else leafPaths.insert(codes.join('.'));
  }
  EXPECT_EQ(leafPaths.size(), 30u);

  QSqlQuery q(Connection());
  ASSERT_TRUE(q.exec("SELECT Ground FROM Ground3"));
  std::map<QString, int> perPath;
  while (q.next()) ++perPath[q.value(0).toString()];
  EXPECT_EQ(perPath.size(), leafPaths.size());
  for (const QString& path : leafPaths) {
    EXPECT_EQ(perPath[path], 1) << path.toStdString();
    const auto g3 = LoadGround3(path).value;
    ASSERT_TRUE(g3.has_value());
    EXPECT_NEAR(g3->SP3_1 + g3->SP3_2 + g3->SP3_3, 1.0, 1e-12);
    EXPECT_NEAR(g3->WP3_1 + g3->WP3_2 + g3->WP3_3, 1.0, 1e-12);
    EXPECT_TRUE(g3->P4 >= 0 && g3->P4 <= 1) << g3->P4;
  }
}

TEST_F(ShippedData, TownsKeepTheirWindRules) {
  const std::vector<WindRow> towns = LoadWinds().value;
  ASSERT_FALSE(towns.empty());
  std::set<int> ids;
  for (const WindRow& w : towns) {
    EXPECT_NE(w.idCity, 0);
    EXPECT_TRUE(ids.insert(w.idCity).second);
    EXPECT_GT(std::accumulate(w.winter.begin(), w.winter.end(), 0.0), 0.0);
    EXPECT_GT(std::accumulate(w.summer.begin(), w.summer.end(), 0.0), 0.0);
    for (int i = 0; i < 9; ++i)
      for (double v : {w.speedWinter[i], w.speedSummer[i]}) EXPECT_TRUE(v >= 0 && v < 10) << v;
    EXPECT_TRUE(w.Tmedium >= 0 && w.Tmedium <= 364) << w.Tmedium;
  }
  // The shipped town, column by column, as the climate code's January and July tables give it (N .. NW,
  // calm): January repetitions 2+7+6+2+2+74+6+1 = 100, south-west wind 74 % at 5.9 m/s.
  const auto town = LoadWind(1).value;
  ASSERT_TRUE(town.has_value());
  EXPECT_EQ(town->CityName, QStringLiteral("Хабаровск"));
  EXPECT_DOUBLE_EQ(town->Tmedium, 207);
  using Row = std::array<double, 9>;
  EXPECT_EQ(town->winter, (Row{2, 7, 6, 2, 2, 74, 6, 1, 0}));
  EXPECT_EQ(town->summer, (Row{3, 25, 17, 5, 4, 35, 7, 4, 0}));
  EXPECT_EQ(town->speedWinter, (Row{3.3, 5.7, 4.2, 2.7, 3.5, 5.9, 4.1, 2.2, 0}));
  EXPECT_EQ(town->speedSummer, (Row{3.4, 6.0, 4.6, 3.3, 3.6, 4.6, 3.6, 2.9, 0}));
}

}  // namespace
}  // namespace velaron::db::testing
