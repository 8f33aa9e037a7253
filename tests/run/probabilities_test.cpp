// The ignition probability P4 + P4·p_v: a sum above 1 is taken as 0.95, a sum of exactly 1 stays 1, and a
// sum below 1 (0.96 too) is kept. Expected values are the method's sums worked by hand.
#include <gtest/gtest.h>

#include <QJsonObject>

#include "db/db_files.h"
#include "run/headless.h"
#include "run/probabilities.h"
#include "run_fixtures.h"

namespace velaron::run {
namespace {

TEST(Ignition, ASumAboveOneIsTakenAs095AndExactlyOneStays) {
  EXPECT_DOUBLE_EQ(IgnitionProbability(0.25, 0), 0.25);   // no crossings: P4 itself
  EXPECT_DOUBLE_EQ(IgnitionProbability(0.48, 1), 0.96);   // below 1 and kept, though above 0.95
  EXPECT_DOUBLE_EQ(IgnitionProbability(0.5, 1), 1.0);     // exactly 1 stays 1
  EXPECT_DOUBLE_EQ(IgnitionProbability(0.501, 1), 0.95);  // 1.002 is above 1: 0.95, not 1 and not 1.002
}

// Through the driver, with the section's ground row given the base ignition probability: a sum of
// crossings of 3 is taken as 1 first (with its note), so P4 0.5 gives 1, not 0.95; P4 0.6 gives 1.2 → 0.95.
TEST(Ignition, TheDriverPrintsTheCappedValue) {
  test::DatabaseCopy db;
  ASSERT_TRUE(db.ok());
  const double cases[][3] = {{0.5, 3, 1}, {0.6, 1, 0.95}, {0.5, 0.5, 0.75}};  // P4, p_v, PIgnition
  for (const auto& [P4, p_v, expected] : cases) {
    test::ExecOnFile(db.path(), QStringLiteral("UPDATE Ground3 SET P4 = %1 WHERE Ground = '2.1.1.2'").arg(P4));
    QByteArray in = test::SampleRequest(6, 200, 20);
    const HeadlessResult r =
        RunHeadless(db.path(), in.replace("\"p_v\": 0.1", "\"p_v\": " + QByteArray::number(p_v)), 2, {});
    ASSERT_EQ(r.exitCode, 0) << r.error.toStdString();
    const QJsonObject o = test::ParseJson(test::DriverOutput(r));
    EXPECT_DOUBLE_EQ(o["probabilities"].toObject()["PIgnition"].toDouble(), expected) << P4 << " " << p_v;
  }
}

}  // namespace
}  // namespace velaron::run
