#include "io/path_names.h"

#include <cctype>

namespace hc {

namespace {

// Where the file name starts (after the last folder separator of either kind).
size_t fileNameStart(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

std::string fileNameOf(const std::string& path) {
  return path.substr(fileNameStart(path));
}

std::string fileExtension(const std::string& path) {
  const std::string name = fileNameOf(path);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return {};
  std::string ext = name.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

std::string editorFileExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < fileNameStart(path)) return {};
  return path.substr(dot + 1);
}

std::string hamiltonianCycleFileName(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot <= fileNameStart(path)) return path + "-HC";
  return path.substr(0, dot) + "-HC" + path.substr(dot);
}

}  // namespace hc
