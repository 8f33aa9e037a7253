// The threads of Qt's drawing. Qt's raster engine hands the pieces of a large fill or of an image
// conversion to the application's shared thread pool and waits for every piece. The pool starts a thread
// for a piece when it needs one; when the system refuses that thread (a limit on the number of processes,
// no memory) the piece is never run and the drawing waits for ever, and so does the application's end,
// which waits for the pool. The program therefore starts the pool's threads once, before anything is
// drawn, and keeps them for as long as it runs, so that the pool never needs to start another.
#pragma once

#include <functional>

#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace velaron {

// Threads taken from the system and held, idle, until they are given back: a count of what the system
// gives that holds the room against the user's other programs until the threads that need it start. A
// thread given back is joined and gone from the process before Release returns, so that the system counts
// it no longer (a limit on the number of processes counts a thread until it is gone, after its join).
class ThreadReserve {
 public:
  // Takes up to `wanted` threads: as many as the system gives at once.
  explicit ThreadReserve(int wanted);
  ~ThreadReserve();
  ThreadReserve(const ThreadReserve&) = delete;
  ThreadReserve& operator=(const ThreadReserve&) = delete;

  // The number of threads held.
  int held() const { return static_cast<int>(threads_.size()); }
  // Ends `count` of the threads held (all of them when fewer are held) and waits until they are gone.
  void Release(int count);

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  std::size_t kept_ = 0;  // the threads from this place of their order on are given back
  std::vector<std::thread> threads_;
};

// The pool keeps at most this many threads (fewer on a machine with fewer cores): the drawing's pieces are
// small, and every thread kept counts against the user's limit of processes.
inline constexpr int kMaxDrawingThreads = 4;

// The number of threads the pool keeps on this machine: kMaxDrawingThreads, or the number of cores when
// that is smaller, at least 1.
int DrawingThreadCount();

// Starts the DrawingThreadCount() threads of the application's shared pool and keeps them (they never
// expire, and the pool starts no other). Call it once, right after the application object is made and
// before anything is drawn. Empty when the threads run; else the message for the user (the system would not
// give them). After a refusal the process must end without waiting for the pool (_exit): a thread that the
// pool asked for and never got would be waited for at the application's end. `refusedSoFar`, where given,
// counts the threads the system refused to the pool (Qt tells it only in a warning): the wait for them ends
// at the first one.
QString KeepDrawingThreads(const std::function<int()>& refusedSoFar = {});

}  // namespace velaron
