// A stop flag and a progress hook for long generations, so that a window's Cancel button
// or a command line's Ctrl-C can end `generate complete 5000` or a ten-million-node regular
// graph cleanly, and both can tell how far it has come.
//
// The families keep their signatures: generateGraph(request, control) makes the control
// the active one of the calling thread for the duration of the call, and the family loops
// ask generationTick() at each outer step. A stopped family returns early with a partial
// graph, which the factory throws away; the caller sees no graph and the error
// kGenerationCancelled. Without an active control a tick costs one thread-local load.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace hc {

struct GenerationControl {
  // Generation goes on while this reads 1; null means never stopped.
  const std::atomic<uint8_t>* keepRunning = nullptr;
  // Called on the generating thread with 0 <= fraction <= 1, non-decreasing, at most
  // about a thousand times per generation (and once with 1.0 at the end). May be empty.
  std::function<void(double fraction)> progress;
};

inline constexpr const char* kGenerationCancelled = "generation cancelled";

// Makes `control` the active control of this thread until destroyed (restoring the one
// before). A null control is allowed and means none.
class ActiveGenerationControl {
 public:
  explicit ActiveGenerationControl(const GenerationControl* control);
  ~ActiveGenerationControl();
  ActiveGenerationControl(const ActiveGenerationControl&) = delete;
  ActiveGenerationControl& operator=(const ActiveGenerationControl&) = delete;

  // True once a tick (or stopRequested) has seen the stop flag during this activation.
  bool stopped() const;

 private:
  const GenerationControl* previous_;
  bool previousStopped_;
};

// For the family loops: `done` of `total` steps are finished. Reports progress through the
// active control (only when the fraction has grown by a thousandth; the edges count as the
// first 90 %, finishing the construction as the rest) and returns false when the
// generation should stop. Always true without an active control.
bool generationTick(int64_t done, int64_t total);

// For the factory: reports the fraction 1.0 through the active control.
void generationFinished();

// The active control's stop flag, read now (false without a control).
bool generationStopRequested();

}  // namespace hc
