// The one line scanner of the text formats (adjacency text, OBJ, TSPLIB, DIMACS, edge
// lists, cycle files): each line without its newline and a '\r' before it, numbered from
// 1, a last line without its newline counting as a line; then split into words at the
// blanks of the format, with integers checked whole.
#pragma once

#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/message_text.h"
#include "io/file_access.h"

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
  // The number of the line last returned (0 before the first).
  int64_t number() const { return number_; }

  // How many lines `text` holds.
  static int64_t count(std::string_view text) {
    TextLines lines(text);
    std::string_view line;
    while (lines.next(line)) {
    }
    return lines.number();
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int64_t number_ = 0;
};

// The blanks between words: DIMACS and edge lists take spaces and tabs only; the other
// formats every ASCII white space.
inline constexpr std::string_view kBlanks = " \t";
inline constexpr std::string_view kWhitespace = " \t\r\f\v";

// The words of a line (at most `most`; one more means "too many").
inline std::vector<std::string_view> wordsOf(std::string_view line, size_t most = SIZE_MAX,
                                             std::string_view blanks = kBlanks) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size() && words.size() <= most) {
    while (i < line.size() && blanks.find(line[i]) != std::string_view::npos) ++i;
    size_t start = i;
    while (i < line.size() && blanks.find(line[i]) == std::string_view::npos) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// The first N words of a line, and one more if there is one (so N + 1 means "too many"),
// without allocating: the inner loop of the edge readers meets millions of lines.
template <size_t N>
class FirstWords {
 public:
  explicit FirstWords(std::string_view line, std::string_view blanks = kBlanks) {
    size_t i = 0;
    while (i < line.size() && count_ <= N) {
      while (i < line.size() && blanks.find(line[i]) != std::string_view::npos) ++i;
      const size_t start = i;
      while (i < line.size() && blanks.find(line[i]) == std::string_view::npos) ++i;
      if (i > start) words_[count_++] = line.substr(start, i - start);
    }
  }
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  std::string_view operator[](size_t i) const { return words_[i]; }

 private:
  std::array<std::string_view, N + 1> words_{};
  size_t count_ = 0;
};

// `line` without the blanks at either end.
inline std::string_view trimmed(std::string_view line, std::string_view blanks = kWhitespace) {
  const size_t first = line.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(blanks) - first + 1);
}

inline bool wholeInteger(std::string_view word, int64_t& value) {
  if (word.empty()) return false;
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && ptr == word.data() + word.size();
}

// A word as shown in a message: quoted, cut after 24 bytes, bytes outside printable ASCII
// as \xNN (printableText).
inline std::string quotedWord(std::string_view word) {
  constexpr size_t kLongest = 24;
  return "\"" + printableText(word.substr(0, kLongest)) + (word.size() > kLongest ? "...\"" : "\"");
}

// "where: line N: what".
inline FileStatus lineError(const std::string& where, int64_t line, const std::string& what) {
  return FileStatus::failure(messageText(where, ": line ", line, ": ", what));
}

// A token as adjacency text and OBJ messages quote it: in single quotes, at most 20
// characters, bytes that are not printable written as \xNN.
inline std::string quotedToken(std::string_view token) {
  std::string out = "'";
  size_t shown = 0;
  for (char ch : token) {
    if (shown++ == 20) {
      out += "...";
      break;
    }
    out += printableText(std::string_view(&ch, 1));
  }
  return out + "'";
}

}  // namespace hc
