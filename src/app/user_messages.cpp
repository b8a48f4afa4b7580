#include "app/user_messages.h"

#include <filesystem>

namespace hc {

MessageKind messageKind(const std::string& text) {
  for (const char* telling : {"Algorithm Aborted", "Not Implemented Yet"})
    if (text == telling) return MessageKind::kInformation;
  return MessageKind::kWarning;
}

std::string savedNote(const std::string& what, const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return "Saved " + what + " to " + (error ? path : absolute.lexically_normal().string());
}

std::string dialogStartPath(const std::string& currentFilePath, const std::string& lastFolder,
                            const std::string& suggested) {
  const std::filesystem::path name(suggested);
  if (name.has_parent_path()) return suggested;
  std::filesystem::path folder = std::filesystem::path(currentFilePath).parent_path();
  if (currentFilePath.empty()) folder = lastFolder;
  if (folder.empty()) return suggested;
  return suggested.empty() ? folder.string() : (folder / name).string();
}

}  // namespace hc
