// The .g stream, both directions. See g_file.h for the layout; the comments here are about
// the choices that keep the reader safe on hostile bytes.
#include "io/g_file.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "core/message_text.h"
#include "io/file_access.h"

namespace hc {
namespace {

constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTagBit = 0x8000;
constexpr uint16_t kBigTag = 0x7FFF;
constexpr uint32_t kBigClassBit = 0x80000000u;
constexpr uint16_t kBigCount = 0xFFFF;
constexpr size_t kMaxClassNameLength = 63;  // names must be shorter than 64 bytes

// The serializable classes, numbered for the tables below.
enum ClassKind : uint8_t { kNodeClass = 0, kListClass = 1, kEdgeClass = 2, kNoClass = 3 };
constexpr std::string_view kClassNames[] = {"Graph2DNode", "CObList", "Graph2DEdge"};

// ---------------------------------------------------------------- writing

class GWriter {
 public:
  std::vector<uint8_t> write(const Graph2D& drawing) {
    putInt32(drawing.howManyUnselectedNodes);
    putInt32(drawing.howManySelectedNodes);
    putInt32(drawing.howManyUnselectedEdges);
    putInt32(drawing.howManySelectedEdges);
    writeList(drawing.unselectedNodes);
    writeList(drawing.selectedNodes);
    writeList(drawing.unselectedEdges);
    writeList(drawing.selectedEdges);
    return std::move(bytes_);
  }

 private:
  // An object whose body is half written: a node's edge list (step = next element) or an
  // edge (step 0 node1, 1 node2, 2 halfWidth).
  struct Frame {
    ClassKind kind;
    const void* object;
    size_t step;
  };

  template <typename List>
  void writeList(const List& list) {
    putCount(list.size());
    for (const auto& element : list) {
      writeReference(element.get());
      drain();
    }
  }

  void drain() {
    while (!stack_.empty()) {
      const size_t top = stack_.size() - 1;
      const Frame frame = stack_[top];
      if (frame.kind == kListClass) {
        const auto& edges = static_cast<const Graph2DNode*>(frame.object)->edges;
        if (frame.step == edges.size()) {
          stack_.pop_back();
        } else {
          stack_[top].step++;
          writeReference(edges[frame.step]);
        }
      } else {
        const auto* edge = static_cast<const Graph2DEdge*>(frame.object);
        stack_[top].step++;
        if (frame.step == 0) {
          writeReference(edge->node1);
        } else if (frame.step == 1) {
          writeReference(edge->node2);
        } else {
          putDouble(edge->halfWidth);
          stack_.pop_back();
        }
      }
    }
  }

  void writeReference(const Graph2DNode* node) {
    if (!node) return putUint16(kNullTag);
    if (writeBackReference(node)) return;
    newObject(kNodeClass, node);
    putInt32(node->id);
    putDouble(node->x);
    putDouble(node->y);
    // The node's edge list is an object of its own, keyed by the node (one list per node).
    if (writeBackReference(&node->edges)) return;
    newObject(kListClass, &node->edges);
    putCount(node->edges.size());
    stack_.push_back({kListClass, node, 0});
  }

  void writeReference(const Graph2DEdge* edge) {
    if (!edge) return putUint16(kNullTag);
    if (writeBackReference(edge)) return;
    newObject(kEdgeClass, edge);
    putDouble(edge->slope);
    stack_.push_back({kEdgeClass, edge, 0});
  }

  bool writeBackReference(const void* object) {
    const auto found = index_.find(object);
    if (found == index_.end()) return false;
    putIndex(found->second, 0);
    return true;
  }

  // The class tag, then the object takes the next index.
  void newObject(ClassKind kind, const void* object) {
    if (classIndex_[kind] == 0) {
      putUint16(kNewClassTag);
      putUint16(0);  // schema
      const std::string_view name = kClassNames[kind];
      putUint16(static_cast<uint16_t>(name.size()));
      bytes_.insert(bytes_.end(), name.begin(), name.end());
      classIndex_[kind] = nextIndex_++;
    } else {
      putIndex(classIndex_[kind], kClassTagBit);
    }
    index_.emplace(object, nextIndex_++);
  }

