// How labels become node ids: a dict from label to id, built only once the labels stop
// being 0, 1, 2, ... in order (NetworkX graphs with integer nodes never need it). Equality
// is Python's own (1, 1.0 and True are one node), as in a dict or a NetworkX graph.
#include "graph_building.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "errors.h"

namespace py = pybind11;

namespace hcpy {
namespace {

// The library's limits, checked here too so that a huge object is refused before it is
// copied into memory.
constexpr int64_t kMaxNodes = 10'000'000;
constexpr int64_t kMaxEdges = 50'000'000;

// An object as messages show it: its repr, cut short.
std::string shown(py::handle object) {
  std::string text = py::repr(object);
  if (text.size() > 60) text = text.substr(0, 57) + "...";
  return text;
}

std::string typeName(py::handle object) {
  return Py_TYPE(object.ptr())->tp_name;
}

[[noreturn]] void typeError(const std::string& message) {
  raise(errorTypes().inputType, message);
}
[[noreturn]] void valueError(const std::string& message) {
  raise(errorTypes().input, message);
}

// Ctrl-C during the conversion of a large graph: Python's handlers run (KeyboardInterrupt
// comes out of the call) every 2^16 items, so it acts within milliseconds, not at the end.
class SignalCheck {
 public:
  void tick() {
    if ((++count_ & 0xFFFF) == 0 && PyErr_CheckSignals() != 0) throw py::error_already_set();
  }

 private:
  uint64_t count_ = 0;
};

// The exact integer value of `object` when it is a plain int that fits, else -1.
int64_t smallInt(py::handle object) {
  if (!PyLong_CheckExact(object.ptr())) return -1;
  int overflow = 0;
  const long long value = PyLong_AsLongLongAndOverflow(object.ptr(), &overflow);
  return overflow != 0 || value < 0 ? -1 : static_cast<int64_t>(value);
}

// Ids by object identity, in front of the dict: NetworkX's adjacency lists neighbours by the
// very objects that are its nodes, so most lookups end here without touching the object (no
// hash to read, no comparison, one cache line). Only objects the index keeps a reference to
// go in, so an address can never be reused by another object meanwhile.
class IdentityTable {
 public:
  int find(PyObject* object) const {
    if (slots_.empty()) return -1;
    for (size_t i = slotOf(object);; i = (i + 1) & mask_) {
      if (slots_[i].object == object) return slots_[i].id;
      if (slots_[i].object == nullptr) return -1;
    }
  }

  void add(PyObject* object, int id) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    place(object, id);
    ++count_;
  }

 private:
  struct Slot {
    PyObject* object = nullptr;
    int id = -1;
  };

  size_t slotOf(PyObject* object) const {
    uint64_t x = reinterpret_cast<uintptr_t>(object);
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return static_cast<size_t>(x) & mask_;
  }

  void place(PyObject* object, int id) {
    size_t i = slotOf(object);
    while (slots_[i].object != nullptr) i = (i + 1) & mask_;
    slots_[i] = Slot{object, id};
  }

  void grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(std::max<size_t>(1024, old.size() * 2), Slot{});
    mask_ = slots_.size() - 1;
    for (const Slot& slot : old)
      if (slot.object != nullptr) place(slot.object, slot.id);
  }

  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t count_ = 0;
};

class LabelIndex {
 public:
  int count() const { return count_; }

  // The id of `label`, or -1 when it is not a node (yet).
  int find(py::handle label) {
    if (identity_) {
      const int64_t value = smallInt(label);
      if (value >= 0) return value < count_ ? static_cast<int>(value) : -1;
    } else if (const int id = same_.find(label.ptr()); id >= 0) {
      return id;
    }
    materialize();
    PyObject* found = PyDict_GetItemWithError(index_.ptr(), label.ptr());
    if (found != nullptr) return static_cast<int>(PyLong_AsLong(found));
    if (PyErr_Occurred() == nullptr) return -1;
    if (!PyErr_ExceptionMatches(PyExc_TypeError)) throw py::error_already_set();
    PyErr_Clear();
    typeError("node labels must be hashable; " + shown(label) + " is a " + typeName(label));
  }

  // Adds `label`, which find() did not find, and returns its id.
  int add(py::handle label) {
    if (count_ >= kMaxNodes) valueError("a graph may have at most " + std::to_string(kMaxNodes) + " nodes");
    if (identity_ && smallInt(label) == count_) {
      if (dictReady_) {
        index_[label] = count_;
        labels_.append(label);
      }
      return count_++;
    }
    materialize();
    identity_ = false;
    index_[label] = count_;
    labels_.append(label);
    same_.add(label.ptr(), count_);
    return count_++;
  }

  int findOrAdd(py::handle label) {
    const int id = find(label);
    return id >= 0 ? id : add(label);
  }

  // The labels for the caller: None while they are 0 .. n-1 in order.
  py::object labels() const { return identity_ ? py::object(py::none()) : py::object(labels_); }

 private:
  // The dict and the list for the labels 0 .. count-1 taken so far without them; from then
  // on every label goes into both.
  void materialize() {
    if (dictReady_) return;
    for (int i = 0; i < count_; ++i) {
      py::int_ id(i);
      index_[id] = id;
      labels_.append(id);
    }
    dictReady_ = true;
  }

  py::dict index_;
  py::list labels_;  // every label, once the dict is made
  IdentityTable same_;
  int count_ = 0;
  bool identity_ = true;
  bool dictReady_ = false;
};

