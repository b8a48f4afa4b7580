#include "core/diagnostic_filter.h"

namespace hc {

bool isFaultLine(const std::string& line) {
  for (const char* prefix : {"Error", "ERROR", "INTERNAL ERROR", "MASSIVE ERROR", "Invariant broken"}) {
    if (line.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

void DiagnosticFilter::emitLine() {
  if (line_.empty()) return;
  if (verbose_ || isFaultLine(line_)) target_ << line_ << std::flush;
  line_.clear();
}

DiagnosticFilter::~DiagnosticFilter() {
  emitLine();
}

void DiagnosticFilter::put(char ch) {
  line_.push_back(ch);
  if (ch == '\n') emitLine();
}

DiagnosticFilter::int_type DiagnosticFilter::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  std::lock_guard<std::mutex> lock(mutex_);
  put(traits_type::to_char_type(ch));
  return ch;
}

std::streamsize DiagnosticFilter::xsputn(const char* text, std::streamsize count) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (std::streamsize i = 0; i < count; ++i) put(text[i]);
  return count;
}

// A flush ends nothing: a message is written in pieces, each flushed, and is judged whole.
int DiagnosticFilter::sync() {
  return 0;
}

}  // namespace hc
