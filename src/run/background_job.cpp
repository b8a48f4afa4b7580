// The keeper of abandoned job threads: it joins each one after it has ended, at the latest
// when the program ends, so no thread outlives the objects of the process.
#include "run/background_job.h"

#include <vector>

namespace hc {

namespace {

struct AbandonedThreads {
  struct Entry {
    std::jthread thread;
    std::shared_ptr<const std::atomic<bool>> finished;
  };
  std::mutex mutex;
  std::vector<Entry> entries;

  ~AbandonedThreads() {
    for (Entry& entry : entries) entry.thread.join();
  }
};

AbandonedThreads& abandonedThreads() {
  static AbandonedThreads keeper;
  return keeper;
}

}  // namespace

void keepAbandonedThread(std::jthread thread, std::shared_ptr<const std::atomic<bool>> finished) {
  AbandonedThreads& keeper = abandonedThreads();
  std::vector<std::jthread> ended;
  {
    std::lock_guard lock(keeper.mutex);
    // Threads that have already ended are joined now (at once), outside the lock.
    for (auto it = keeper.entries.begin(); it != keeper.entries.end();) {
      if (it->finished->load()) {
        ended.push_back(std::move(it->thread));
        it = keeper.entries.erase(it);
      } else {
        ++it;
      }
    }
    keeper.entries.push_back({std::move(thread), std::move(finished)});
  }
  for (std::jthread& t : ended) t.join();
}

}  // namespace hc
