// Grid rows computed in parallel. Each row is written by exactly one thread and depends on nothing
// another thread writes, so the results are the same as in serial order whatever the thread count.
#pragma once

#include <functional>
#include <thread>

#include "models/progress.h"

namespace velaron::models {

// Threads used by the grid loops: 0 means all cores. Set once by the program or the headless driver.
void SetThreadCount(int threads);
int ThreadCount();

// Calls body(row) for every row in [first, last], spread over ThreadCount() threads, calling
// progress.step() once per finished row (serialised) and stopping early when progress.cancelled():
// then it throws Cancelled after the workers have joined. An exception in a body is rethrown. A thread the
// system refuses (a process limit, no memory) is done without: the rows go to the threads that started, the
// calling thread at least, with the same results.
// Starts a thread running `work` as std::thread does, throwing std::system_error when the system refuses
// it. Tests put in one of their own to refuse threads; an empty one restores std::thread. Set while no
// grid is being computed.
using ThreadStarter = std::function<std::thread(std::function<void()> work)>;
void SetThreadStarter(ThreadStarter starter);

void ParallelRows(int first, int last, const std::function<void(int row)>& body, Progress& progress = NoProgress());

}  // namespace velaron::models
