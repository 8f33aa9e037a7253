#include "models/parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace velaron::models {

namespace {
std::atomic<int> g_threads{0};
ThreadStarter g_starter;

std::thread StartThread(std::function<void()> work) {
  return g_starter ? g_starter(std::move(work)) : std::thread(std::move(work));
}
}  // namespace

void SetThreadStarter(ThreadStarter starter) { g_starter = std::move(starter); }

void SetThreadCount(int threads) { g_threads = std::max(0, threads); }

int ThreadCount() {
  int n = g_threads.load();
  if (n <= 0) n = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return n;
}

void ParallelRows(int first, int last, const std::function<void(int)>& body, Progress& progress) {
  if (last < first) return;
  const int rows = last - first + 1;
  const int threads = std::min(ThreadCount(), rows);
  std::atomic<int> next{first};
  std::atomic<bool> stop{false};
  std::mutex mutex;  // serialises progress calls and the first exception
  std::exception_ptr error;
  auto worker = [&] {
    for (;;) {
      if (stop.load(std::memory_order_relaxed)) return;
      const int row = next.fetch_add(1);
      if (row > last) return;
      try {
        body(row);
      } catch (...) {
        std::lock_guard lock(mutex);
        if (!error) error = std::current_exception();
        stop = true;
        return;
      }
      std::lock_guard lock(mutex);
      progress.step();
      if (progress.cancelled()) stop = true;
    }
  };
  if (threads <= 1) {
    worker();
  } else {
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    for (int i = 1; i < threads; ++i) {
      try {
        pool.push_back(StartThread(worker));
      } catch (const std::exception&) {
        break;  // no more threads to be had: the ones started and this one share the rows
      }
    }
    worker();
    for (auto& t : pool) t.join();
  }
  if (error) std::rethrow_exception(error);
  if (stop || progress.cancelled()) throw Cancelled{};
}

}  // namespace velaron::models
