// The thread's active generation control and the tick the family loops call.
#include "generators/generation_control.h"

namespace hc {

namespace {

thread_local const GenerationControl* activeControl = nullptr;
thread_local bool activeStopped = false;
thread_local int32_t reportedPermille = -1;

void reportPermille(const GenerationControl& control, int32_t permille) {
  if (!control.progress || permille <= reportedPermille) return;
  reportedPermille = permille;
  control.progress(static_cast<double>(permille) / 1000.0);
}

}  // namespace

ActiveGenerationControl::ActiveGenerationControl(const GenerationControl* control)
    : previous_(activeControl), previousStopped_(activeStopped) {
  activeControl = control;
  activeStopped = false;
  reportedPermille = -1;
}

ActiveGenerationControl::~ActiveGenerationControl() {
  activeControl = previous_;
  activeStopped = previousStopped_;
}

bool ActiveGenerationControl::stopped() const { return activeStopped; }

bool generationStopRequested() {
  const GenerationControl* control = activeControl;
  if (control == nullptr) return false;
  if (activeStopped) return true;
  if (control->keepRunning != nullptr && control->keepRunning->load(std::memory_order_relaxed) != 1) {
    activeStopped = true;
  }
  return activeStopped;
}

bool generationTick(int64_t done, int64_t total) {
  const GenerationControl* control = activeControl;
  if (control == nullptr) return true;
  if (total > 0) {
    const int64_t clamped = done < 0 ? 0 : (done > total ? total : done);
    // Wide totals (node pairs of a large graph) would overflow clamped * 900.
    const double share = static_cast<double>(clamped) / static_cast<double>(total);
    reportPermille(*control, static_cast<int32_t>(share * 900.0));
  }
  return !generationStopRequested();
}

void generationFinished() {
  if (activeControl != nullptr) reportPermille(*activeControl, 1000);
}

}  // namespace hc
