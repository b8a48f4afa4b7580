// The batch loop. The calling thread reads the records (never more than a few per worker
// ahead), the workers load and decide them, and the calling thread delivers the finished
// ones in input order. A watcher wakes the reading and delivering loop when the batch's
// token stops (a signal handler can only stop the token). The reading of the records and
// every load hear that token too, so a stop never waits for a large graph to be read.
#include "run/batch.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include "core/message_text.h"
#include "core/random.h"
#include "io/file_access.h"
#include "io/graph_file_reader.h"

namespace hc {

namespace {

using Clock = std::chrono::steady_clock;

// The records of the whole batch in order: the graphs of one file, or of every file a
// list names. A listed file that cannot be walked is one unreadable record.
class BatchSource {
 public:
  // Empty when the batch can start, else the error line.
  std::string open(const std::string& graph, const std::string& each) {
    if (each.empty()) return reader_.open(graph);
    if (!std::ifstream(each)) return printableText(each) + ": cannot open the list of graph files";
    // The list is an input like any other: a regular file of bounded size, read whole.
    std::string content;
    if (FileStatus status = readInputFile(each, content); !status) return status.error;
    list_.str(std::move(content));
    listName_ = each;
    listOpen_ = false;
    return {};
  }

  // The next record; `error` is set when it cannot be loaded at all. False at the end, and
  // when `stop` ends the reading of a record (the batch is ending then).
  bool next(GraphRecord& record, std::string& error, const StopToken& stop) {
    for (;;) {
      error.clear();
      if (!listName_.empty() && !listOpen_) {
        std::string path;
        if (!nextListedPath(path)) return false;
        listOpen_ = true;
        if (std::string problem = reader_.open(path); !problem.empty()) {
          listOpen_ = false;
          record = GraphRecord{path, 0, {}};
          error = problem;
          return true;
        }
      }
      bool tooLong = false;
      if (reader_.next(record, tooLong, &stop)) {
        if (tooLong) error = reader_.tooLongError(record);
        return true;
      }
      if (listName_.empty() || stopRequested(&stop)) return false;
      listOpen_ = false;
    }
  }

 private:
  bool nextListedPath(std::string& path) {
    while (std::getline(list_, path)) {
      if (!path.empty() && path.back() == '\r') path.pop_back();
      size_t start = path.find_first_not_of(" \t");
      if (start == std::string::npos || path[start] == '#') continue;
      path = path.substr(start, path.find_last_not_of(" \t") - start + 1);
      return true;
    }
    return false;
  }

  GraphFileReader reader_;
  std::istringstream list_;
  std::string listName_;
  bool listOpen_ = false;
};

struct Task {
  int64_t index = 0;  // position in the whole batch
  int64_t order = 0;  // position among the graphs this run decides
  GraphRecord record;
  std::string readError;
};

// A graph's seed from the batch seed and its index (distinct streams for distinct graphs).
uint32_t graphSeed(uint32_t batchSeed, int64_t index) {
  uint64_t z =
      (static_cast<uint64_t>(batchSeed) << 32) + static_cast<uint64_t>(index) + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return static_cast<uint32_t>(z ^ (z >> 31));
}

class Batch {
 public:
  Batch(const BatchRequest& request, const std::optional<MethodOptions>& method, const StopToken& stop,
        uint32_t seed, const std::function<void(const BatchEntry&)>& deliver)
      : request_(request), method_(method), stop_(stop), seed_(seed), deliver_(deliver) {}

  BatchSummary run(BatchSource& source) {
    const auto start = Clock::now();
    std::vector<std::jthread> workers;
    for (int32_t w = 0; w < request_.jobs; ++w) workers.emplace_back([this] { work(); });
    std::jthread watcher([this](std::stop_token stop) { watch(stop); });
    try {
      readAndDeliver(source);
    } catch (const std::exception& error) {
      fail(error.what());
    } catch (...) {
      fail("unknown error");
    }
    {
      // Whatever ended the loop, no graph may still be running when the workers are joined
      // (after a failure the running ones are stopped, the others never start).
      std::unique_lock lock(mutex_);
      readingDone_ = true;
      changed_.notify_all();
      changed_.wait(lock, [&] { return running_ == 0; });
    }
    for (auto& worker : workers) worker.request_stop();
    changed_.notify_all();
    workers.clear();
    watcher.request_stop();
    summary_.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    summary_.interrupted = stop_.reason() != StopReason::kNone;
    summary_.failure = failure_;
    return summary_;
  }

