#include "ui/run/worker_thread.h"

#include <QThread>

namespace velaron::ui {

namespace {
WorkerStarter g_starter;
}

bool StartWorker(QThread* thread) {
  if (g_starter) return g_starter(thread);
  thread->start();
  // A refused thread is neither running nor finished; one that already ended is finished.
  return thread->isRunning() || thread->isFinished();
}

void SetWorkerStarter(WorkerStarter starter) { g_starter = std::move(starter); }

}  // namespace velaron::ui
