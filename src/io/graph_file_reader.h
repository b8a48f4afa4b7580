// Walking the graphs of a file: a file of several graphs (.g6/.s6) yields one record per
// graph line, read one by one (a batch over millions of graphs never holds them all); any
// other file yields one record, the whole file. "-" with a format of several graphs is
// standard input, walked the same way as it arrives.
#pragma once

#include <cstdint>
#include <fstream>
#include <istream>
#include <string>

#include "io/graph_format_registry.h"

namespace hc {

class GraphFileReader {
 public:
  // Lines longer than this are reported as faulty records, never read into memory whole.
  static constexpr size_t kMaxGraphLineBytes = size_t{256} << 20;

  // Empty when the file can be walked, else the error line (no such file, unknown
  // extension, cannot be opened).
  std::string open(const std::string& path);
  // The next record; false at the end. A line too long to hold sets `tooLong` instead of
  // the text (the record is then not read; its error is tooLongError()). With `stop`, a
  // stop request ends the walk (false) within a few tens of KiB of reading.
  bool next(GraphRecord& record, bool& tooLong, const StopToken* stop = nullptr);
  std::string tooLongError(const GraphRecord& record) const;
  // Whether another graph line follows, read through without keeping it (files of several
  // graphs only).
  bool skip();

 private:
  // Keeps at most `keep` bytes of the line in `line` (`tooLong` when it holds more).
  bool readLine(std::string& line, bool& tooLong, const StopToken* stop, size_t keep);
  // Takes what the stream has ready into `held_` (at least one byte, waiting for it when
  // none is ready: a pipe's lines are read as they come); false at its end.
  bool refill();

  std::string path_;
  const GraphFormatInfo* format_ = nullptr;
  std::ifstream file_;
  std::istream* in_ = &file_;
  int64_t lineNumber_ = 0;
  bool wholeFileGiven_ = false;
  uintmax_t fileBytes_ = 0;  // a regular file's size; 0 for a stream
  std::string held_;         // bytes read from the stream, not yet given out from `heldAt_` on
  size_t heldAt_ = 0;
  bool ended_ = false;
};

// Whether `path` is a file of several graphs with more than one graph in it (its first two
// graph lines are looked at, nothing more). False for any other file. Standard input ("-")
// of such a format counts as several graphs without being looked at (it can be read once).
bool fileHoldsSeveralGraphs(const std::string& path);

}  // namespace hc
