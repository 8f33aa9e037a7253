#include "run/headless.h"

#include <QDateTime>
#include <new>

#include "common/qt_text.h"
#include "db/database.h"
#include "db/table_checks.h"
#include "models/parallel.h"
#include "run/execute.h"
#include "run/input_checks.h"
#include "run/prepare.h"
#include "run/run_texts.h"

namespace velaron::run {

HeadlessResult RunHeadless(const QString& dbPath, const QByteArray& inputJson, int threads, const QStringList& grids,
                           const RequestCheck& beforeRun) {
  HeadlessResult res;
  auto refuse = [&](const QString& message) {
    res.exitCode = 2;
    res.error = message;
    return res;
  };
  for (const QString& g : grids) {
    if (!result::GridNames().contains(g)) return refuse(QStringLiteral("Неизвестная сетка: ") + g);
    if (grids.count(g) > 1) return refuse(QStringLiteral("Сетка указана несколько раз: ") + g);
  }
  if (inputJson.size() > kMaxInputBytes)
    return refuse(QStringLiteral("Ошибка во входном файле: файл больше %1 МБ").arg(kMaxInputBytes >> 20));
  QString error;
  auto parsed = ParseHeadlessRequest(inputJson, error);
  if (!parsed) return refuse(error);
  // The program's start-up probe, on the driver's file: the database is only read here.
  if (QString why = db::ProbeDatabaseFile(dbPath, false); !why.isEmpty())
    return refuse(QStringLiteral("Не удалось открыть базу данных %1: %2").arg(dbPath, why));
  if (QString e = db::OpenDatabase(dbPath, true); !e.isEmpty()) return refuse(e);
  struct Closer {
    ~Closer() { db::CloseDatabase(); }
  } closer;
  result::RunRequest& request = parsed->request;
  if (!parsed->settingsGiven) {
    if (QString e = db::CheckAdjustmentNumbers(); !e.isEmpty()) return refuse(e);
    const auto adj = db::LoadAdjustment();
    if (!adj.ok()) return refuse(adj.error);
    if (!adj.value) return refuse(QString::fromUtf8("В базе данных нет параметров расчета"));
    request.settings = *adj.value;
  }
  if (beforeRun)
    if (QString e = beforeRun(request); !e.isEmpty()) return refuse(e);
  if (!parsed->scenario)
    return refuse(WithShownValue(U(texts::kBadScenario),
                                 ShownValue(QStringLiteral("ScenarioCode"), NumberText(parsed->scenarioCode))));
  // The checks before the run compute flux too: they take the run's threads, no more.
  models::SetThreadCount(threads);
  PrepareResult prepared;
  try {
    const RunData data = LoadRunData(request, parsed->sectionInline);
    prepared = PrepareRun(request, data, QDateTime::currentDateTime());
  } catch (const std::bad_alloc&) {
    return refuse(QStringLiteral("Не хватает памяти для расчета"));
  } catch (const std::exception& e) {
    return refuse(QString::fromUtf8(e.what()));
  }
  if (!prepared.ok()) return refuse(WithShownValue(prepared.error, prepared.shown));
  RunOutcome outcome = ExecuteRun(std::move(*prepared.run), models::NoProgress());
  if (!outcome.ok()) return refuse(WithShownValue(outcome.error, outcome.shown));
  res.record = std::move(outcome.snapshot);
  return res;
}

}  // namespace velaron::run