 private:
  void readAndDeliver(BatchSource& source) {
    const size_t ahead = static_cast<size_t>(request_.jobs) * 4;
    GraphRecord record;
    std::string error;
    for (int64_t index = 0; !stopped() && source.next(record, error, own_); ++index) {
      if (index % request_.partCount != request_.partIndex) continue;
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] {
        deliverReady(lock);
        // Bounded by every graph read and not yet delivered, not only those waiting for a
        // worker: a slow graph holds back delivery while the others finish.
        return ordered_ - delivered_ < static_cast<int64_t>(ahead) || stopped();
      });
      if (stopped()) break;
      pending_.push_back(Task{index, ordered_++, record, error});
      changed_.notify_all();
      deliverReady(lock);
    }
    std::unique_lock lock(mutex_);
    readingDone_ = true;
    changed_.notify_all();
    changed_.wait(lock, [&] {
      deliverReady(lock);
      // After a stop the graphs not started are left out; the ones started all finish.
      return delivered_ == ordered_ || (stopped() && running_ == 0);
    });
  }

  // An unexpected error (a delivery that throws, memory running out) ends the batch like a
  // stop: the graphs running stop, no other starts, nothing more is delivered.
  void fail(const std::string& why) {
    {
      std::lock_guard lock(mutex_);
      if (failure_.empty()) failure_ = why.empty() ? "unknown error" : why;
    }
    own_.requestStop();
    changed_.notify_all();
  }

  bool stopped() const { return own_.reason() != StopReason::kNone; }

  // Delivers the finished entries that are next in order, on the calling thread.
  // A graph whose load was stopped leaves a gap that is stepped over: the graphs decided
  // after it are still delivered, it is neither delivered nor counted.
  void deliverReady(std::unique_lock<std::mutex>&) {
    while (failure_.empty() && !finished_.empty() && finished_.begin()->first == delivered_) {
      if (!finished_.begin()->second) {
        finished_.erase(finished_.begin());
        ++delivered_;
        continue;
      }
      const BatchEntry& entry = *finished_.begin()->second;
      deliver_(entry);
      int64_t& count = !entry.error.empty()                        ? summary_.unreadable
                       : entry.verdict == Verdict::kHamiltonian    ? summary_.hamiltonian
                       : entry.verdict == Verdict::kNonHamiltonian ? summary_.nonHamiltonian
                                                                   : summary_.undecided;
      ++count;
      if (!entry.proof.empty()) ++summary_.certified;
      finished_.erase(finished_.begin());
      ++delivered_;
    }
  }

