// A temporary file by name, for a library that writes to a path of its own opening (the SAT
// solver's proof): created empty and closed, removed when the object goes.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace hc {

class TemporaryFile {
 public:
  TemporaryFile() {
    std::error_code ec;
    std::string pattern = (std::filesystem::temp_directory_path(ec) / "hamcycles-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd >= 0) {
      ::close(fd);
      path_ = pattern;
    }
  }
  ~TemporaryFile() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove(path_, ec);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Empty when no file could be made.
  const std::string& path() const { return path_; }
  // Appends the file's bytes to `out`; false when it cannot be read.
  bool appendTo(std::string& out) const {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return false;
    out.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
  }

 private:
  std::string path_;
};

}  // namespace hc
