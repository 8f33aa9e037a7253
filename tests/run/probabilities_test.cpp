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
  const struct {
    double P4, p_v, expected;
    const char* why;
  } cases[] = {
      {0.25, 0, 0.25, "no crossings: P4 itself"},
      {0.25, 1, 0.5, "0.25 + 0.25"},
      {0.6, 1, 0.95, "1.2 is above 1: 0.95, not 1 and not 1.2"},
      {0.501, 1, 0.95, "1.002 is above 1"},
      {0.5, 1, 1.0, "exactly 1 stays 1"},
      {1, 0, 1.0, "P4 of 1 without crossings: exactly 1"},
      {0.48, 1, 0.96, "0.96 lies below 1 and is kept, though above 0.95"},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(IgnitionProbability(c.P4, c.p_v), c.expected) << c.why;
}

// Through the driver, with the section's ground row given the base ignition probability: a sum of
// crossings of 3 is taken as 1 first (with its note), so P4 0.6 gives 1.2 → 0.95 and P4 0.5 gives 1.
TEST(Ignition, TheDriverPrintsTheCappedValue) {
  const struct {
    double P4, p_v, expected;
  } cases[] = {{0.6, 3, 0.95}, {0.6, 1, 0.95}, {0.5, 1, 1.0}, {0.5, 0.5, 0.75}};
  for (const auto& c : cases) {
    test::DatabaseCopy db;
    ASSERT_TRUE(db.ok());
    test::ExecOnFile(db.path(), QStringLiteral("UPDATE Ground3 SET P4 = %1 WHERE Ground = '2.1.1.2'").arg(c.P4));
    QByteArray in = test::SampleRequest(6, 200, 20);
    in.replace("\"p_v\": 0.1", "\"p_v\": " + QByteArray::number(c.p_v));
    const HeadlessResult r = RunHeadless(db.path(), in, 2, {});
    ASSERT_EQ(r.exitCode, 0) << r.error.toStdString();
    const QJsonObject o = test::ParseJson(test::DriverOutput(r));
    EXPECT_DOUBLE_EQ(o["probabilities"].toObject()["PIgnition"].toDouble(), c.expected) << c.P4 << " " << c.p_v;
  }
}

}  // namespace
}  // namespace velaron::run
