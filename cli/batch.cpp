// The batch loop. The main thread reads the records (never more than a few per worker
// ahead), the workers load and decide them, and the main thread prints the finished ones in
// input order. Each graph is decided under its own StopToken, a child of the process's
// (Ctrl-C stops them all) with the graph's --time-limit deadline; a watcher wakes the
// reading and printing loop at Ctrl-C.
#include "batch.h"

#include <charconv>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "app/graph_source.h"
#include "core/number_format.h"
#include "core/random.h"
#include "io/graph_file_reader.h"
#include "run_control.h"

namespace hc::cli {

std::string parsePart(const std::string& text, int64_t& index, int64_t& count) {
  const size_t slash = text.find('/');
  auto whole = [](std::string_view s, int64_t& v) {
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return !s.empty() && ec == std::errc() && ptr == s.data() + s.size();
  };
  if (slash == std::string::npos || !whole(std::string_view(text).substr(0, slash), index) ||
      !whole(std::string_view(text).substr(slash + 1), count) || count < 1 || index < 0 || index >= count)
    return "--part " + text + ": expected I/K with 0 <= I < K (for example 0/4)";
  return {};
}

bool isBatchRun(const std::string& graph, const BatchOptions& options) {
  return !options.each.empty() || options.jobsGiven || fileHoldsSeveralGraphs(graph);
}

namespace {

using Clock = std::chrono::steady_clock;

// The records of the whole batch in order: the graphs of one file, or of every file a
// list names. A listed file that cannot be walked is one unreadable record.
class BatchSource {
 public:
  // Empty when the batch can start, else the error line.
  std::string open(const std::string& graph, const std::string& each) {
    if (each.empty()) return reader_.open(graph);
    list_.open(each, std::ios::binary);
    if (!list_) return each + ": cannot open the list of graph files";
    listName_ = each;
    listOpen_ = false;
    return {};
  }

  // The next record; `error` is set when it cannot be loaded at all.
  bool next(GraphRecord& record, std::string& error) {
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
      if (reader_.next(record, tooLong)) {
        if (tooLong) error = reader_.tooLongError(record);
        return true;
      }
      if (listName_.empty()) return false;
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
  std::ifstream list_;
  std::string listName_;
  bool listOpen_ = false;
};

struct Task {
  int64_t index = 0;  // position in the whole batch
  int64_t order = 0;  // position among the graphs this run decides
  GraphRecord record;
  std::string readError;
};

struct Finished {
  int64_t index = 0;
  std::string where;
  GraphOutcome outcome;
  std::string error;  // unreadable
};

// A graph's seed from the batch seed and its index (distinct streams for distinct graphs).
uint32_t graphSeed(uint32_t batchSeed, int64_t index) {
  uint64_t z =
      (static_cast<uint64_t>(batchSeed) << 32) + static_cast<uint64_t>(index) + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return static_cast<uint32_t>(z ^ (z >> 31));
}

// Ctrl-C: no graph is started any more.
bool interrupted() { return processStop().reason() != StopReason::kNone; }

class Batch {
 public:
  Batch(const char* command, double timeLimit, uint32_t seed, const BatchOptions& options,
        const CommonOptions& common, const GraphDecider& decide, int64_t partIndex, int64_t partCount)
      : command_(command),
        timeLimit_(timeLimit),
        seed_(seed),
        options_(options),
        common_(common),
        decide_(decide),
        partIndex_(partIndex),
        partCount_(partCount) {}

  int run(BatchSource& source) {
    const auto start = Clock::now();
    std::vector<std::jthread> workers;
    for (int32_t w = 0; w < options_.jobs; ++w) workers.emplace_back([this] { work(); });
    std::jthread watcher([this](std::stop_token stop) { watch(stop); });

    const size_t ahead = static_cast<size_t>(options_.jobs) * 4;
    GraphRecord record;
    std::string error;
    for (int64_t index = 0; !interrupted() && source.next(record, error); ++index) {
      if (index % partCount_ != partIndex_) continue;
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] {
        printReady(lock);
        return pending_.size() < ahead || interrupted();
      });
      if (interrupted()) break;
      pending_.push_back(Task{index, ordered_++, record, error});
      changed_.notify_all();
      printReady(lock);
    }
    {
      std::unique_lock lock(mutex_);
      readingDone_ = true;
      changed_.notify_all();
      changed_.wait(lock, [&] {
        printReady(lock);
        // After Ctrl-C the graphs not started are left out; the ones started all finish.
        return printed_ == ordered_ || (interrupted() && running_ == 0);
      });
    }
    for (auto& worker : workers) worker.request_stop();
    changed_.notify_all();
    workers.clear();
    watcher.request_stop();
    printCount(std::chrono::duration<double>(Clock::now() - start).count());
    return 0;
  }

 private:
  bool ready() const { return !finished_.empty() && finished_.begin()->first == printed_; }

  void printReady(std::unique_lock<std::mutex>&) {
    while (ready()) {
      print(finished_.begin()->second);
      finished_.erase(finished_.begin());
      ++printed_;
    }
  }

