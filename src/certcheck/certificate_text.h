// Reading a certificate's text: lines (blank ones and those starting with '#' skipped),
// their whitespace-separated tokens, and strict numbers; one line of bounded length is held
// at a time. A fault anywhere in the check is thrown as a Rejection and becomes the
// checker's answer with the line it happened on.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hc::certcheck {

class BranchState;

struct Rejection {
  std::string reason;
  int64_t line = -1;  // -1: the line being read
};

class CertificateLines {
 public:
  // The longest line read, unless the graph's node lists need more (kBytesPerNode a node).
  static constexpr size_t kMaxLineBytes = size_t{16} << 20;
  static constexpr size_t kBytesPerNode = 12;

  explicit CertificateLines(std::istream& in, size_t maxLineBytes = kMaxLineBytes)
      : in_(in), maxLineBytes_(maxLineBytes) {}
  // Moves to the next line with content; false at the end of the text. A Rejection for a
  // line longer than the limit.
  bool next();
  int64_t number() const { return number_; }
  const std::string& text() const { return text_; }
  const std::vector<std::string_view>& tokens() const { return tokens_; }
  // The next line of the part opened at line `partLine`; false at its `end` line. A Rejection
  // naming the `part` when the text ends first.
  bool nextInPart(const char* part, int64_t partLine);

  // The checker's own count of its work (tokens, propagation, frontier states, proof replay):
  // what a certificate costs, measured without a clock.
  int64_t work = 0;

 private:
  bool readLine();  // into text_; false at the end
  std::istream& in_;
  size_t maxLineBytes_;
  int64_t number_ = 0;
  std::string text_;
  std::vector<std::string_view> tokens_;
  std::unique_ptr<char[]> buffer_;  // maxLineBytes_ + 1
};

// A decimal integer in lo..hi, else a Rejection naming `what`.
int64_t parseNumber(std::string_view token, int64_t lo, int64_t hi, const std::string& what);

// Nodes of `state`, each listed once, marked with a fresh stamp of the state (`stamp`).
std::vector<int32_t> parseNodeSet(BranchState& state, std::span<const std::string_view> tokens,
                                  uint32_t& stamp);

}  // namespace hc::certcheck
