// The finder's path structure against a plain vector over random operations.
#include "solve/path_treap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace hc {

TEST(PathTreap, MatchesAVectorOverRandomOperations) {
  constexpr int32_t kNodes = 60;
  std::mt19937 rng(7);
  PathTreap path(kNodes, 3);
  std::vector<int32_t> model;
  for (int step = 0; step < 20000; ++step) {
    const int32_t length = static_cast<int32_t>(model.size());
    const int op = static_cast<int>(rng() % 6);
    if (op == 0 || length == 0) {
      if (length == kNodes || rng() % 50 == 0) {
        path.clear();
        model.clear();
        continue;
      }
      int32_t v = static_cast<int32_t>(rng() % kNodes);
      while (std::find(model.begin(), model.end(), v) != model.end()) v = (v + 1) % kNodes;
      if (rng() % 2 == 0) {
        path.pushBack(v);
        model.push_back(v);
      } else {
        path.pushFront(v);
        model.insert(model.begin(), v);
      }
    } else if (op <= 2) {
      const int32_t i = static_cast<int32_t>(rng() % static_cast<uint32_t>(length + 1));
      if (op == 1) {
        path.reverseSuffix(i);
        std::reverse(model.begin() + i, model.end());
      } else {
        path.reversePrefix(i);
        std::reverse(model.begin(), model.begin() + i);
      }
    } else {
      const int32_t i = static_cast<int32_t>(rng() % static_cast<uint32_t>(length));
      const int32_t v = model[static_cast<size_t>(i)];
      ASSERT_EQ(path.at(i), v);
      ASSERT_EQ(path.indexOf(v), i);
      const bool forward = op == 3;
      const int32_t j = forward ? i + 1 : i - 1;
      ASSERT_EQ(path.neighbourAfterIndexOf(v, forward), j < 0 || j >= length ? -1 : model[static_cast<size_t>(j)]);
    }
    ASSERT_EQ(path.length(), static_cast<int32_t>(model.size()));
    for (int32_t v = 0; v < kNodes; ++v)
      ASSERT_EQ(path.contains(v), std::find(model.begin(), model.end(), v) != model.end());
  }
}

}  // namespace hc