  // Short form below 0x7FFF, else 0x7FFF and the index as u32 (with the class bit moved
  // to bit 31 for a class tag).
  void putIndex(uint32_t index, uint16_t classBit) {
    if (index < kBigTag) return putUint16(static_cast<uint16_t>(classBit | index));
    putUint16(kBigTag);
    putUint32(classBit ? (kBigClassBit | index) : index);
  }

  void putCount(size_t count) {
    if (count < kBigCount) return putUint16(static_cast<uint16_t>(count));
    putUint16(kBigCount);
    putUint32(static_cast<uint32_t>(count));
  }
  void putUint16(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
  }
  void putUint32(uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<uint8_t>(v >> shift));
  }
  void putInt32(int32_t v) { putUint32(static_cast<uint32_t>(v)); }
  void putDouble(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int shift = 0; shift < 64; shift += 8) bytes_.push_back(static_cast<uint8_t>(bits >> shift));
  }

  std::vector<uint8_t> bytes_;
  std::vector<Frame> stack_;
  std::unordered_map<const void*, uint32_t> index_;
  uint32_t classIndex_[3] = {0, 0, 0};
  uint32_t nextIndex_ = 1;
};

// ---------------------------------------------------------------- reading

// Thrown inside the reader only and turned into a status at its edge.
struct FormatError {
  size_t offset;
  std::string what;
};

class GReader {
 public:
  explicit GReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  Graph2D read() {
    const int32_t counts[4] = {readInt32(), readInt32(), readInt32(), readInt32()};
    std::vector<Graph2DNode*> nodeLists[2];
    std::vector<Graph2DEdge*> edgeLists[2];
    for (auto& list : nodeLists) readTopList(list);
    for (auto& list : edgeLists) readTopList(list);
    if (pos_ != bytes_.size()) fail("unexpected data after the drawing");

    Graph2D drawing;
    adopt(nodeLists[0], drawing.unselectedNodes, nodes_, "a node");
    adopt(nodeLists[1], drawing.selectedNodes, nodes_, "a node");
    adopt(edgeLists[0], drawing.unselectedEdges, edges_, "an edge");
    adopt(edgeLists[1], drawing.selectedEdges, edges_, "an edge");
    for (const auto& node : nodes_)
      if (node) fail("a node is in neither node list");
    for (const auto& edge : edges_)
      if (edge) fail("an edge is in neither edge list");
    drawing.howManyUnselectedNodes = counts[0];
    drawing.howManySelectedNodes = counts[1];
    drawing.howManyUnselectedEdges = counts[2];
    drawing.howManySelectedEdges = counts[3];
    if (const std::string broken = drawing.checkInvariants(); !broken.empty()) fail(broken);
    for (const Graph2D::EdgeList* list : {&drawing.unselectedEdges, &drawing.selectedEdges})
      for (const auto& edge : *list) edge->recomputeRectangle();
    drawing.nextNodeId = drawing.nextIdAfterLargest();
    return drawing;
  }

 private:
  struct Entry {
    ClassKind kind;  // for a class entry, the class it names
    bool isClass;
    void* object;  // the node for a node and for its edge list, the edge for an edge
  };
  struct Frame {
    ClassKind kind;  // kListClass: object is the owning node; kEdgeClass: the edge
    void* object;
    uint32_t remaining;  // list elements left, or edge fields left (3, 2, 1)
  };

  [[noreturn]] void fail(std::string what) const { throw FormatError{pos_, std::move(what)}; }

  template <typename T>
  void readTopList(std::vector<T*>& list) {
    const uint32_t count = readCount();
    list.reserve(count);
    constexpr ClassKind kind = std::is_same_v<T, Graph2DNode> ? kNodeClass : kEdgeClass;
    for (uint32_t i = 0; i < count; ++i) {
      list.push_back(static_cast<T*>(readReference(kind, nullptr)));
      drain();
    }
  }

  // Moves the objects named by `pointers` out of the arena into `target`, in order. An
  // object listed twice (its arena slot already empty) is a malformed file.
  template <typename T>
  void adopt(const std::vector<T*>& pointers, std::vector<std::unique_ptr<T>>& target,
             std::vector<std::unique_ptr<T>>& arena, const char* what) {
    for (T* pointer : pointers) {
      auto& slot = arena[arenaSlot_.at(pointer)];
      if (!slot) fail(std::string(what) + " is listed twice");
      target.push_back(std::move(slot));
    }
  }

