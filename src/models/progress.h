// How a long calculation reports its advance and learns that the user cancelled it. The models call it
// from worker threads; the window behind it must pass the calls on to the GUI thread itself.
#pragma once

#include <atomic>
#include <string>

namespace velaron::models {

class Progress {
 public:
  virtual ~Progress() = default;
  // A new stage: its title (the scenario or wind state) and the number of steps it has.
  virtual void begin(const std::string& title, int steps) {
    (void)title;
    (void)steps;
  }
  // One more step done (a grid row, a column).
  virtual void step() {}
  // True once the user asked to stop; the calculation then ends at the next row or state.
  virtual bool cancelled() const { return false; }
};

// A progress that reports nothing and is never cancelled (tests, the headless driver).
inline Progress& NoProgress() {
  static Progress none;
  return none;
}

// Thrown by a calculation that stopped because it was cancelled; its partial results are discarded.
struct Cancelled {};

}  // namespace velaron::models
