// Bit-level coding of graph6 and sparse6. Decoding never trusts a count: the node count is
// checked against the largest graph a file may hold and the line length against what that
// count needs, and every edge read is bounded by the bytes present.
#include "io/graph6_format.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace hc {

namespace {

constexpr int kFirst = 63;  // the byte of six zero bits
constexpr int kLast = 126;

// Reads bits most significant first from the six-bit groups of a line, a word at a time.
class BitReader {
 public:
  explicit BitReader(std::string_view bytes) : bytes_(bytes) {}
  size_t bitsLeft() const { return (bytes_.size() - byte_) * 6 + static_cast<size_t>(held_); }
  // The next `count` bits (count <= 36; the caller checked bitsLeft()). The word is topped
  // up with as many groups as it holds, so that most takes read no byte.
  uint64_t take(int count) {
    if (count == 0) return 0;
    if (held_ < count) {
      while (held_ <= 58 && byte_ < bytes_.size()) {
        word_ = (word_ << 6) | static_cast<uint64_t>(static_cast<unsigned char>(bytes_[byte_++]) - kFirst);
        held_ += 6;
      }
    }
    held_ -= count;
    return (word_ >> held_) & ((uint64_t{1} << count) - 1);
  }

 private:
  std::string_view bytes_;
  size_t byte_ = 0;
  uint64_t word_ = 0;  // its low `held_` bits are the next ones
  int held_ = 0;
};

class BitWriter {
 public:
  explicit BitWriter(std::string& out) : out_(out) {}
  void put(uint64_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
      group_ = (group_ << 1) | static_cast<int>((value >> i) & 1);
      if (++used_ == 6) flushGroup();
    }
  }
  int freeBits() const { return used_ == 0 ? 0 : 6 - used_; }

 private:
  void flushGroup() {
    out_ += static_cast<char>(group_ + kFirst);
    group_ = 0;
    used_ = 0;
  }
  std::string& out_;
  int group_ = 0;
  int used_ = 0;
};

void putNodeCount(std::string& out, int64_t n) {
  BitWriter bits(out);
  if (n <= 62) {
    out += static_cast<char>(n + kFirst);
  } else if (n <= 258047) {
    out += static_cast<char>(kLast);
    bits.put(static_cast<uint64_t>(n), 18);
  } else {
    out += static_cast<char>(kLast);
    out += static_cast<char>(kLast);
    bits.put(static_cast<uint64_t>(n), 36);
  }
}

// Reads N(n) from the front of `line` and drops it.
std::string takeNodeCount(std::string_view& line, int64_t& n) {
  if (line.empty()) return "the node count is missing";
  if (static_cast<unsigned char>(line[0]) != kLast) {
    n = static_cast<unsigned char>(line[0]) - kFirst;
    line.remove_prefix(1);
    return {};
  }
  int width = line.size() >= 2 && static_cast<unsigned char>(line[1]) == kLast ? 36 : 18;
  size_t bytes = width == 36 ? 8 : 4;
  if (line.size() < bytes) return "the line ends inside the node count";
  BitReader reader(line.substr(bytes - width / 6, width / 6));
  n = static_cast<int64_t>(reader.take(width));
  line.remove_prefix(bytes);
  return {};
}

// Whether every byte of `line` is a graph6 character (63..126), eight bytes at a time: one
// added to a byte in range gives 64..127, whose two top bits read 01. A byte out of range
// that carries into the next one spoils only a word already found out.
bool allGraph6Characters(std::string_view line) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kTopTwo = 0xC0C0C0C0C0C0C0C0ull;
  constexpr uint64_t kSixth = 0x4040404040404040ull;
  size_t at = 0;
  uint64_t wrong = 0;
  for (; at + 8 <= line.size(); at += 8) {
    uint64_t word;
    std::memcpy(&word, line.data() + at, sizeof word);
    wrong |= ((word + kOnes) & kTopTwo) ^ kSixth;
  }
  for (; at < line.size(); ++at) {
    const auto c = static_cast<unsigned char>(line[at]);
    if (c < kFirst || c > kLast) return false;
  }
  return wrong == 0;
}

int bitsFor(int64_t n) {
  int k = 0;
  while ((int64_t{1} << k) < n) ++k;
  return k;
}

}  // namespace

std::string_view graph6HeaderOf(std::string_view line) {
  for (std::string_view header : {std::string_view(">>graph6<<"), std::string_view(">>sparse6<<")})
    if (line.starts_with(header)) return header;
  return {};
}

