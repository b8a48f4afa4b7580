#include "run/background_run.h"

#include <chrono>
#include <exception>

#include "core/clock.h"
#include "core/diagnostics.h"

namespace hc {

namespace {
double now() {
  return secondsSinceStart();
}
}  // namespace

BackgroundRun::~BackgroundRun() {
  abortRun();
  for (Threads& t : threads_) {
    t.ticker.request_stop();
    if (t.worker.joinable()) t.worker.join();
    if (t.ticker.joinable()) t.ticker.join();
  }
}

void BackgroundRun::reapFinished() {
  std::erase_if(threads_, [](Threads& t) {
    if (t.flags->runInProgress.load() != 0) return false;
    t.ticker.request_stop();
    return true;  // the jthreads join here: the worker has left its work already
  });
}

uint64_t BackgroundRun::start(Work work, std::function<void(int16_t)> onDecided) {
  abortRun();
  reapFinished();
  auto flags = std::make_shared<Flags>();
  flags->id = ++nextId_;
  flags->startSeconds = now();
  {
    std::lock_guard lock(deliveryMutex_);
    liveId_ = flags->id;
  }
  currentId_ = flags->id;
  current_ = flags;
  Threads threads;
  threads.flags = flags;
  threads.worker = std::jthread([this, flags, work = std::move(work), onDecided = std::move(onDecided)] {
    std::optional<int16_t> result;
    try {
      result = work(flags->stop);
    } catch (const std::exception& e) {
      // Out of memory on a huge graph, say: the run ends undecided instead of taking the
      // whole program down with it.
      diagnostic("the run stopped: ", e.what(), "\n");
    }
    std::lock_guard lock(deliveryMutex_);
    double unset = -1;  // an abort froze the time already
    flags->endSeconds.compare_exchange_strong(unset, now());
    flags->runInProgress = 0;
    if (result && flags->stop.reason() == StopReason::kNone && liveId_ == flags->id) {
      liveId_ = 0;  // decided: nothing more is delivered for this run
      if (onDecided) onDecided(*result);
    }
  });
  threads.ticker = std::jthread([this, flags](std::stop_token stop) { tickerLoop(stop, flags); });
  threads_.push_back(std::move(threads));
  return flags->id;
}

void BackgroundRun::tickerLoop(std::stop_token stop, std::shared_ptr<Flags> flags) {
  while (!stop.stop_requested() && flags->runInProgress.load() != 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::lock_guard lock(deliveryMutex_);
    if (liveId_ != flags->id || flags->runInProgress.load() == 0) return;
    if (tick_) tick_(now() - flags->startSeconds.load());
  }
}

void BackgroundRun::abortRun() {
  if (!current_) return;
  {
    std::lock_guard lock(deliveryMutex_);
    current_->stop.requestStop();
    if (current_->endSeconds.load() < 0) current_->endSeconds = now();
    liveId_ = 0;
  }
  for (Threads& t : threads_)
    if (t.flags == current_) t.ticker.request_stop();
}

bool BackgroundRun::runInProgress() const {
  return current_ && current_->runInProgress.load() != 0 && current_->stop.reason() == StopReason::kNone;
}

double BackgroundRun::elapsedSeconds() const {
  if (!current_) return 0;
  const double end = current_->endSeconds.load();
  return (end >= 0 ? end : now()) - current_->startSeconds.load();
}

void BackgroundRun::setTickCallback(std::function<void(double)> tick) {
  std::lock_guard lock(deliveryMutex_);
  tick_ = std::move(tick);
}

}  // namespace hc
