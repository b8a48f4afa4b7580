#include "core/decided_by.h"

#include <iterator>

namespace hc {

namespace {

constexpr std::string_view kNames[] = {"",
                                       "root pruning",
                                       "alternation rule",
                                       "frontier search",
                                       "exact search",
                                       "rotation-extension",
                                       "probability mill",
                                       "proof system",
                                       "clause learning",
                                       "separator",
                                       "edge cut",
                                       "linear relaxation",
                                       "initial pruning",
                                       "cube split"};
static_assert(std::size(kNames) == static_cast<size_t>(DecidedBy::kCubeSplit) + 1);

}  // namespace

std::string_view decidedByName(DecidedBy part) {
  const auto at = static_cast<size_t>(part);
  return at < std::size(kNames) ? kNames[at] : kNames[0];
}

DecidedBy decidedByOfName(std::string_view name) {
  for (size_t i = 1; i < std::size(kNames); ++i)
    if (kNames[i] == name) return static_cast<DecidedBy>(i);
  return DecidedBy::kNone;
}

}  // namespace hc
