// Line and token scanning shared by the line-based graph readers (DIMACS, edge lists): each
// line without its '\r', numbered from 1, split at blanks, integers checked whole.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hc {

class TextLines {
 public:
  explicit TextLines(std::string_view text) : text_(text) {}
  // The next line, or false at the end of the text.
  bool next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    ++number_;
    return true;
  }
  int64_t number() const { return number_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int64_t number_ = 0;
};

// The blank-separated words of a line (at most `most`; one more means "too many").
inline std::vector<std::string_view> wordsOf(std::string_view line, size_t most) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size() && words.size() <= most) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

inline bool wholeInteger(std::string_view word, int64_t& value) {
  if (word.empty()) return false;
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && ptr == word.data() + word.size();
}

// A word as shown in a message: quoted, cut after 24 bytes, bytes outside printable ASCII
// as \xNN.
inline std::string quotedWord(std::string_view word) {
  constexpr size_t kLongest = 24;
  static const char* hex = "0123456789abcdef";
  std::string out = "\"";
  for (size_t i = 0; i < word.size() && i < kLongest; ++i) {
    auto c = static_cast<unsigned char>(word[i]);
    if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out + (word.size() > kLongest ? "...\"" : "\"");
}

}  // namespace hc
