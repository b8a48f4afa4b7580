// How every reader opens its input and every writer puts its output in place, and the one
// result type of the file functions.
//
// A reader takes the whole content of a regular file of bounded size: devices, FIFOs,
// sockets, folders and larger files are refused before anything is read (they would block,
// never end, or make a reader hold what a damaged or hostile file asks for). A writer writes
// to a temporary file in the target's folder and renames it into place, so a failed write
// never leaves a partial file.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "core/message_text.h"

namespace hc {

struct FileStatus {
  bool ok = true;
  std::string error;  // "file: line N: what is wrong" when !ok
  explicit operator bool() const { return ok; }
  // The message as one line of printable text (printableText): whatever input it quotes, raw
  // bytes never reach a terminal or a report. Quoting an already shown text changes nothing.
  static FileStatus failure(const std::string& message) { return FileStatus{false, printableText(message)}; }
};

// The largest input file any reader accepts (1 GiB): far above the largest graph the
// generators build, and a bound on what a damaged or hostile file can make a reader hold.
inline constexpr uint64_t kMaxInputFileBytes = uint64_t{1} << 30;

// The whole content of a regular file of at most kMaxInputFileBytes, or one line naming the
// file and why it cannot be read; `content` is only set on success. The path "-" is
// standard input, read once to its end (at most kMaxInputFileBytes) and kept, so that a
// reader that reads its file twice sees the same text.
FileStatus readInputFile(const std::string& path, std::string& content);
// The same checks without reading, for readers that stream a file line by line ("-" passes).
FileStatus checkInputFile(const std::string& path);

// Writes `content` to standard output and flushes it.
FileStatus writeStandardOutput(const std::string& content);

// Writes `content` to `path` through a temporary file in the same folder and a rename.
FileStatus writeFileAtomically(const std::string& path, const std::string& content);

}  // namespace hc
