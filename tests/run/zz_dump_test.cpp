#include <gtest/gtest.h>
#include "run/headless.h"
#include "run/execute.h"
#include "run/prepare.h"
#include "db/database.h"
#include "run_fixtures.h"
namespace velaron::run {
TEST(Dump, Pictures) {
  test::DatabaseCopy db;
  db::OpenDatabase(db.path(), true);
  for (int code : {2, 4, 5, 6}) {
    RunRequest r = test::GoodRequest(code);
    r.pipeline.Diametr = 1420; r.pipeline.DavlDown = 7.4; r.pipeline.DavlUp = 5.4; r.rate.way = 1; r.rate.RegionPos = 1;
    r.settings.XLimit = 400; r.settings.YLimit = 400;
    RunData d = LoadRunData(r, false);
    auto p = PrepareRun(r, d, QDateTime::currentDateTime());
    ASSERT_TRUE(p.ok()) << p.error.toStdString();
    auto o = ExecuteRun(*p.run, models::NoProgress(), ExecuteOptions{true, true, {}});
    ASSERT_TRUE(o.ok());
    o.snapshot->imgDiagr1.save(QString("/tmp/pic%1_1.png").arg(code));
    o.snapshot->imgDiagr2.save(QString("/tmp/pic%1_2.png").arg(code));
    o.snapshot->imgRisk.save(QString("/tmp/pic%1_r.png").arg(code));
  }
  db::CloseDatabase();
}
}
