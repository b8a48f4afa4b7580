// One piece of work on its own thread whose result comes back on the UI thread, or is
// dropped. The pages use it for what would freeze the window: generating a graph with a
// million nodes, the figures of such a graph.
//
// The work owns what it uses (it is given by value), so an abandoned job can run on
// without anything it reads going away. Abandoning never waits: the job's StopToken (owned
// by the job's shared state, so it outlives an abandoned thread) is stopped and work that
// looks at it ends early, the thread is handed to a keeper that joins it later, and the
// result, whenever it comes, is thrown away. The keeper joins every thread still alive
// when the program ends.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "core/stop_token.h"

namespace hc {

// Hands `task` to the UI thread (a queued call); ProgramView::postToUiThread in the window.
using UiPoster = std::function<void(std::function<void()>)>;

// Takes over a thread whose result nobody waits for; joins it once it has ended.
void keepAbandonedThread(std::jthread thread, std::shared_ptr<const std::atomic<bool>> finished);

template <typename Result>
class BackgroundJob {
 public:
  explicit BackgroundJob(UiPoster poster) : poster_(std::move(poster)) {}
  ~BackgroundJob() { abandon(); }
  BackgroundJob(const BackgroundJob&) = delete;
  BackgroundJob& operator=(const BackgroundJob&) = delete;

  // Starts `work` on a new thread (abandoning a job still running). When it returns,
  // `onDone` is called with its result on the UI thread, unless the job was abandoned or
  // destroyed first. Call on the UI thread. `work` gets the job's token, which abandon()
  // stops.
  void start(std::function<Result(const StopToken&)> work, std::function<void(Result)> onDone) {
    abandon();
    auto shared = std::make_shared<Shared>();
    shared->poster = poster_;
    shared->onDone = std::move(onDone);
    shared_ = shared;
    thread_ = std::jthread([shared, work = std::move(work)]() mutable {
      auto result = std::make_shared<Result>(work(shared->stop));
      {
        std::lock_guard lock(shared->mutex);
        if (!shared->abandoned) {
          shared->poster([shared, result]() mutable {
            // UI thread: the job may have been abandoned since the post.
            if (shared->abandoned) return;
            shared->abandoned = true;
            auto onDone = std::move(shared->onDone);
            onDone(std::move(*result));
          });
        }
      }
      shared->finished->store(true);
    });
  }

  // Drops the running job, if any: its result is never delivered. Returns at once.
  void abandon() {
    if (!shared_) return;
    {
      std::lock_guard lock(shared_->mutex);
      shared_->abandoned = true;
      shared_->onDone = nullptr;
    }
    shared_->stop.requestStop();
    if (thread_.joinable()) keepAbandonedThread(std::move(thread_), shared_->finished);
    shared_.reset();
  }

  // True from start until the result has been delivered or the job abandoned.
  bool running() const {
    if (!shared_) return false;
    std::lock_guard lock(shared_->mutex);
    return !shared_->abandoned;
  }

 private:
  struct Shared {
    std::mutex mutex;
    bool abandoned = false;  // written under the mutex on the UI thread
    UiPoster poster;
    std::function<void(Result)> onDone;
    StopToken stop;  // stopped when the job is abandoned
    std::shared_ptr<std::atomic<bool>> finished = std::make_shared<std::atomic<bool>>(false);
  };
  UiPoster poster_;
  std::shared_ptr<Shared> shared_;
  std::jthread thread_;
};

}  // namespace hc
