// The .g drawing file: a little-endian, class-tagged object stream. Counts of the four
// lists, then the four lists; every pointer is written as a reference into one index
// table shared by classes and objects (1 upward, 0 is null), with a class tag and the
// body the first time an object appears and a back-reference afterwards. Because a
// node's body holds its edge list and an edge's body its two nodes, the first node
// written drags in, depth first, everything reachable from it.
//
// Writing and reading both walk that depth-first order with an explicit stack, so a long
// path of nodes needs no deep recursion. The reader trusts nothing: every count is
// checked against the bytes that remain, every index against the table, every class
// against the place it appears in; the result must satisfy the drawing's invariants, or
// the read fails and the caller's drawing is untouched.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "editor/editor_status.h"
#include "editor/graph2d.h"

namespace hc {

// The bytes of a .g file for `drawing`.
std::vector<uint8_t> writeGBytes(const Graph2D& drawing);

// Reads a whole .g stream. On success `out` is replaced by the drawing read (nextNodeId =
// largest id + 1); on failure `out` is left as it was and the status says where and why.
EditorStatus readGBytes(std::span<const uint8_t> bytes, Graph2D& out);

// Writes the .g file through a temporary file in the same folder and a rename.
EditorStatus saveGFile(const Graph2D& drawing, const std::string& path);
// Reads the file at `path` with readGBytes (same contract for `out`).
EditorStatus loadGFile(const std::string& path, Graph2D& out);

}  // namespace hc
