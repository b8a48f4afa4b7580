#include "app/user_messages.h"

#include <filesystem>

namespace hc {

MessageKind messageKind(const std::string& text) {
  for (const char* telling : {"Algorithm Aborted", "Not Implemented Yet"})
    if (text == telling) return MessageKind::Information;
  return MessageKind::Warning;
}

std::string savedNote(const std::string& what, const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return "Saved " + what + " to " + (error ? path : absolute.lexically_normal().string());
}

}  // namespace hc
