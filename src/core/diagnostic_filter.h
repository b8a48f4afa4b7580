// The engine's diagnostic lines as the command line and the window show them. The Stone
// Carver writes a statistics line after every iteration that ends in a hub, and some
// versions a line per deletion: useful when studying a run, a flood otherwise. Unless
// verbose (the command line's --verbose) only the lines that report a fault (they begin
// with "Error", "ERROR", "INTERNAL ERROR", "MASSIVE ERROR" or "Invariant broken") reach the
// target stream (standard error); verbose, every line does.
#pragma once

#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>

namespace hc {

class DiagnosticFilter : public std::streambuf {
 public:
  DiagnosticFilter(std::ostream& target, bool verbose) : target_(target), verbose_(verbose) {}
  ~DiagnosticFilter() override;

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  void put(char ch);
  void emitLine();

  std::ostream& target_;
  bool verbose_;
  std::string line_;
  std::mutex mutex_;  // worker threads may write too
};

// True for a line that reports a fault and is shown even without --verbose.
bool isFaultLine(const std::string& line);

}  // namespace hc
