// Room for threads held against a limit on the number of processes: the threads are there while held and
// gone from the process, for the system too, as soon as they are given back.
#include <gtest/gtest.h>

#include <dirent.h>

#include "common/drawing_threads.h"

namespace velaron {
namespace {

// The threads of this process as the system lists them.
int Tasks() {
  int count = 0;
  DIR* tasks = opendir("/proc/self/task");
  if (!tasks) return -1;
  while (const dirent* entry = readdir(tasks))
    if (entry->d_name[0] != '.') ++count;
  closedir(tasks);
  return count;
}

TEST(ThreadReserve, HeldThreadsRunUntilGivenBackAndAreGoneWhenReleaseReturns) {
  struct Case {
    int wanted, released, held;
  };
  // Some given back, all given back, more asked back than held, nothing asked. A thread ended a moment
  // before is listed only now and then: each case is tried many times.
  for (int round = 0; round < 200 && !HasFailure(); ++round) {
    for (const Case c : {Case{3, 1, 2}, Case{3, 3, 0}, Case{2, 5, 0}, Case{0, 1, 0}}) {
      SCOPED_TRACE(testing::Message() << c.wanted << " less " << c.released << ", round " << round);
      const int before = Tasks();
      ASSERT_GT(before, 0);
      {
        ThreadReserve reserve(c.wanted);
        EXPECT_EQ(reserve.held(), c.wanted);
        EXPECT_EQ(Tasks(), before + c.wanted);
        reserve.Release(c.released);
        EXPECT_EQ(reserve.held(), c.held);
        EXPECT_EQ(Tasks(), before + c.held);
      }
      EXPECT_EQ(Tasks(), before);
    }
  }
}

}  // namespace
}  // namespace velaron