std::string decodeGraph6Line(std::string_view line, PlainGraph& out, const StopToken* stop) {
  if (line.empty()) return "empty graph line";
  if (line[0] == '&') return "digraph6 (directed graphs) is not supported";
  if (line[0] == ';') return "incremental sparse6 is not supported";
  const bool sparse = line[0] == ':';
  if (sparse) line.remove_prefix(1);
  if (!allGraph6Characters(line)) {
    for (size_t i = 0; i < line.size(); ++i) {
      auto c = static_cast<unsigned char>(line[i]);
      if (c < kFirst || c > kLast)
        return "byte " + std::to_string(i + (sparse ? 2 : 1)) + " (code " + std::to_string(c) +
               ") is not a graph6/sparse6 character";
    }
  }
  int64_t n = 0;
  if (std::string problem = takeNodeCount(line, n); !problem.empty()) return problem;
  if (n < 1 || n > kMaxFileNodes)
    return "node count " + std::to_string(n) + " out of range 1.." + std::to_string(kMaxFileNodes);
  PlainGraph result;
  result.nodes = static_cast<int32_t>(n);
  std::vector<NodePair>& edges = result.edges;
  ReadingStop stopped(stop);
  if (!sparse) {
    const uint64_t pairs = static_cast<uint64_t>(n) * static_cast<uint64_t>(n - 1) / 2;
    const uint64_t needed = (pairs + 5) / 6;
    if (line.size() != needed)
      return "a graph6 line for " + std::to_string(n) + " nodes needs " + std::to_string(needed) +
             " bytes after the node count, this one has " + std::to_string(line.size());
    // Bit b is the pair (i, j) with b = j(j-1)/2 + i, i < j: the set bits in increasing order,
    // with j carried along, give the edges column by column without visiting every pair.
    size_t bitsSet = 0;
    for (char c : line) bitsSet += static_cast<size_t>(std::popcount(static_cast<unsigned>(c - kFirst)));
    edges.reserve(bitsSet);
    uint64_t j = 1;
    for (size_t at = 0; at < line.size(); ++at) {
      if (stopped()) return FileStatus::kReadingStopped;
      const int group = static_cast<unsigned char>(line[at]) - kFirst;
      if (group == 0) continue;
      for (int k = 0; k < 6; ++k) {
        if (((group >> (5 - k)) & 1) == 0) continue;
        const uint64_t b = at * 6 + static_cast<uint64_t>(k);
        if (b >= pairs) break;  // the padding
        while (j * (j + 1) / 2 <= b) ++j;
        edges.emplace_back(static_cast<int32_t>(b - j * (j - 1) / 2), static_cast<int32_t>(j));
      }
    }
    out = std::move(result);
    return {};
  }
  BitReader bits(line);
  const int k = bitsFor(n);
  edges.reserve(std::min<size_t>(bits.bitsLeft() / static_cast<size_t>(k + 1), size_t{1} << 24));
  int64_t v = 0;
  // Writers list each node's smaller neighbours in increasing order: while they do, no edge
  // can come twice, and the pass that drops repeats is not needed.
  bool increasing = true;
  int64_t lastV = -1, lastX = -1;
  const uint64_t xMask = (uint64_t{1} << k) - 1;
  while (bits.bitsLeft() >= static_cast<size_t>(k + 1)) {
    if (stopped()) return FileStatus::kReadingStopped;
    const uint64_t pair = bits.take(k + 1);  // the bit b, then x in k bits
    if ((pair >> k) != 0) ++v;
    int64_t x = static_cast<int64_t>(pair & xMask);
    if (v >= n) break;  // the padding
    if (x > v) {
      v = x;
    } else if (x == v) {
      return "node " + std::to_string(x) + " is joined to itself";
    } else {
      increasing = increasing && (v > lastV || x > lastX);
      lastV = v;
      lastX = x;
      edges.emplace_back(static_cast<int32_t>(x), static_cast<int32_t>(v));
    }
  }
  if (!increasing) dropRepeatedEdges(edges, result.nodes);
  out = std::move(result);
  return {};
}

std::string encodeGraph6(const PlainGraph& graph) {
  const int64_t n = graph.nodes;
  std::string out;
  putNodeCount(out, n);
  const size_t start = out.size();
  const uint64_t pairs = static_cast<uint64_t>(n) * static_cast<uint64_t>(std::max<int64_t>(n - 1, 0)) / 2;
  out.append(static_cast<size_t>((pairs + 5) / 6), '\0');
  for (auto [a, b] : graph.edges) {
    const uint64_t i = static_cast<uint64_t>(std::min(a, b)), j = static_cast<uint64_t>(std::max(a, b));
    const uint64_t bit = j * (j - 1) / 2 + i;
    out[start + bit / 6] = static_cast<char>(out[start + bit / 6] | (1 << (5 - bit % 6)));
  }
  for (size_t at = start; at < out.size(); ++at) out[at] = static_cast<char>(out[at] + kFirst);
  return out;
}

std::string encodeSparse6(const PlainGraph& graph) {
  const int64_t n = graph.nodes;
  const int k = bitsFor(n);
  std::vector<NodePair> sorted;
  sorted.reserve(graph.edges.size());
  for (auto [a, b] : graph.edges) sorted.emplace_back(std::max(a, b), std::min(a, b));
  std::sort(sorted.begin(), sorted.end());
  std::string out = ":";
  putNodeCount(out, n);
  BitWriter bits(out);
  int64_t v = 0;
  for (auto [j, i] : sorted) {
    if (j == v) {
      bits.put(0, 1);
    } else {
      bits.put(1, 1);
      if (j > v + 1) {
        bits.put(static_cast<uint64_t>(j), k);
        bits.put(0, 1);
      }
      v = j;
    }
    bits.put(static_cast<uint64_t>(i), k);
  }
  int free = bits.freeBits();
  if (free > 0) {
    // Ones read as "next node" past the end; the one case where they would instead read as
    // an edge to the last node gets a leading zero.
    if (n == (int64_t{1} << k) && v == n - 2 && free >= k + 1) {
      bits.put(0, 1);
      --free;
    }
    bits.put((uint64_t{1} << free) - 1, free);
  }
  return out;
}

}  // namespace hc