void addListedNodes(LabelIndex& index, py::handle nodes, SignalCheck& signals) {
  for (py::handle label : py::iter(nodes)) {
    signals.tick();
    if (index.find(label) >= 0) valueError("node " + shown(label) + " is listed twice");
    index.add(label);
  }
}

class EdgeList {
 public:
  void add(int a, int b) {
    if (static_cast<int64_t>(edges_.size()) >= kMaxEdges)
      valueError("a graph may have at most " + std::to_string(kMaxEdges) + " edges");
    edges_.emplace_back(a, b);
  }
  void reserve(size_t n) { edges_.reserve(n); }

  BuiltGraph finish(const LabelIndex& index) {
    if (index.count() == 0) valueError("the graph has no nodes");
    BuiltGraph built;
    {
      py::gil_scoped_release release;
      built.graph = hamcycles::Graph::fromEdges(index.count(), edges_);
    }
    built.labels = index.labels();
    return built;
  }

 private:
  std::vector<hamcycles::Edge> edges_;
};

// The two ends of edge number `at`: a tuple or list of two, or any other iterable of two.
std::pair<py::object, py::object> endsOf(py::handle item, size_t at) {
  PyObject* raw = item.ptr();
  auto wrong = [&]() -> void {
    typeError("edge " + std::to_string(at) + " must be a pair of nodes, not " + shown(item));
  };
  if (PyTuple_Check(raw) || PyList_Check(raw)) {
    if (PySequence_Fast_GET_SIZE(raw) != 2) wrong();
    return {py::reinterpret_borrow<py::object>(PySequence_Fast_GET_ITEM(raw, 0)),
            py::reinterpret_borrow<py::object>(PySequence_Fast_GET_ITEM(raw, 1))};
  }
  PyObject* iterator = PyObject_GetIter(raw);
  if (iterator == nullptr) {
    PyErr_Clear();
    wrong();
  }
  py::list items;
  for (py::handle end : py::reinterpret_steal<py::iterator>(iterator)) {
    if (items.size() == 2) wrong();
    items.append(end);
  }
  if (items.size() != 2) wrong();
  return {items[0], items[1]};
}

}  // namespace

BuiltGraph graphFromEdges(py::handle edges, py::handle nodes) {
  LabelIndex index;
  SignalCheck signals;
  const bool strict = !nodes.is_none();
  if (strict) addListedNodes(index, nodes, signals);
  EdgeList list;
  if (PyList_CheckExact(edges.ptr())) list.reserve(static_cast<size_t>(PyList_GET_SIZE(edges.ptr())));
  size_t at = 0;
  for (py::handle item : py::iter(edges)) {
    signals.tick();
    auto [u, v] = endsOf(item, at);
    int ids[2];
    for (int side = 0; side < 2; ++side) {
      py::handle label = side == 0 ? u : v;
      ids[side] = strict ? index.find(label) : index.findOrAdd(label);
      if (ids[side] < 0)
        valueError("edge " + std::to_string(at) + " " + shown(item) + ": " + shown(label) +
                   " is not a node of the graph");
    }
    if (ids[0] == ids[1])
      valueError("edge " + std::to_string(at) + " joins node " + shown(u) +
                 " to itself (self loops are not allowed)");
    list.add(ids[0], ids[1]);
    ++at;
  }
  return list.finish(index);
}

BuiltGraph graphFromAdjacency(py::handle adjacency, py::handle nodes, bool symmetric) {
  LabelIndex index;
  SignalCheck signals;
  const bool strict = !nodes.is_none();
  // The keys first, so that they keep their order ahead of neighbours that are not keys.
  if (strict) {
    addListedNodes(index, nodes, signals);
  } else {
    for (py::handle key : py::iter(adjacency)) {
      signals.tick();
      index.add(key);
    }
  }
  EdgeList list;
  auto addNeighbours = [&](py::handle node, py::handle neighbours) {
    signals.tick();
    const int a = index.find(node);
    if (a < 0) valueError(shown(node) + " is not a node of the graph");
    auto addOne = [&](py::handle label) {
      signals.tick();
      const int b = strict ? index.find(label) : index.findOrAdd(label);
      if (b < 0)
        valueError("node " + shown(node) + " has the neighbour " + shown(label) +
                   ", which is not a node of the graph");
      if (a == b) valueError("node " + shown(node) + " is joined to itself (self loops are not allowed)");
      if (!symmetric || b > a) list.add(a, b);
    };
    PyObject* raw = neighbours.ptr();
    if (PyDict_CheckExact(raw)) {
      Py_ssize_t position = 0;
      PyObject* label = nullptr;
      PyObject* value = nullptr;
      while (PyDict_Next(raw, &position, &label, &value)) addOne(label);
      return;
    }
    PyObject* iterator = PyObject_GetIter(raw);
    if (iterator == nullptr) {
      PyErr_Clear();
      typeError("the neighbours of node " + shown(node) + " must be an iterable of nodes, not " +
                shown(neighbours));
    }
    for (py::handle label : py::reinterpret_steal<py::iterator>(iterator)) addOne(label);
  };
  if (PyDict_CheckExact(adjacency.ptr())) {
    Py_ssize_t position = 0;
    PyObject* key = nullptr;
    PyObject* value = nullptr;
    while (PyDict_Next(adjacency.ptr(), &position, &key, &value)) addNeighbours(key, value);
  } else {
    for (py::handle item : py::iter(adjacency.attr("items")())) {
      py::tuple pair = py::reinterpret_borrow<py::tuple>(item);
      addNeighbours(pair[0], pair[1]);
    }
  }
  return list.finish(index);
}

}  // namespace hcpy
