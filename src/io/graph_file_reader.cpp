#include "io/graph_file_reader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "core/message_text.h"
#include "io/graph6_format.h"

namespace hc {

std::string GraphFileReader::open(const std::string& path) {
  path_ = path;
  format_ = graphFormatOfPath(path);
  lineNumber_ = 0;
  wholeFileGiven_ = false;
  fileBytes_ = 0;
  held_.clear();
  heldAt_ = 0;
  ended_ = false;
  if (format_ == nullptr) return unknownGraphExtensionError(path);
  if (path == kStandardStreamPath) {
    in_ = &std::cin;
    return {};
  }
  in_ = &file_;
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  const std::string shown = printableText(path);
  if (ec || !std::filesystem::exists(status)) return shown + ": no such file";
  if (std::filesystem::is_directory(status)) return shown + ": is a folder, not a graph file";
  if (!format_->severalGraphs) return {};  // the record's reader reads the file itself
  // A device or FIFO named .g6 would stream forever: the same refusal as every reader's.
  if (FileStatus status = checkInputFile(path); !status) return status.error;
  file_.close();
  file_.clear();
  file_.open(path, std::ios::binary);
  if (!file_) return shown + ": cannot open the file";
  fileBytes_ = std::filesystem::is_regular_file(status) ? std::filesystem::file_size(path, ec) : 0;
  if (ec) fileBytes_ = 0;
  return {};
}

bool GraphFileReader::refill() {
  held_.clear();
  heldAt_ = 0;
  if (ended_) return false;
  std::streambuf* bytes = in_->rdbuf();
  constexpr std::streamsize kChunk = std::streamsize{1} << 16;
  if (const std::streamsize ready = bytes->in_avail(); ready > 0) {
    held_.resize(static_cast<size_t>(std::min(ready, kChunk)));
    held_.resize(static_cast<size_t>(bytes->sgetn(held_.data(), static_cast<std::streamsize>(held_.size()))));
    if (!held_.empty()) return true;
  }
  // Nothing ready (or a read that gave nothing): one byte, waited for, or the end.
  const int c = bytes->sbumpc();
  if (c == std::char_traits<char>::eof()) {
    ended_ = true;
    in_->setstate(std::ios::eofbit);
    return false;
  }
  held_ += static_cast<char>(c);
  return true;
}

bool GraphFileReader::readLine(std::string& line, bool& tooLong, const StopToken* stop, size_t keep) {
  line.clear();
  tooLong = false;
  if (!*in_) return false;
  bool any = false;
  // A line may run to gigabytes (a too-long one is read to its end all the same): the stop is
  // asked at every refill, 64 KiB at most.
  for (;;) {
    if (heldAt_ == held_.size()) {
      if (any && stopRequested(stop)) return false;
      if (!refill()) break;
    }
    any = true;
    const char* from = held_.data() + heldAt_;
    const size_t left = held_.size() - heldAt_;
    const auto* end = static_cast<const char*>(std::memchr(from, '\n', left));
    const size_t length = end == nullptr ? left : static_cast<size_t>(end - from);
    const size_t room = keep - line.size();
    // A line that outruns its first chunk is a large graph: room for the rest at once (no
    // line is longer than its file), not a copy at every doubling.
    if (end == nullptr && line.empty() && fileBytes_ > left)
      line.reserve(std::min<uintmax_t>(keep, fileBytes_));
    line.append(from, std::min(length, room));
    if (length > room) tooLong = true;
    heldAt_ += length;
    if (end != nullptr) {
      ++heldAt_;
      break;
    }
  }
  if (!any) return false;
  ++lineNumber_;
  if (!tooLong && !line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool GraphFileReader::next(GraphRecord& record, bool& tooLong, const StopToken* stop) {
  tooLong = false;
  record.path = path_;
  record.text.clear();
  if (format_ == nullptr) return false;
  if (!format_->severalGraphs) {
    if (wholeFileGiven_) return false;
    wholeFileGiven_ = true;
    record.line = 0;
    return true;
  }
  std::string line;
  while (readLine(line, tooLong, stop, kMaxGraphLineBytes)) {
    record.line = lineNumber_;
    if (tooLong) return true;
    const size_t header = graph6HeaderOf(line).size();
    if (header == line.size()) continue;  // blank lines, or a header on a line of its own
    line.erase(0, header);
    record.text = std::move(line);
    return true;
  }
  return false;
}

std::string GraphFileReader::tooLongError(const GraphRecord& record) const {
  return printableText(record.where()) + ": line longer than " + std::to_string(kMaxGraphLineBytes >> 20) +
         " MiB";
}

bool fileHoldsSeveralGraphs(const std::string& path) {
  const GraphFormatInfo* format = graphFormatOfPath(path);
  if (format == nullptr || !format->severalGraphs) return false;
  if (path == kStandardStreamPath) return true;
  GraphFileReader reader;
  if (!reader.open(path).empty()) return false;
  return reader.skip() && reader.skip();
}

bool GraphFileReader::skip() {
  // A header is at most a dozen bytes: what the line holds past it decides, so a graph of
  // a hundred megabytes is read through without being kept.
  constexpr size_t kPeek = 64;
  std::string line;
  bool longer = false;
  while (readLine(line, longer, nullptr, kPeek)) {
    if (longer) return true;
    std::string_view view(line);
    view.remove_prefix(graph6HeaderOf(view).size());
    if (!view.empty()) return true;
  }
  return false;
}

}  // namespace hc