  void drain() {
    while (!stack_.empty()) {
      const size_t top = stack_.size() - 1;
      const Frame frame = stack_[top];
      if (frame.remaining == 0) {
        stack_.pop_back();
        continue;
      }
      stack_[top].remaining--;
      if (frame.kind == kListClass) {
        auto* node = static_cast<Graph2DNode*>(frame.object);
        node->edges.push_back(static_cast<Graph2DEdge*>(readReference(kEdgeClass, nullptr)));
      } else {
        auto* edge = static_cast<Graph2DEdge*>(frame.object);
        if (frame.remaining == 3) {
          edge->node1 = static_cast<Graph2DNode*>(readReference(kNodeClass, nullptr));
        } else if (frame.remaining == 2) {
          edge->node2 = static_cast<Graph2DNode*>(readReference(kNodeClass, nullptr));
        } else {
          edge->halfWidth = readDouble();
          if (!std::isfinite(edge->halfWidth)) fail("edge width is not a finite number");
        }
      }
    }
  }

  // Resolves one reference that must be of class `expected`. A new object is created and
  // registered before its body; the part of the body that holds further references is
  // left on the stack for drain(). `owner` is the node whose edge list is expected.
  void* readReference(ClassKind expected, Graph2DNode* owner) {
    const size_t at = pos_;
    const uint16_t tag = readUint16();
    if (tag == kNullTag) fail("null reference where an object is required");
    uint32_t classIndex = 0;
    if (tag == kBigTag) {
      const uint32_t big = readUint32();
      if (!(big & kBigClassBit)) return backReference(big, expected, at);
      classIndex = big & ~kBigClassBit;
    } else if (tag == kNewClassTag) {
      classIndex = readNewClass();
    } else if (tag & kClassTagBit) {
      classIndex = tag & ~kClassTagBit;
    } else {
      return backReference(tag, expected, at);
    }
    if (classIndex == 0 || classIndex >= table_.size() || !table_[classIndex].isClass) {
      pos_ = at;
      fail("class tag " + std::to_string(classIndex) + " names no class read so far");
    }
    const ClassKind kind = table_[classIndex].kind;
    if (kind != expected) {
      pos_ = at;
      fail(std::string("a ") + std::string(kClassNames[kind]) + " where a " +
           std::string(kClassNames[expected]) + " is required");
    }
    return newObject(kind, owner);
  }

  uint32_t readNewClass() {
    const uint16_t schema = readUint16();
    if (schema != 0) fail("schema " + std::to_string(schema) + " (only 0 is known)");
    const uint16_t length = readUint16();
    if (length > kMaxClassNameLength) fail("class name of " + std::to_string(length) + " bytes");
    need(length);
    const std::string_view name(reinterpret_cast<const char*>(bytes_.data() + pos_), length);
    ClassKind kind = kNoClass;
    for (uint8_t k = 0; k < 3; ++k)
      if (name == kClassNames[k]) kind = static_cast<ClassKind>(k);
    if (kind == kNoClass) fail("unknown class \"" + printableText(name) + "\"");
    pos_ += length;
    table_.push_back({kind, true, nullptr});
    return static_cast<uint32_t>(table_.size() - 1);
  }

  void* backReference(uint32_t index, ClassKind expected, size_t at) {
    if (index == 0 || index >= table_.size() || table_[index].isClass) {
      pos_ = at;
      fail("reference " + std::to_string(index) + " names no object read so far");
    }
    const Entry& entry = table_[index];
    if (entry.kind != expected) {
      pos_ = at;
      fail(std::string("reference to a ") + std::string(kClassNames[entry.kind]) + " where a " +
           std::string(kClassNames[expected]) + " is required");
    }
    // A node's edge list belongs to that node alone.
    if (expected == kListClass) fail("an edge list shared by two nodes");
    return entry.object;
  }

