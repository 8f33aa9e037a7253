#include "common/drawing_threads.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <chrono>
#include <dirent.h>
#include <memory>
#include <system_error>

namespace velaron {
namespace {

// How long the pool's threads may take to report that they run. A thread the system started reports at
// once; one that it refused never does. The wait looks at the refusals told meanwhile this often.
constexpr int kStartWaitMs = 20000;
constexpr int kRefusalLookMs = 20;

// The threads of this process as the system sees them: an ended thread stays in the count for a moment
// after its join, until the system has let it go.
int TaskCount() {
  int count = 0;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (const dirent* entry = readdir(tasks))
      if (entry->d_name[0] != '.') ++count;
    closedir(tasks);
  }
  return count;
}

// How many of `wanted` threads the system gives at once, found with threads that are held until the count
// is done and then given back: a refused one leaves nothing behind, unlike a thread refused to the pool.
int StartableThreads(int wanted) { return ThreadReserve(wanted).held(); }

QString Refusal(int started, int wanted) {
  return QStringLiteral(
             "Система не дала программе создать потоки рисования: создано %1 из %2 (исчерпан предел числа "
             "процессов или не хватает памяти). Закройте ненужные программы или поднимите предел числа процессов "
             "и запустите программу снова.")
      .arg(started)
      .arg(wanted);
}

}  // namespace

ThreadReserve::ThreadReserve(int wanted) {
  const size_t most = static_cast<size_t>(std::max(wanted, 0));
  kept_ = most;  // none given back yet
  threads_.reserve(most);
  for (size_t i = 0; i < most; ++i) {
    try {
      threads_.emplace_back([this, i] {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this, i] { return i >= kept_; });
      });
    } catch (const std::system_error&) {
      break;
    }
  }
}

ThreadReserve::~ThreadReserve() { Release(held()); }

void ThreadReserve::Release(int count) {
  count = std::clamp(count, 0, held());
  if (count == 0) return;
  const int tasksBefore = TaskCount();
  const size_t kept = threads_.size() - static_cast<size_t>(count);
  {
    std::lock_guard lock(mutex_);
    kept_ = kept;
  }
  wake_.notify_all();
  for (size_t i = kept; i < threads_.size(); ++i) threads_[i].join();
  threads_.resize(kept);
  // A joined thread still counts against the limit until the system lets it go, a moment later; the
  // thread started next would be refused meanwhile. The wait is bounded: a count the system keeps for
  // longer (another thread of the process ending or starting) is not waited for.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (TaskCount() > tasksBefore - count && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
}

int DrawingThreadCount() { return std::clamp(QThread::idealThreadCount(), 1, kMaxDrawingThreads); }

QString KeepDrawingThreads(const std::function<int()>& refusedSoFar) {
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
  // Another program of the user may take what the count found free, between the count and the pool.
  // Without a count of the refusals the whole time is waited at once.
  const int look = refusedSoFar ? kRefusalLookMs : kStartWaitMs;
  bool allRun = false;
  int refused = 0;
  for (int waited = 0; !allRun && refused == 0 && waited < kStartWaitMs; waited += look) {
    allRun = gate->arrived.tryAcquire(wanted, look);
    if (refusedSoFar) refused = refusedSoFar();
  }
  const int arrived = allRun ? wanted : refused > 0 ? wanted - refused : gate->arrived.available();
  gate->go.release(wanted);
  return allRun ? QString() : Refusal(arrived, wanted);
}

}  // namespace velaron
