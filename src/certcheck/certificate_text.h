// Reading a certificate's text: lines (blank lines and lines starting with '#' are skipped),
// their whitespace-separated tokens, and strict numbers. A fault anywhere in the check is
// thrown as a Rejection and becomes the checker's answer with the line it happened on.
#pragma once

#include <cstdint>
#include <istream>
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
  explicit CertificateLines(std::istream& in) : in_(in) {}
  // Moves to the next line with content; false at the end of the text.
  bool next();
  int64_t number() const { return number_; }
  const std::string& text() const { return text_; }
  const std::vector<std::string_view>& tokens() const { return tokens_; }

 private:
  std::istream& in_;
  int64_t number_ = 0;
  std::string text_;
  std::vector<std::string_view> tokens_;
};

// A decimal integer in lo..hi, else a Rejection naming `what`.
int64_t parseNumber(std::string_view token, int64_t lo, int64_t hi, const std::string& what);

// Nodes of `state` listed in tokens[from..], each once. Marks them with a fresh stamp of
// the state, returned in `stamp`.
std::vector<int32_t> parseNodeSet(BranchState& state, std::span<const std::string_view> tokens,
                                  uint32_t& stamp);

}  // namespace hc::certcheck
