// The checks of an output path made before a run or a conversion starts, so that a run of
// hours does not end in a file that cannot be written: the folder exists and is writable,
// the path is not a folder, not the input itself, and a cycle file's extension names a
// cycle format. `option` names the argument in each message ("--output", "OUT").
// Every function returns empty when the path is fine, else the one error line.
#pragma once

#include <string>

#include "core/graph.h"

namespace hc {

// Whether both paths name one existing file (through links, "./", and the like).
bool isSameFile(const std::string& path, const std::string& other);

// A file can be written at `path`: its folder exists and is writable, and it is not a folder.
std::string checkWritablePath(const std::string& option, const std::string& path);

// The same, and `path` (possibly empty: nothing to check) is not the input graph's file.
std::string checkOutputPath(const std::string& option, const std::string& path, const std::string& graphPath);

// The same for a cycle file (possibly empty), whose extension must name a cycle format too.
std::string checkCycleOutputPath(const std::string& option, const std::string& path,
                                 const std::string& graphPath);

// The cycle file's format can hold a cycle of `graph` (an .obj file needs coordinates).
std::string checkCycleOutputFor(const std::string& option, const std::string& path, const Graph& graph);

// Files can be written into `folder`: it exists, is a folder, and is writable.
std::string checkWritableFolder(const std::string& option, const std::string& folder);

}  // namespace hc
