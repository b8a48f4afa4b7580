// A progress callback every quarter second or a watcher thread per run would work too, but
// cost a thread per call, which is most of the time a small graph takes to decide.
#include "interrupt_guard.h"

#include <atomic>
#include <csignal>
#include <mutex>
#include <thread>

namespace hcpy {
namespace {

// The runs going on now, by the address of their stop token. A run that finds no free slot
// is simply not stopped by Ctrl-C (a thousand runs at once is far beyond any use).
constexpr int kSlots = 1024;
std::atomic<const hamcycles::StopToken*> runs[kSlots];
// How many handlers are reading the table now: a run leaving waits for them before its
// token goes away.
std::atomic<int> reading{0};

// The handler ours replaced, and how many runs keep ours in place; changed under the lock.
std::mutex installLock;
int activeRuns = 0;
bool installed = false;
struct sigaction previous {};

extern "C" void onInterrupt(int signal, siginfo_t* info, void* context) {
  reading.fetch_add(1);
  for (auto& slot : runs)
    if (const hamcycles::StopToken* run = slot.load()) run->requestStop();
  reading.fetch_sub(1);
  if ((previous.sa_flags & SA_SIGINFO) != 0) {
    if (previous.sa_sigaction != nullptr) previous.sa_sigaction(signal, info, context);
  } else if (previous.sa_handler != SIG_IGN && previous.sa_handler != SIG_DFL) {
    previous.sa_handler(signal);
  }
}

}  // namespace

InterruptGuard::InterruptGuard(const hamcycles::StopToken& run) {
  {
    std::lock_guard<std::mutex> hold(installLock);
    if (activeRuns == 0) {
      struct sigaction current {};
      const bool handled = sigaction(SIGINT, nullptr, &current) == 0 &&
                           ((current.sa_flags & SA_SIGINFO) != 0 ||
                            (current.sa_handler != SIG_IGN && current.sa_handler != SIG_DFL));
      if (handled) {
        previous = current;
        struct sigaction ours {};
        ours.sa_sigaction = onInterrupt;
        sigemptyset(&ours.sa_mask);
        ours.sa_flags = SA_SIGINFO | SA_ONSTACK;
        installed = sigaction(SIGINT, &ours, nullptr) == 0;
      }
    }
    ++activeRuns;
    counted_ = true;
  }
  for (int i = 0; i < kSlots; ++i) {
    const hamcycles::StopToken* expected = nullptr;
    if (runs[i].compare_exchange_strong(expected, &run)) {
      slot_ = i;
      break;
    }
  }
}

InterruptGuard::~InterruptGuard() {
  if (slot_ >= 0) {
    runs[slot_].store(nullptr);
    while (reading.load() != 0) std::this_thread::yield();
  }
  if (!counted_) return;
  std::lock_guard<std::mutex> hold(installLock);
  if (--activeRuns == 0 && installed) {
    sigaction(SIGINT, &previous, nullptr);
    installed = false;
  }
}

}  // namespace hcpy
