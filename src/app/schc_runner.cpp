#include "app/schc_runner.h"

#include "core/random.h"
#include "io/adjacency_text_format.h"

namespace hc {

// Forwards iterations of one run to the page's sink while that run is current.
class SchcRunner::SinkAdapter : public SchcSink {
 public:
  SinkAdapter(BackgroundRun& run, uint64_t id, SchcSink* target) : run_(run), id_(id), target_(target) {}
  void postIteration(int32_t iteration, int32_t deletions, int32_t hubs, int32_t rings, int32_t forcedEdges,
                     double percentComplete, double seconds) override {
    run_.deliver(id_, [&] {
      target_->postIteration(iteration, deletions, hubs, rings, forcedEdges, percentComplete, seconds);
    });
  }

 private:
  BackgroundRun& run_;
  uint64_t id_;
  SchcSink* target_;
};

void SchcRunner::start(std::shared_ptr<Graph> working, const SchcRunSettings& settings, SchcSink* sink,
                       std::function<void(int16_t)> onDecided) {
  run_.abortRun();
  const uint64_t id = run_.nextRunId();
  std::shared_ptr<SinkAdapter> adapter = sink ? std::make_shared<SinkAdapter>(run_, id, sink) : nullptr;
  BackgroundRun::Work work = [this, id, working, settings, adapter](const StopToken& stop) -> std::optional<int16_t> {
    if (!working) return std::nullopt;
    if (settings.seed) setThreadSeedStream(*settings.seed);
    SchcOptions options;
    options.threads = settings.threads;
    options.maxIterations = settings.maxIterations;
    options.writeGraph = adjacencyTextFileWriter;  // version 10's best.txt
    SchcOutcome outcome;
    runStoneCarver(*working, settings.version, &stop, adapter.get(), options, &outcome);
    seed_ = outcome.seed;
    seedRun_ = id;
    // An undecided end (an iteration limit) is delivered too: the run is over either way.
    return static_cast<int16_t>(outcome.verdict);
  };
  run_.start(std::move(work), std::move(onDecided));
}

std::optional<uint32_t> SchcRunner::seedUsed() const {
  if (run_.runInProgress() || seedRun_.load() != run_.runId() || run_.runId() == 0) return std::nullopt;
  return seed_.load();
}

}  // namespace hc
