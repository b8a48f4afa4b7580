// The diagnostic stream: where the engine writes its precondition messages and the
// printLevel/verbose lines. Standard output by default; the CLI points it at stderr and
// tests at a string stream. Every message is flushed as it is written.
#pragma once

#include <ostream>

namespace hc {

// The stream in use now.
std::ostream& diag();

// Sends later messages to `stream` (which must outlive its use); returns the previous one.
std::ostream& setDiagnosticStream(std::ostream& stream);

// Writes the pieces to the diagnostic stream as one message and flushes it.
template <typename... Pieces>
void diagnostic(const Pieces&... pieces) {
  std::ostream& out = diag();
  (out << ... << pieces);
  out.flush();
}

// Restores the previous stream on scope exit (tests capture messages with it).
class ScopedDiagnosticStream {
 public:
  explicit ScopedDiagnosticStream(std::ostream& stream) : previous_(setDiagnosticStream(stream)) {}
  ~ScopedDiagnosticStream() { setDiagnosticStream(previous_); }
  ScopedDiagnosticStream(const ScopedDiagnosticStream&) = delete;
  ScopedDiagnosticStream& operator=(const ScopedDiagnosticStream&) = delete;

 private:
  std::ostream& previous_;
};

}  // namespace hc
