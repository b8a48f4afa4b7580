// Input checks and atomic writes. Files are opened non-blocking, so that opening a FIFO
// without a writer returns at once, and what was opened is judged by its own status, not
// by the name's (which could change between a check and the open).
#include "io/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <vector>

#include "core/message_text.h"

namespace hc {

namespace {

// Why the file cannot be opened, from errno: a missing file is "no such file" in every reader.
std::string openProblem(const std::string& shown) {
  if (errno == ENOENT) return messageText(shown, ": no such file");
  return messageText(shown, ": cannot open the file (", std::strerror(errno), ")");
}

// Why the file open at `fd` cannot be read as input, or "" when it can.
std::string inputFileProblem(int fd, const std::string& shown, struct stat& info) {
  if (::fstat(fd, &info) != 0)
    return messageText(shown, ": cannot read the file (", std::strerror(errno), ")");
  if (S_ISDIR(info.st_mode)) return messageText(shown, ": is a folder, not a file");
  if (!S_ISREG(info.st_mode))
    return messageText(shown, ": not a regular file (a device, FIFO or socket cannot be read as input)");
  if (static_cast<uint64_t>(info.st_size) > kMaxInputFileBytes)
    return messageText(shown, ": ", info.st_size, " bytes, more than the input limit of ", kMaxInputFileBytes,
                       " bytes");
  return {};
}

// Standard input as one text, read on first use.
FileStatus readStandardInput(std::string& content) {
  static std::mutex mutex;
  static bool read = false;
  static FileStatus status;
  static std::string text;
  std::lock_guard lock(mutex);
  if (!read) {
    read = true;
    char buffer[1 << 16];
    for (;;) {
      const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        status =
            FileStatus::failure(messageText("-: cannot read standard input (", std::strerror(errno), ")"));
        break;
      }
      if (got == 0) break;
      // Read no further than one buffer past the limit: a stream may never end.
      if (text.size() + static_cast<size_t>(got) > kMaxInputFileBytes) {
        status = FileStatus::failure(
            messageText("-: more than the input limit of ", kMaxInputFileBytes, " bytes"));
        break;
      }
      text.append(buffer, static_cast<size_t>(got));
    }
    if (!status) std::string().swap(text);
  }
  if (status) content = text;
  return status;
}

}  // namespace

FileStatus writeStandardOutput(const std::string& content) {
  std::cout << content << std::flush;
  if (!std::cout) return FileStatus::failure("-: cannot write to standard output");
  return {};
}

FileStatus checkInputFile(const std::string& path) {
  if (path == "-") return {};
  const std::string shown = printableText(path);
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return FileStatus::failure(openProblem(shown));
  struct stat info {};
  std::string problem = inputFileProblem(fd, shown, info);
  ::close(fd);
  return problem.empty() ? FileStatus{} : FileStatus::failure(problem);
}

FileStatus readInputFile(const std::string& path, std::string& content, const StopToken* stop) {
  if (path == "-") return readStandardInput(content);
  const std::string shown = printableText(path);
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return FileStatus::failure(openProblem(shown));
  struct stat info {};
  std::string problem = inputFileProblem(fd, shown, info);
  bool stopped = false;
  if (problem.empty()) {
    // Straight into the string, a block at a time: no copy through a buffer, and a stop is
    // heard between blocks. One byte more than the file's size is asked for, so the end is
    // seen without a second look (and a file that grows is noticed).
    constexpr size_t kBlock = size_t{1} << 20;
    std::string data;
    size_t used = 0;
    data.resize(static_cast<size_t>(info.st_size) + 1);
    for (;;) {
      if (stopRequested(stop)) {
        stopped = true;
        break;
      }
      if (used == data.size()) {
        // A file that grows while it is read is held to the same limit.
        if (used > kMaxInputFileBytes) {
          problem = messageText(shown, ": more than the input limit of ", kMaxInputFileBytes, " bytes");
          break;
        }
        data.resize(std::min<size_t>(used + kBlock, kMaxInputFileBytes + 1));
      }
      const ssize_t got = ::read(fd, data.data() + used, std::min(kBlock, data.size() - used));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        problem = messageText(shown, ": cannot read the file (", std::strerror(errno), ")");
        break;
      }
      if (got == 0) break;
      used += static_cast<size_t>(got);
    }
    if (used > kMaxInputFileBytes && problem.empty() && !stopped)
      problem = messageText(shown, ": more than the input limit of ", kMaxInputFileBytes, " bytes");
    if (problem.empty() && !stopped) {
      data.resize(used);
      content = std::move(data);
    }
  }
  ::close(fd);
  if (stopped) return FileStatus::stoppedReading(path);
  return problem.empty() ? FileStatus{} : FileStatus::failure(problem);
}

FileStatus writeFileAtomically(const std::string& path, const std::string& content) {
  AtomicFileWriter writer(path);
  writer.write(content);
  return writer.commit();
}

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path) {
  if (path.empty()) {
    status_ = FileStatus::failure("no file name given");
    return;
  }
  std::filesystem::path target(path);
  std::filesystem::path folder = target.parent_path();
  std::string pattern = (folder.empty() ? std::string(".") : folder.string()) + "/." +
                        target.filename().string() + ".tmp.XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = mkstemp(name.data());
  if (fd_ < 0) {
    status_ = FileStatus::failure(messageText(path, ": cannot create the file: ", std::strerror(errno)));
    return;
  }
  temporary_ = name.data();
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) close(fd_);
  if (!temporary_.empty()) unlink(temporary_.c_str());
}

const FileStatus& AtomicFileWriter::fail(const char* what, int error) {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
  status_ = FileStatus::failure(messageText(path_, ": ", what, ": ", std::strerror(error)));
  return status_;
}

void AtomicFileWriter::write(std::string_view text) {
  constexpr size_t kBufferBytes = size_t{1} << 20;
  if (!status_.ok) return;
  if (buffer_.size() + text.size() <= kBufferBytes) {
    buffer_.append(text);
    return;
  }
  if (!flush().ok) return;
  if (text.size() < kBufferBytes) {
    buffer_.append(text);
    return;
  }
  // A large piece goes straight to the file, not through the buffer.
  for (size_t written = 0; written < text.size();) {
    const ssize_t chunk = ::write(fd_, text.data() + written, text.size() - written);
    if (chunk < 0) {
      if (errno == EINTR) continue;
      fail("cannot write the file", errno);
      return;
    }
    written += static_cast<size_t>(chunk);
  }
}

const FileStatus& AtomicFileWriter::flush() {
  if (!status_.ok) return status_;
  for (size_t written = 0; written < buffer_.size();) {
    const ssize_t chunk = ::write(fd_, buffer_.data() + written, buffer_.size() - written);
    if (chunk < 0) {
      if (errno == EINTR) continue;
      return fail("cannot write the file", errno);
    }
    written += static_cast<size_t>(chunk);
  }
  buffer_.clear();
  return status_;
}

FileStatus AtomicFileWriter::commit() {
  if (!flush().ok) return status_;
  if (fchmod(fd_, 0644) != 0) return fail("cannot set the file's permissions", errno);
  if (fsync(fd_) != 0) return fail("cannot write the file", errno);
  const int closeResult = close(fd_);
  fd_ = -1;
  if (closeResult != 0) return fail("cannot write the file", errno);
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0) return fail("cannot replace the file", errno);
  temporary_.clear();
  return status_;
}

}  // namespace hc
