// How every reader opens its input and every writer puts its output in place, and the one
// result type of the file functions.
//
// A reader handed a StopToken (FormatOptions::stop) asks it every few thousand lines or
// edges and gives up when it is stopped, so Ctrl-C is heard while a large file is read; a
// stopped read is a failure of its own kind (FileStatus::stopped), not a fault of the file.
//
// A reader takes the whole content of a regular file of bounded size: devices, FIFOs,
// sockets, folders and larger files are refused before anything is read (they would block,
// never end, or make a reader hold what a damaged or hostile file asks for). A writer writes
// to a temporary file in the target's folder and renames it into place, so a failed write
// never leaves a partial file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/message_text.h"
#include "core/stop_token.h"

namespace hc {

struct FileStatus {
  bool ok = true;
  std::string error;     // "file: line N: what is wrong" when !ok
  bool stopped = false;  // !ok because the read heard a stop request ("file: reading stopped")
  explicit operator bool() const { return ok; }
  // The message as one line of printable text (printableText): whatever input it quotes, raw
  // bytes never reach a terminal or a report. Quoting an already shown text changes nothing.
  static FileStatus failure(const std::string& message) { return FileStatus{false, printableText(message)}; }
  // A read given up at a stop request; `where` names the file (or its line of graphs).
  static FileStatus stoppedReading(const std::string& where) {
    return FileStatus{false, printableText(where) + ": " + kReadingStopped, true};
  }
  static constexpr const char* kReadingStopped = "reading stopped";
};

// How a reader hears a stop request: counting its steps (lines, edges, bits) and asking the
// token exactly (deadline included) once every kStride of them, which costs nothing next to
// the steps and answers within a few milliseconds on any file. A null token never stops.
class ReadingStop {
 public:
  explicit ReadingStop(const StopToken* stop) : stop_(stop) {}
  // True once the stop is requested; `steps` is how much work was done since the last call.
  bool operator()(uint32_t steps = 1) {
    if (stop_ == nullptr) return false;
    if (steps < left_) {
      left_ -= steps;
      return false;
    }
    left_ = kStride;
    return stop_->stopRequested();
  }

 private:
  static constexpr uint32_t kStride = 4096;
  const StopToken* stop_;
  uint32_t left_ = kStride;
};

// The largest input file any reader accepts (1 GiB): far above the largest graph the
// generators build, and a bound on what a damaged or hostile file can make a reader hold.
inline constexpr uint64_t kMaxInputFileBytes = uint64_t{1} << 30;

// The whole content of a regular file of at most kMaxInputFileBytes, or one line naming the
// file and why it cannot be read; `content` is only set on success. The path "-" is
// standard input, read once to its end (at most kMaxInputFileBytes) and kept, so that a
// reader that reads its file twice sees the same text. With `stop`, a regular file is read
// in blocks and the read is given up between two blocks once the stop is requested.
FileStatus readInputFile(const std::string& path, std::string& content, const StopToken* stop = nullptr);
// The same checks without reading, for readers that stream a file line by line ("-" passes).
FileStatus checkInputFile(const std::string& path);

// Writes `content` to standard output and flushes it.
FileStatus writeStandardOutput(const std::string& content);

// Writes `content` to `path` through a temporary file in the same folder and a rename.
FileStatus writeFileAtomically(const std::string& path, const std::string& content);

// The same for a file too large to hold in memory, written piece by piece: the pieces go to
// a temporary file in the target's folder (buffered), which commit() renames into place. A
// writer dropped before commit() removes its temporary file, so a failed or abandoned write
// never leaves a partial file at the target. After the first failure every call is a no-op
// and status() keeps that failure's message.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void write(std::string_view text);
  // Everything written so far is in the temporary file (to be read back, say).
  const FileStatus& flush();
  // The temporary file while the writer is open: what has been flushed can be read there.
  const std::string& temporaryPath() const { return temporary_; }
  // Flushes, syncs and renames the temporary file to the target.
  FileStatus commit();
  const FileStatus& status() const { return status_; }

 private:
  const FileStatus& fail(const char* what, int error);  // status_, now failed

  std::string path_, temporary_;
  int fd_ = -1;
  std::string buffer_;
  FileStatus status_;
};

}  // namespace hc
