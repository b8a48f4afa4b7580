#include "app/chart_scale.h"

#include <algorithm>
#include <cmath>

#include "core/number_format.h"

namespace hc {

void ChartAxisMaxima::grow(const DepthSummary& summary) {
  for (int32_t k = 0; k < kChartCount; ++k) {
    double statistic = chartStatisticMaximum(summary, static_cast<ChartKind>(k));
    double& axis = maxima_[static_cast<size_t>(k)];
    if (axis < statistic) axis = 1.2 * statistic;
  }
}

std::string chartTickLabel(double value, int32_t decimals) {
  double magnitude = std::fabs(value);
  if (!std::isfinite(value) || std::trunc(magnitude) < 1000.0) return formatNumber(value, decimals);
  int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
  double mantissa = value / std::pow(10.0, exponent);
  if (std::fabs(mantissa) >= 10.0) {  // log10 rounded down a power of ten
    mantissa /= 10.0;
    ++exponent;
  }
  return formatNumber(mantissa, 2) + "E+" + std::to_string(exponent);
}

double chartYSpan(double yMaximum) {
  return yMaximum > 0.0 && std::isfinite(yMaximum) ? yMaximum : 1.0;
}

namespace {

// 1, 2 or 5 times a power of ten, the least of them at least a tenth of `span` (at least 1).
double wholeStep(double span) {
  const double wanted = span / 10.0;
  if (!(wanted > 1.0) || !std::isfinite(wanted)) return 1.0;
  const double power = std::pow(10.0, std::floor(std::log10(wanted)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * power >= wanted) return m * power;
  return 10.0 * power;
}

// Ticks at 0, step, 2 step, ... up to `span`.
std::vector<ChartTick> wholeTicks(double span) {
  const double step = wholeStep(span);
  std::vector<ChartTick> ticks;
  for (int64_t i = 0; i * step <= span * (1.0 + 1e-12); ++i)
    ticks.push_back({i * step / span, chartTickLabel(i * step, 0)});
  return ticks;
}

}  // namespace

bool chartCountsWholeNumbers(ChartKind kind) {
  return kind == ChartKind::kSolved || kind == ChartKind::kForcedEdges;
}

std::vector<ChartTick> chartYTicks(double yMaximum, bool wholeNumbers) {
  double span = chartYSpan(yMaximum);
  if (wholeNumbers) return wholeTicks(span);
  double step = span / 10.0;
  int32_t decimals = std::clamp(static_cast<int32_t>(std::ceil(-std::log10(step))) + 1, 2, 9);
  std::vector<ChartTick> ticks;
  for (int32_t i = 0; i <= 10; ++i) ticks.push_back({i * 0.1, chartTickLabel(span * i / 10.0, decimals)});
  return ticks;
}

std::vector<ChartTick> chartXTicks(int32_t pointCount) {
  std::vector<ChartTick> ticks;
  if (pointCount <= 0) return ticks;
  if (pointCount <= 11) {
    for (int32_t i = 0; i < pointCount; ++i)
      ticks.push_back({chartPointFraction(i, pointCount), chartTickLabel(i, 0)});
    return ticks;
  }
  return wholeTicks(pointCount - 1);
}

std::vector<double> chartXGridFractions(int32_t pointCount) {
  std::vector<double> lines;
  if (pointCount >= 2 && pointCount <= 11) {
    for (int32_t i = 0; i < pointCount; ++i) lines.push_back(chartPointFraction(i, pointCount));
  } else if (pointCount == 1) {
    lines = {0.0, 1.0};
  } else {
    for (const ChartTick& tick : chartXTicks(pointCount)) lines.push_back(tick.fraction);
  }
  return lines;
}

double chartPointFraction(int32_t index, int32_t pointCount) {
  return pointCount <= 1 ? 0.0 : static_cast<double>(index) / (pointCount - 1);
}

}  // namespace hc