  void* newObject(ClassKind kind, Graph2DNode* owner) {
    if (kind == kNodeClass) {
      auto node = std::make_unique<Graph2DNode>();
      Graph2DNode* raw = node.get();
      arenaSlot_.emplace(raw, nodes_.size());
      nodes_.push_back(std::move(node));
      table_.push_back({kNodeClass, false, raw});
      raw->id = readInt32();
      if (raw->id < 0 || raw->id == std::numeric_limits<int32_t>::max())
        fail("node id " + std::to_string(raw->id) + " out of range");
      raw->x = readDouble();
      raw->y = readDouble();
      if (!std::isfinite(raw->x) || !std::isfinite(raw->y)) fail("node position is not finite");
      readReference(kListClass, raw);
      return raw;
    }
    if (kind == kListClass) {
      table_.push_back({kListClass, false, owner});
      const uint32_t count = readCount();
      owner->edges.reserve(count);
      stack_.push_back({kListClass, owner, count});
      return owner;
    }
    auto edge = std::make_unique<Graph2DEdge>();
    Graph2DEdge* raw = edge.get();
    arenaSlot_.emplace(raw, edges_.size());
    edges_.push_back(std::move(edge));
    table_.push_back({kEdgeClass, false, raw});
    raw->slope = readDouble();  // recomputed from the positions once the file is read
    stack_.push_back({kEdgeClass, raw, 3});
    return raw;
  }

  // Every element takes at least two bytes, so a count beyond half the bytes left is a lie
  // that must not turn into an allocation.
  uint32_t readCount() {
    uint32_t count = readUint16();
    if (count == kBigCount) count = readUint32();
    if (count > (bytes_.size() - pos_) / 2)
      fail("list of " + std::to_string(count) + " elements in too few bytes");
    return count;
  }

  void need(size_t n) {
    if (bytes_.size() - pos_ < n) fail("unexpected end of data");
  }
  // The next `n` bytes as a little-endian number.
  uint64_t readLittleEndian(size_t n) {
    need(n);
    uint64_t v = 0;
    for (size_t i = n; i-- > 0;) v = (v << 8) | bytes_[pos_ + i];
    pos_ += n;
    return v;
  }
  uint16_t readUint16() { return static_cast<uint16_t>(readLittleEndian(2)); }
  uint32_t readUint32() { return static_cast<uint32_t>(readLittleEndian(4)); }
  int32_t readInt32() { return static_cast<int32_t>(readUint32()); }
  double readDouble() {
    const uint64_t bits = readLittleEndian(8);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }

  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
  std::vector<Entry> table_{Entry{kNoClass, false, nullptr}};  // index 0 is null
  std::vector<Frame> stack_;
  std::vector<std::unique_ptr<Graph2DNode>> nodes_;  // every object read, until adopted
  std::vector<std::unique_ptr<Graph2DEdge>> edges_;
  std::unordered_map<const void*, size_t> arenaSlot_;
};

}  // namespace

std::vector<uint8_t> writeGBytes(const Graph2D& drawing) {
  return GWriter().write(drawing);
}

EditorStatus readGBytes(std::span<const uint8_t> bytes, Graph2D& out) {
  try {
    out = GReader(bytes).read();
    return EditorStatus::done();
  } catch (const FormatError& error) {
    return EditorStatus::fileError("malformed drawing at byte " + std::to_string(error.offset) + ": " +
                                   error.what);
  } catch (const std::bad_alloc&) {
    return EditorStatus::fileError("drawing too large to read");
  }
}

EditorStatus saveGFile(const Graph2D& drawing, const std::string& path) {
  const std::vector<uint8_t> bytes = writeGBytes(drawing);
  const FileStatus written = writeFileAtomically(path, std::string(bytes.begin(), bytes.end()));
  return written ? EditorStatus::done() : EditorStatus::fileError(written.error);
}

EditorStatus loadGFile(const std::string& path, Graph2D& out) {
  // A drawing of a million nodes and a few million edges stays well below this; the cap
  // bounds what a hostile file can make the reader allocate.
  constexpr uintmax_t kLargestFile = uintmax_t{1} << 28;
  const std::string shown = printableText(path);
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) {
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kLargestFile) return EditorStatus::fileError(shown + ": too large for a drawing");
  }
  std::string content;
  if (FileStatus read = readInputFile(path, content); !read) return EditorStatus::fileError(read.error);
  if (content.size() > kLargestFile) return EditorStatus::fileError(shown + ": too large for a drawing");
  const std::vector<uint8_t> bytes(content.begin(), content.end());
  content = std::string();
  EditorStatus status = readGBytes(bytes, out);
  if (!status) status.error = shown + ": " + status.error;
  return status;
}

}  // namespace hc
