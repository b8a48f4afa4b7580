// The arithmetic of the characteristic-curve charts, apart from any painting: the axis
// maxima that only grow during a run (with 20 % headroom), the grid and tick positions
// as fractions of the plot area, and the tick label texts. The window's chart painter
// turns these fractions into pixels.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/depth_history.h"

namespace hc {

class ChartAxisMaxima {
 public:
  // Each axis below its statistic's maximum becomes 1.2 x that maximum; none shrinks.
  void grow(const DepthSummary& summary);
  void reset() { maxima_ = {}; }
  double maximum(ChartKind kind) const { return maxima_[static_cast<size_t>(kind)]; }

 private:
  std::array<double, kChartCount> maxima_{};
};

// A tick label value: `decimals` decimals through formatNumber, except that a value whose
// integer part has four or more digits is written as its mantissa (2 decimals), "E+" and
// the exponent: 12345 reads 1.23E+4.
std::string chartTickLabel(double value, int32_t decimals);

struct ChartTick {
  double fraction = 0.0;  // 0 at the axis origin, 1 at its maximum
  std::string label;
};

// The y axis spans 0 .. yMaximum; a maximum that is not positive (nothing measured yet,
// or times below the clock's resolution) spans 0 .. 1 instead, so the chart never
// divides by zero.
double chartYSpan(double yMaximum);
// 11 ticks at tenths of the y span, labels with 2 decimals, or as many more as a step
// below 0.01 needs to show its leading digit (times of a fast proof are milliseconds;
// with 2 decimals every label would read 0.00). For a whole-number quantity (counts) the
// ticks stand at whole numbers instead: a step of 1, 2 or 5 times a power of ten, at
// least a tenth of the span, labels without decimals.
std::vector<ChartTick> chartYTicks(double yMaximum, bool wholeNumbers = false);
// Whether the chart of `kind` counts things (tree nodes, forced edges) rather than times.
bool chartCountsWholeNumbers(ChartKind kind);
// The x axis over `pointCount` points 0 .. pointCount-1 (depths, whole numbers): with at
// most 11 points one tick per point, otherwise a tick at every multiple of a whole step
// of 1, 2 or 5 times a power of ten (at least a tenth of the range). Labels without
// decimals. No points: none.
std::vector<ChartTick> chartXTicks(int32_t pointCount);
// Where the vertical grid lines go: every point position with at most 11 points (and
// always both edges, so a one-point chart has two lines), otherwise at the x ticks.
std::vector<double> chartXGridFractions(int32_t pointCount);
// The x fraction of point i (a single point sits on the y axis).
double chartPointFraction(int32_t index, int32_t pointCount);

}  // namespace hc
