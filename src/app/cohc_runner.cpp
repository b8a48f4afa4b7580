#include "app/cohc_runner.h"

#include "app/program_states.h"
#include "io/adjacency_text_format.h"

namespace hc {

// Forwards the updates of one run to the page's listener while that run is current.
class CohcRunner::ListenerAdapter : public SearchTreeListener {
 public:
  ListenerAdapter(BackgroundRun& run, uint64_t id, SearchTreeListener* target) : run_(run), id_(id), target_(target) {}
  void nodeStarted(const SearchTreeStatistics& statistics, int32_t depth, bool newRow) override {
    run_.deliver(id_, [&] { target_->nodeStarted(statistics, depth, newRow); });
  }
  void nodeSolved(const SearchTreeStatistics& statistics, int32_t depth) override {
    run_.deliver(id_, [&] { target_->nodeSolved(statistics, depth); });
  }

 private:
  BackgroundRun& run_;
  uint64_t id_;
  SearchTreeListener* target_;
};

void CohcRunner::start(std::shared_ptr<Graph> working, const CohcRunSettings& settings, SearchTreeListener* listener,
                       std::shared_ptr<SearchTreeStatistics> statistics, std::function<void(int16_t)> onDecided) {
  run_.abortRun();
  const uint64_t id = run_.nextRunId();
  auto adapter = listener ? std::make_shared<ListenerAdapter>(run_, id, listener) : nullptr;
  BackgroundRun::Work work = [working, settings, adapter, statistics = std::move(statistics)](
                                 const StopToken& stop) -> std::optional<int16_t> {
    if (!working) return std::nullopt;
    CohcOptions options;
    options.maxSearchDepth = settings.maxSearchDepth;
    options.pruningLevel = settings.pruningLevel;
    options.buildMinimalChildren = settings.buildMinimalChildren;
    options.writeCycleFile = settings.writeCycleFile;
    options.writeGraph = adjacencyTextFileWriter;
    CohcResult result = runCoHC(*working, options, &stop, adapter.get(), statistics);
    if (result.aborted) return std::nullopt;
    if (result.verdict == kNotHamiltonian) return program_results::kNonHamiltonian;
    if (result.verdict == kHamiltonian) return program_results::kHamiltonian;
    return program_results::kSearchTooShallow;
  };
  run_.start(std::move(work), std::move(onDecided));
}

}  // namespace hc
