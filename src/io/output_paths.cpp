#include "io/output_paths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "io/cycle_files.h"

namespace hc {

bool isSameFile(const std::string& path, const std::string& other) {
  std::error_code ec;
  return std::filesystem::exists(path, ec) && std::filesystem::equivalent(path, other, ec);
}

std::string checkWritablePath(const std::string& option, const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return option + " " + path + " is a folder";
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  if (!std::filesystem::is_directory(folder, ec))
    return option + " " + path + ": folder " + folder.string() + " does not exist";
  // The file is written to a temporary name in the folder and renamed into place, so the
  // folder must take a new file: a probe says so where permission bits do not (root, /proc,
  // a read-only mount).
  std::string probe = (folder / ".hamcycles-probe-XXXXXX").string();
  const int fd = mkstemp(probe.data());
  if (fd < 0) return option + " " + path + ": folder " + folder.string() + " is not writable";
  close(fd);
  unlink(probe.c_str());
  return {};
}

std::string checkOutputPath(const std::string& option, const std::string& path,
                            const std::string& graphPath) {
  if (path.empty()) return {};
  if (!graphPath.empty() && isSameFile(path, graphPath))
    return option + " " + path + " is the input graph itself; choose another file";
  return checkWritablePath(option, path);
}

std::string checkCycleOutputPath(const std::string& option, const std::string& path,
                                 const std::string& graphPath) {
  if (!path.empty() && cycleFileFormatOf(path) == nullptr)
    return option + " " + path + ": unknown extension (use " + cycleOutputExtensions() + ")";
  return checkOutputPath(option, path, graphPath);
}

std::string checkCycleOutputFor(const std::string& option, const std::string& path, const Graph& graph) {
  if (path.empty() || cycleFileFormatOf(path) != &cycleFileFormatInfo(CycleFileFormat::kObj) ||
      graph.hasCoordinates())
    return {};
  return option + " " + path +
         ": an .obj cycle file needs node coordinates, which only graphs read from .obj files have";
}

std::string checkWritableFolder(const std::string& option, const std::string& folder) {
  std::error_code ec;
  const auto status = std::filesystem::status(folder, ec);
  if (ec || !std::filesystem::exists(status)) return option + " " + folder + ": no such folder";
  if (!std::filesystem::is_directory(status)) return option + " " + folder + " is not a folder";
  if (access(folder.c_str(), W_OK) != 0) return option + " " + folder + ": the folder is not writable";
  return {};
}

}  // namespace hc
