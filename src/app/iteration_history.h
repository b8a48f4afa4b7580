// The Stone Carver page's record of a run: the last L Probability Mill iterations as the
// history list shows them, and the four running statistics over every iteration of the
// run. The statistics see every iteration even when the list keeps only a few rows, so a
// short list never hides a record value.
//
// Single-threaded: the worker hands its iterations over through SchcProgressBuffer
// (run/schc_progress_buffer.h, which also defines the rows and statistics) and the
// window's thread appends them here.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <string>

#include "run/schc_progress_buffer.h"

namespace hc {

// The columns of the history list after its hidden first one.
inline constexpr int32_t kIterationColumns = 7;
inline constexpr std::array<const char*, kIterationColumns> kIterationColumnTitles = {
    "Iteration", "Deletions", "Hubs", "Rings", "Forced Edges", "% Complete", "Time"};
inline constexpr std::array<int32_t, kIterationColumns> kIterationColumnWidths = {60, 70, 40, 40, 90, 80, 70};

// Column `column` (0 = "Iteration" .. 6 = "Time") of a row as the list shows it.
std::string iterationCellText(const IterationRow& row, int32_t column);

// The text of the "Max Forced Edges:" box: the count and its share of the graph's nodes,
// "12 (60.00% Done)". A graph without nodes shows the count alone.
std::string maxForcedEdgesText(int32_t maxForcedEdges, int32_t howManyNodes);
// A least-deletions record: its number, or "---" while none was met (the export leaves
// the cell empty then).
std::string leastDeletionsText(int32_t leastDeletions);

class IterationHistory;

// The Stone Carver page's "Export Statistics": the rows the list keeps, as it shows them,
// under the column titles; then a blank line and the run's statistics, one "name,value"
// line each (the iterations reported, the three deletion records, the most forced edges
// and their share of `howManyNodes` in percent). A record not met yet is left empty.
std::string iterationHistoryCsv(const IterationHistory& history, int32_t howManyNodes);

class IterationHistory {
 public:
  explicit IterationHistory(int32_t rowLimit = 1000) : limit_(sanitizedRowLimit(rowLimit)) {}

  // Appends one iteration: statistics first, then the row, dropping the oldest rows so
  // that the last `rowLimit()` stay.
  void add(const IterationRow& row);
  // The row alone, for statistics kept elsewhere (the hand-over buffer keeps them).
  void appendRow(const IterationRow& row);
  void setStatistics(const IterationStatistics& statistics) { statistics_ = statistics; }
  // A new limit takes effect at once (a smaller one drops the oldest rows).
  void setRowLimit(int64_t requested);
  // Forgets the rows but keeps the statistics: used when the hand-over had to skip rows,
  // so the list never shows a gap.
  void clearRows() { rows_.clear(); }
  // Forgets the `count` oldest rows (all of them when there are fewer).
  void dropOldest(size_t count) { rows_.erase(rows_.begin(), rows_.begin() + std::min(count, rows_.size())); }
  void clear();

  int32_t rowLimit() const { return limit_; }
  const std::deque<IterationRow>& rows() const { return rows_; }
  const IterationStatistics& statistics() const { return statistics_; }

 private:
  void trim();

  int32_t limit_;
  std::deque<IterationRow> rows_;
  IterationStatistics statistics_;
};

// Applies a drained batch to the window's history.
void applyBatch(IterationHistory& history, const IterationBatch& batch);

}  // namespace hc
