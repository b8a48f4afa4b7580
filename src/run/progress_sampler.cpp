#include "run/progress_sampler.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace hc {

void runSampled(const std::function<void()>& body, const LiveFigures& live, StopToken& stop,
                const ProgressSample& sample, std::chrono::milliseconds interval) {
  std::mutex lock;
  std::condition_variable wake;
  bool done = false;
  std::exception_ptr bodyError;
  std::exception_ptr sampleError;
  std::thread worker([&] {
    try {
      body();
    } catch (...) {
      bodyError = std::current_exception();
    }
    std::lock_guard<std::mutex> guard(lock);
    done = true;
    wake.notify_all();
  });
  const auto start = std::chrono::steady_clock::now();
  std::unique_lock<std::mutex> held(lock);
  while (!wake.wait_for(held, interval, [&] { return done; })) {
    if (sampleError) continue;
    held.unlock();
    try {
      sample(live, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    } catch (...) {
      sampleError = std::current_exception();
      stop.requestStop();
    }
    held.lock();
  }
  held.unlock();
  worker.join();
  if (sampleError) std::rethrow_exception(sampleError);
  if (bodyError) std::rethrow_exception(bodyError);
}

}  // namespace hc