  void work() {
    for (;;) {
      Task task;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !pending_.empty() || readingDone_ || interrupted(); });
        if (interrupted()) {
          // Ctrl-C: graphs not yet started are left out (the count says how many were decided).
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
      Finished done = decideOne(task);
      std::unique_lock lock(mutex_);
      finished_.emplace(task.order, std::move(done));
      --running_;
      changed_.notify_all();
    }
  }

  Finished decideOne(const Task& task) {
    Finished done;
    done.index = task.index;
    done.where = task.record.where();
    if (!task.readError.empty()) {
      done.error = task.readError;
      return done;
    }
    const uint32_t seed = graphSeed(seed_, task.index);
    setThreadSeedStream(seed);
    SolveInput input;
    {
      // A load may point the process-wide diagnostic stream at its own capture for a moment;
      // two loads at once would restore each other's streams.
      std::lock_guard loading(loadMutex_);
      input.loaded = loadGraphRecord(task.record, FormatOptions{options_.base});
    }
    if (!input.loaded) {
      done.error = input.loaded.error;
      return done;
    }
    input.edges = EdgeSnapshot(*input.loaded.graph);
    input.name = graphDisplayName(input.loaded.description);
    StopToken stop(&processStop());
    stop.setTimeLimit(timeLimit_);
    BatchGraph graph{input, seed, stop};
    done.outcome = decide_(graph);
    return done;
  }

  // The signal handler can only stop the token: this wakes the loops waiting for work or
  // for results.
  void watch(std::stop_token stop) {
    while (!stop.stop_requested()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      if (interrupted()) changed_.notify_all();
    }
  }

  void print(Finished& f) {
    const std::string verdict = f.error.empty() ? f.outcome.verdict : "unreadable";
    ++counts_[verdict];
    if (common_.json) {
      Json j;
      j["index"] = f.index;
      j["where"] = f.where;
      if (!f.error.empty()) {
        j["command"] = command_;
        j["verdict"] = verdict;
        j["error"] = f.error;
      } else {
        for (auto& [key, value] : f.outcome.json.items()) j[key] = value;
      }
      std::cout << j.dump() << '\n';
    } else {
      std::cout << "#" << f.index << " " << f.where << ": "
                << (f.error.empty() ? f.outcome.summary : "unreadable: " + f.error) << '\n';
    }
    std::cout << std::flush;
  }

  void printCount(double seconds) {
    const bool interrupted = hc::cli::interrupted();
    const int64_t graphs =
        counts_["hamiltonian"] + counts_["non-hamiltonian"] + counts_["undecided"] + counts_["unreadable"];
    if (common_.json) {
      Json j;
      j["command"] = command_;
      j["count"] = true;
      j["graphs"] = graphs;
      for (const char* verdict : {"hamiltonian", "non-hamiltonian", "undecided", "unreadable"})
        j[verdict] = counts_[verdict];
      j["seconds"] = seconds;
      j["graphsPerSecond"] = seconds > 0 ? static_cast<double>(graphs) / seconds : 0.0;
      j["interrupted"] = interrupted;
      if (partCount_ > 1) j["part"] = options_.part;
      std::cout << j.dump() << '\n' << std::flush;
      return;
    }
    std::cout << "Graphs: " << graphs << ", Hamiltonian " << counts_["hamiltonian"] << ", non-Hamiltonian "
              << counts_["non-hamiltonian"] << ", undecided " << counts_["undecided"] << ", unreadable "
              << counts_["unreadable"] << " (" << formatNumber(seconds, 3) << " s"
              << (partCount_ > 1 ? ", part " + options_.part : std::string())
              << (interrupted ? ", interrupted" : "") << ")\n"
              << std::flush;
  }

  const char* command_;
  double timeLimit_;
  uint32_t seed_;
  const BatchOptions& options_;
  const CommonOptions& common_;
  const GraphDecider& decide_;
  int64_t partIndex_;
  int64_t partCount_;

  std::mutex mutex_;
  std::mutex loadMutex_;
  std::condition_variable changed_;
  std::deque<Task> pending_;
  std::map<int64_t, Finished> finished_;
  int64_t ordered_ = 0;
  int64_t printed_ = 0;
  int32_t running_ = 0;
  bool readingDone_ = false;
  std::map<std::string, int64_t> counts_;
};

}  // namespace

int runBatch(const char* command, const std::string& graph, double timeLimit,
             const std::optional<uint32_t>& seed, const BatchOptions& options, const CommonOptions& common,
             const GraphDecider& decide) {
  if (graph.empty() == options.each.empty()) return fail("give either GRAPH or --each FILE, not both");
  int64_t partIndex = 0, partCount = 1;
  if (!options.part.empty())
    if (std::string problem = parsePart(options.part, partIndex, partCount); !problem.empty())
      return fail(problem);
  BatchSource source;
  if (std::string problem = source.open(graph, options.each); !problem.empty()) return fail(problem);
  uint32_t batchSeed = 0;
  if (seed) {
    batchSeed = *seed;
  } else {
    std::random_device device;
    batchSeed = static_cast<uint32_t>(device());
  }
  installInterruptHandler();
  Batch batch(command, timeLimit, batchSeed, options, common, decide, partIndex, partCount);
  return batch.run(source);
}

}  // namespace hc::cli
