// Room for threads held against a limit on the number of processes: the threads are there while held and
// gone from the process, for the system too, as soon as they are given back.
#include <gtest/gtest.h>

#include <QDir>
#include <array>

#include "common/drawing_threads.h"

namespace velaron {
namespace {

// The threads of this process as the system lists them.
int Tasks() { return QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(); }

// Wanted, given back and still held: some given back, all, more than held, nothing asked. A thread ended a
// moment before is listed only now and then: each case is tried many times.
TEST(ThreadReserve, HeldThreadsRunUntilGivenBackAndAreGoneWhenReleaseReturns) {
  for (int round = 0; round < 200 && !HasFailure(); ++round)
    for (const auto [wanted, released, held] : {std::array{3, 1, 2}, {3, 3, 0}, {2, 5, 0}, {0, 1, 0}}) {
      SCOPED_TRACE(testing::Message() << wanted << " less " << released << ", round " << round);
      const int before = Tasks();
      ASSERT_GT(before, 0);
      {
        ThreadReserve reserve(wanted);
        EXPECT_EQ(reserve.held(), wanted);
        EXPECT_EQ(Tasks(), before + wanted);
        reserve.Release(released);
        EXPECT_EQ(reserve.held(), held);
        EXPECT_EQ(Tasks(), before + held);
      }
      EXPECT_EQ(Tasks(), before);
    }
}

}  // namespace
}  // namespace velaron