  void work() {
    for (;;) {
      Task task;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !pending_.empty() || readingDone_ || stopped(); });
        if (stopped()) {
          // Graphs not yet started are left out (the count says how many were decided).
          pending_.clear();
          changed_.notify_all();
          return;
        }
        if (pending_.empty()) return;
        task = std::move(pending_.front());
        pending_.pop_front();
        ++running_;
        changed_.notify_all();
      }
      std::optional<std::optional<BatchEntry>> done;  // none: the decision failed
      try {
        done = decide(task);
      } catch (const std::exception& error) {
        fail(error.what());
      } catch (...) {
        fail("unknown error");
      }
      std::unique_lock lock(mutex_);
      if (done) finished_.emplace(task.order, std::move(*done));
      --running_;
      changed_.notify_all();
    }
  }

  // The graph's entry; none when the batch's stop ended its load (the graph counts as never
  // started: a stopped read is no fault of the file).
  std::optional<BatchEntry> decide(const Task& task) {
    BatchEntry entry;
    entry.index = task.index;
    entry.where = task.record.where();
    if (!task.readError.empty()) {
      entry.error = task.readError;
      return entry;
    }
    const uint32_t seed = graphSeed(seed_, task.index);
    setThreadSeedStream(seed);
    RunInput input;
    {
      // A load may point the process-wide diagnostic stream at its own capture for a moment;
      // two loads at once would restore each other's streams.
      std::lock_guard loading(loadMutex_);
      FormatOptions format = request_.format;
      format.stop = &own_;
      input = loadRunInput(task.record, format);
    }
    if (input.loaded.stopped) return std::nullopt;
    if (!input) {
      entry.error = input.loaded.error;
      return entry;
    }
    entry.name = input.name;
    entry.nodes = input.asLoaded.nodes();
    entry.edges = input.asLoaded.edges();
    if (!method_) {
      entry.information = computeGraphInformation(*input.loaded.graph, input.name);
      // A Hamiltonian cycle needs a biconnected graph; the figures decide nothing else.
      entry.verdict = entry.information->biconnected ? Verdict::kUndecided : Verdict::kNonHamiltonian;
      return entry;
    }
    StopToken stop(&own_);
    const auto began = std::chrono::steady_clock::now();
    stop.setTimeLimit(request_.timeLimit);
    std::string certificate;
    const bool proving = !request_.proofDir.empty();
    entry.outcome = runMethod(*input.loaded.graph, input.asLoaded, *method_,
                              {.stop = &stop, .seed = seed, .certificate = proving ? &certificate : nullptr});
    // The graph's time counts from its limit's start, so a run the limit ended reports at
    // least the limit (runMethod's own clock starts a moment later).
    const double sinceLimit = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    entry.outcome.seconds = std::max(entry.outcome.seconds, sinceLimit);
    entry.verdict = entry.outcome.verdict;
    if (proving && entry.verdict == Verdict::kNonHamiltonian && entry.outcome.certified) {
      const std::string path =
          (std::filesystem::path(request_.proofDir) / proofFileName(task.record.path, task.index)).string();
      if (FileStatus status = writeFileAtomically(path, certificate); status)
        entry.proof = path;
      else
        entry.proofError = status.error;
    }
    return entry;
  }

  void watch(std::stop_token stop) {
    while (!stop.stop_requested()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      if (stopped()) changed_.notify_all();
    }
  }

  const BatchRequest& request_;
  const std::optional<MethodOptions>& method_;
  const StopToken& stop_;
  StopToken own_{&stop_};  // the batch's own stop: the caller's, or a failure
  uint32_t seed_;
  const std::function<void(const BatchEntry&)>& deliver_;

  std::mutex mutex_;
  std::mutex loadMutex_;
  std::condition_variable changed_;
  std::deque<Task> pending_;
  std::map<int64_t, std::optional<BatchEntry>> finished_;  // none: a load the stop ended
  int64_t ordered_ = 0;
  int64_t delivered_ = 0;
  int32_t running_ = 0;
  bool readingDone_ = false;
  std::string failure_;
  BatchSummary summary_;
};

}  // namespace

bool parseBatchPart(std::string_view text, int64_t& index, int64_t& count) {
  const size_t slash = text.find('/');
  auto whole = [](std::string_view s, int64_t& v) {
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return !s.empty() && ec == std::errc() && ptr == s.data() + s.size();
  };
  return slash != std::string_view::npos && whole(text.substr(0, slash), index) &&
         whole(text.substr(slash + 1), count) && count >= 1 && index >= 0 && index < count;
}

std::string proofFileName(const std::string& path, int64_t index) {
  std::string name =
      path == kStandardStreamPath ? std::string("stdin") : std::filesystem::path(path).stem().string();
  if (name.empty()) name = "graph";
  return name + "-" + std::to_string(index) + ".proof";
}

BatchSummary runBatch(const BatchRequest& request, const std::optional<MethodOptions>& method,
                      const StopToken& stop, const std::function<void(const BatchEntry&)>& deliver) {
  BatchSource source;
  if (std::string problem = source.open(request.graph, request.each); !problem.empty())
    return {.error = problem};
  if (request.started) request.started();
  uint32_t seed = 0;
  if (request.seed) {
    seed = *request.seed;
  } else {
    std::random_device device;
    seed = static_cast<uint32_t>(device());
  }
  Batch batch(request, method, stop, seed, deliver);
  return batch.run(source);
}

}  // namespace hc
