#include "common/drawing_threads.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace velaron {
namespace {

// How long the pool's threads may take to report that they run. A thread the system started reports at
// once; one that it refused never does.
constexpr int kStartWaitMs = 20000;

// How many of `wanted` threads the system gives at once, found with plain threads that wait until the
// count is done: a refused one leaves nothing behind, unlike a thread refused to the pool.
int StartableThreads(int wanted) {
  std::mutex mutex;
  std::condition_variable done;
  bool counted = false;
  std::vector<std::thread> threads;
  threads.reserve(static_cast<size_t>(wanted));
  for (int i = 0; i < wanted; ++i) {
    try {
      threads.emplace_back([&] {
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return counted; });
      });
    } catch (const std::system_error&) {
      break;
    }
  }
  {
    std::lock_guard lock(mutex);
    counted = true;
  }
  done.notify_all();
  for (std::thread& t : threads) t.join();
  return static_cast<int>(threads.size());
}

QString Refusal(int started, int wanted) {
  return QStringLiteral(
             "Система не дала программе создать потоки рисования: создано %1 из %2 (исчерпан предел числа "
             "процессов или не хватает памяти). Закройте ненужные программы или поднимите предел числа процессов "
             "и запустите программу снова.")
      .arg(started)
      .arg(wanted);
}

}  // namespace

int DrawingThreadCount() { return std::clamp(QThread::idealThreadCount(), 1, kMaxDrawingThreads); }

QString KeepDrawingThreads() {
  const int wanted = DrawingThreadCount();
  if (const int startable = StartableThreads(wanted); startable < wanted) return Refusal(startable, wanted);

  QThreadPool* pool = QThreadPool::globalInstance();
  pool->setExpiryTimeout(-1);
  pool->setMaxThreadCount(wanted);
  // Each task holds its thread until all have arrived, so that every one lands on a thread of its own. The
  // state is shared with the tasks: one that starts late must not find it gone.
  struct Gate {
    QSemaphore arrived, go;
  };
  const auto gate = std::make_shared<Gate>();
  for (int i = 0; i < wanted; ++i)
    pool->start([gate] {
      gate->arrived.release();
      gate->go.acquire();
    });
  const bool allRun = gate->arrived.tryAcquire(wanted, kStartWaitMs);
  // Another program of the user took what the count had found free, between the count and the pool.
  const int arrived = allRun ? wanted : gate->arrived.available();
  gate->go.release(wanted);
  return allRun ? QString() : Refusal(arrived, wanted);
}

}  // namespace velaron
