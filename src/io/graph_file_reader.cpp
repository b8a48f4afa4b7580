#include "io/graph_file_reader.h"

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
  return {};
}

bool GraphFileReader::readLine(std::string& line, bool& tooLong, const StopToken* stop) {
  line.clear();
  tooLong = false;
  if (!*in_) return false;
  bool any = false;
  // A line may run to gigabytes (a too-long one is read to its end all the same): the stop is
  // asked every 64 KiB.
  uint32_t sinceAsked = 0;
  std::streambuf* bytes = in_->rdbuf();  // byte by byte from the buffer, no sentry per byte
  int c = 0;
  while ((c = bytes->sbumpc()) != std::char_traits<char>::eof()) {
    any = true;
    if (++sinceAsked == (1u << 16)) {
      sinceAsked = 0;
      if (stopRequested(stop)) return false;
    }
    if (c == '\n') break;
    if (line.size() < kMaxGraphLineBytes) {
      line += static_cast<char>(c);
    } else {
      tooLong = true;
    }
  }
  if (c == std::char_traits<char>::eof()) in_->setstate(std::ios::eofbit | std::ios::failbit);
  if (!any) return false;
  ++lineNumber_;
  if (!line.empty() && line.back() == '\r') line.pop_back();
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
  while (readLine(line, tooLong, stop)) {
    record.line = lineNumber_;
    if (tooLong) return true;
    std::string_view view(line);
    view.remove_prefix(graph6HeaderOf(view).size());
    if (view.empty()) continue;  // blank lines, or a header on a line of its own
    record.text.assign(view);
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
  GraphRecord record;
  bool tooLong = false;
  return reader.next(record, tooLong) && reader.next(record, tooLong);
}

}  // namespace hc
