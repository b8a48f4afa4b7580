// Lines, tokens and numbers of a certificate (see certificate_text.h).
#include "certcheck/certificate_text.h"

#include <charconv>

#include "certcheck/branch_state.h"

namespace hc::certcheck {

bool CertificateLines::readLine() {
  // Allocated once and never written beyond the line read, so its pages stay untouched.
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(maxLineBytes_ + 1);
  in_.getline(buffer_.get(), static_cast<std::streamsize>(maxLineBytes_) + 1);
  const auto read = static_cast<size_t>(in_.gcount());
  if (in_.fail() && !in_.eof()) {  // the buffer filled before the line ended
    ++number_;
    throw Rejection{"the line is longer than " + std::to_string(maxLineBytes_) +
                    " bytes, the checker's limit for this graph"};
  }
  if (read == 0 && in_.eof()) return false;
  text_.assign(buffer_.get(), in_.eof() ? read : read - 1);  // without its newline
  return true;
}

bool CertificateLines::next() {
  while (readLine()) {
    ++number_;
    if (!text_.empty() && text_.back() == '\r') text_.pop_back();
    tokens_.clear();
    const std::string_view line(text_);
    size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
      const size_t start = i;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
      if (i > start) tokens_.push_back(line.substr(start, i - start));
    }
    work += 1 + static_cast<int64_t>(tokens_.size());
    if (!tokens_.empty() && tokens_[0][0] != '#') return true;
  }
  return false;
}

bool CertificateLines::nextInPart(const char* part, int64_t partLine) {
  if (!next())
    throw Rejection{std::string("the ") + part + " at line " + std::to_string(partLine) + " has no end line",
                    number_};
  if (tokens_[0] != "end") return true;
  if (tokens_.size() > 1) throw Rejection{"nothing may follow \"end\" on its line"};
  return false;
}

int64_t parseNumber(std::string_view token, int64_t lo, int64_t hi, const std::string& what) {
  int64_t value = 0;
  const char* end = token.data() + token.size();
  auto [stop, error] = std::from_chars(token.data(), end, value);
  if (error != std::errc() || stop != end)
    throw Rejection{"\"" + std::string(token.substr(0, 24)) + "\" is not a number (" + what + ")"};
  if (value < lo || value > hi)
    throw Rejection{what + " " + std::to_string(value) + " is out of range " + std::to_string(lo) + ".." +
                    std::to_string(hi)};
  return value;
}

std::vector<int32_t> parseNodeSet(BranchState& state, std::span<const std::string_view> tokens,
                                  uint32_t& stamp) {
  stamp = state.stamp();
  std::vector<uint32_t>& marks = state.marks();
  std::vector<int32_t> nodes;
  nodes.reserve(tokens.size());
  for (std::string_view t : tokens) {
    const auto v = static_cast<int32_t>(parseNumber(t, 0, state.nodes() - 1, "node"));
    if (marks[static_cast<size_t>(v)] == stamp)
      throw Rejection{"node " + std::to_string(v) + " is listed twice"};
    marks[static_cast<size_t>(v)] = stamp;
    nodes.push_back(v);
  }
  return nodes;
}

}  // namespace hc::certcheck
