// The Co-HC page's copy of a proof's per-depth statistics: one row per search-tree depth
// as the history list shows it, the maxima the charts scale by, the series each chart
// draws, and the CSV export of the table.
//
// The engine's SearchTreeStatistics lives on the worker thread; the window keeps this
// copy, filled from CohcProgressBuffer (run/cohc_progress_buffer.h, which also defines the
// rows), so painting never reads what the worker writes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/cohc_progress_buffer.h"

namespace hc {

// The columns of the history list after its hidden first one.
inline constexpr int32_t kDepthColumns = 6;
inline constexpr std::array<const char*, kDepthColumns> kDepthColumnTitles = {
    "Depth", "Started", "Solved", "Forced Edges", "Longest Time", "Average Time"};
inline constexpr std::array<int32_t, kDepthColumns> kDepthColumnWidths = {45, 70, 70, 80, 90, 90};

// Column `column` (0 = "Depth" .. 5 = "Average Time") of depth `depth`'s row; the two
// times read "-" until a node of that depth is solved, and the average is cut to
// milliseconds.
std::string depthCellText(const DepthRow& row, int32_t depth, int32_t column);

// The four characteristic curves, in the order of the chart tabs.
enum class ChartKind : int32_t { kSolved = 0, kAverageTime = 1, kMaximumTime = 2, kForcedEdges = 3 };
inline constexpr int32_t kChartCount = 4;
inline constexpr std::array<const char*, kChartCount> kChartTabTitles = {"Tree Nodes Solved", "Average Time",
                                                                         "Maximum Time", "Forced Edges"};
// The captions a narrow window shows instead (each tab's tooltip names its chart in full).
inline constexpr std::array<const char*, kChartCount> kChartTabShortTitles = {"Solved", "Avg. Time",
                                                                              "Max. Time", "Forced"};
inline constexpr std::array<const char*, kChartCount> kChartYAxisLabels = {
    "Nodes Solved", "Avg. Time To Solve", "Max. Time To Solve", "Forced Edges"};
inline constexpr const char* kChartXAxisLabel = "Search Tree Depth";

// The statistic whose maximum scales the chart's y axis.
double chartStatisticMaximum(const DepthSummary& summary, ChartKind kind);

class DepthHistory {
 public:
  // Row `depth` now reads `row` (the table grows to reach it).
  void setRow(int32_t depth, const DepthRow& row);
  void setSummary(const DepthSummary& summary) { summary_ = summary; }
  void clear();

  // Rows 0 .. deepestStartedDepth.
  int32_t rowCount() const { return static_cast<int32_t>(rows_.size()); }
  const DepthRow& row(int32_t depth) const { return rows_.at(static_cast<size_t>(depth)); }
  const DepthSummary& summary() const { return summary_; }

  // The points of a chart: the solved, average and maximum time curves over depths
  // 0 .. deepestSolvedDepth, the forced edges over 0 .. deepestStartedDepth; empty
  // before the first node starts.
  std::vector<double> series(ChartKind kind) const;

  // The table as CSV: a header row of the column titles and one row per depth, each cell
  // the list's text ("-" becomes an empty cell, so tools read it as missing).
  std::string csv() const;

 private:
  std::vector<DepthRow> rows_;
  DepthSummary summary_;
};

// Applies a drained batch to the window's copy.
void applyBatch(DepthHistory& history, const DepthBatch& batch);

// Writes `text` to `path`. Returns an error message when the file cannot be written
// (nothing is changed then), std::nullopt on success.
std::optional<std::string> writeTextFile(const std::string& path, const std::string& text);

}  // namespace hc
