// _hamcycles: the C++ half of the Python package `hamcycles`, over the public library
// (include/hamcycles/hamcycles.h) and nothing else of the engine. It is deliberately thin:
// the package's Python half checks arguments, names things the Python way and keeps the
// caller's node labels; this half converts graphs, runs the library with the GIL released
// and maps the library's errors (Error -> hamcycles.InputError, a ValueError; FileError ->
// hamcycles.FileError, an OSError).
#include <hamcycles/hamcycles.h>
#include <pybind11/functional.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "errors.h"
#include "graph_building.h"
#include "interrupt_guard.h"

namespace py = pybind11;
using hcpy::raise;

namespace {

using Seed = std::optional<std::uint32_t>;

// hamcycles.Cancel: a handle a caller passes to any number of runs and cancels from any
// thread. Each run has a stop token of its own (Ctrl-C stops it too); while it goes on, the
// handle keeps a copy, and cancel() stops every run that holds the handle now and, as the
// handle stays cancelled, every run given it later.
class Cancel {
 public:
  void cancel() {
    std::lock_guard<std::mutex> hold(lock_);
    cancelled_ = true;
    for (const auto& run : runs_) run.second.requestStop();
  }
  bool cancelled() {
    std::lock_guard<std::mutex> hold(lock_);
    return cancelled_;
  }
  // Holds `run` until remove(returned key); stops it at once when already cancelled.
  std::uint64_t add(const hamcycles::StopToken& run) {
    std::lock_guard<std::mutex> hold(lock_);
    if (cancelled_) run.requestStop();
    runs_.emplace_back(++lastKey_, run);
    return lastKey_;
  }
  void remove(std::uint64_t key) {
    std::lock_guard<std::mutex> hold(lock_);
    runs_.erase(
        std::remove_if(runs_.begin(), runs_.end(), [key](const auto& run) { return run.first == key; }),
        runs_.end());
  }

 private:
  std::mutex lock_;
  bool cancelled_ = false;
  std::uint64_t lastKey_ = 0;
  std::vector<std::pair<std::uint64_t, hamcycles::StopToken>> runs_;
};

// A run's place in a Cancel handle (none when the caller gave none), for the run's length.
class CancelScope {
 public:
  CancelScope(Cancel* cancel, const hamcycles::StopToken& run) : cancel_(cancel) {
    if (cancel_ != nullptr) key_ = cancel_->add(run);
  }
  ~CancelScope() {
    if (cancel_ != nullptr) cancel_->remove(key_);
  }
  CancelScope(const CancelScope&) = delete;
  CancelScope& operator=(const CancelScope&) = delete;

 private:
  Cancel* cancel_;
  std::uint64_t key_ = 0;
};

py::tuple built(hcpy::BuiltGraph graph) {
  return py::make_tuple(std::move(graph.graph), std::move(graph.labels));
}

// A library call that may take a while (files, generators) without the GIL.
template <typename Call>
hamcycles::Graph released(Call call) {
  py::gil_scoped_release release;
  return call();
}

py::list edgeList(const std::vector<hamcycles::Edge>& edges) {
  py::list out(edges.size());
  for (size_t i = 0; i < edges.size(); ++i)
    PyList_SET_ITEM(out.ptr(), static_cast<Py_ssize_t>(i),
                    py::make_tuple(edges[i].first, edges[i].second).release().ptr());
  return out;
}

// NetworkX's own storage of `graph`, in the caller's labels (node ids when `labels` is None):
// (node dict, adjacency dict), every node with an empty attribute dict and every edge with
// one empty attribute dict that both its ends share, nodes and edges in the graph's order.
// Filling these dicts directly is several times faster than NetworkX's add_edges_from.
py::tuple networkxDicts(const hamcycles::Graph& graph, py::handle labels) {
  const int n = graph.nodeCount();
  if (!labels.is_none() && !(PyList_CheckExact(labels.ptr()) && PyList_GET_SIZE(labels.ptr()) == n))
    raise(hcpy::errorTypes().inputType, "labels must be None or a list of one label per node");
  std::vector<py::object> label(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    label[static_cast<size_t>(i)] =
        labels.is_none() ? py::object(py::int_(i))
                         : py::reinterpret_borrow<py::object>(PyList_GET_ITEM(labels.ptr(), i));
  std::vector<hamcycles::Edge> edges;
  {
    py::gil_scoped_release release;
    edges = graph.edges();
  }
  // Each node's dict made at its final size, so that it never grows.
  std::vector<Py_ssize_t> degree(static_cast<size_t>(n), 0);
  for (const hamcycles::Edge& e : edges) {
    ++degree[static_cast<size_t>(e.first)];
    ++degree[static_cast<size_t>(e.second)];
  }
  auto nodes = py::reinterpret_steal<py::dict>(_PyDict_NewPresized(n));
  auto adjacency = py::reinterpret_steal<py::dict>(_PyDict_NewPresized(n));
  if (!nodes || !adjacency) throw py::error_already_set();
  std::vector<py::object> around(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const auto at = static_cast<size_t>(i);
    around[at] = py::reinterpret_steal<py::object>(_PyDict_NewPresized(degree[at]));
    if (!around[at] || PyDict_SetItem(nodes.ptr(), label[at].ptr(), py::dict().ptr()) != 0 ||
        PyDict_SetItem(adjacency.ptr(), label[at].ptr(), around[at].ptr()) != 0)
      throw py::error_already_set();
  }
  // The far end's dict and label lie anywhere in memory: fetched a few edges ahead, the
  // waits overlap (most of the time of a large graph is spent waiting for them).
  constexpr size_t kAhead = 8;
  auto fetch = [&](size_t i) {
    if (i < edges.size()) {
      const auto b = static_cast<size_t>(edges[i].second);
      __builtin_prefetch(around[b].ptr(), 1);
      __builtin_prefetch(label[b].ptr(), 1);
    }
    if (i >= kAhead && i - kAhead < edges.size()) {  // the dict's table, its head now at hand
      const char* keys = reinterpret_cast<const char*>(
          reinterpret_cast<PyDictObject*>(around[static_cast<size_t>(edges[i - kAhead].second)].ptr())
              ->ma_keys);
      for (int line = 0; line < 4; ++line) __builtin_prefetch(keys + 64 * line, 1);
    }
  };
  for (size_t i = 0; i < 2 * kAhead; ++i) fetch(i);
  std::uint64_t count = 0;
  for (size_t i = 0; i < edges.size(); ++i) {
    fetch(i + 2 * kAhead);
    const hamcycles::Edge& e = edges[i];
    const auto a = static_cast<size_t>(e.first), b = static_cast<size_t>(e.second);
    const py::object data = py::reinterpret_steal<py::object>(PyDict_New());
    if (!data || PyDict_SetItem(around[a].ptr(), label[b].ptr(), data.ptr()) != 0 ||
        PyDict_SetItem(around[b].ptr(), label[a].ptr(), data.ptr()) != 0)
      throw py::error_already_set();
    if ((++count & 0xFFFF) == 0 && PyErr_CheckSignals() != 0) throw py::error_already_set();
  }
  return py::make_tuple(nodes, adjacency);
}

// The cycle in the caller's labels (node ids when `labels` is None), or None.
py::object cycleOf(const std::vector<int>& cycle, py::handle labels) {
  if (cycle.empty()) return py::none();
  py::list out(cycle.size());
  for (size_t i = 0; i < cycle.size(); ++i) {
    PyObject* item = labels.is_none() ? PyLong_FromLong(cycle[i]) : PyList_GET_ITEM(labels.ptr(), cycle[i]);
    if (!labels.is_none()) Py_INCREF(item);
    PyList_SET_ITEM(out.ptr(), static_cast<Py_ssize_t>(i), item);
  }
  return out;
}

// (verdict, cycle, method, seconds, seed, stopped, iterations, bestPercentComplete,
// treeNodes, deepestDepth, depths, certified, certificateNote): the package makes its Result
// from this.
py::tuple resultTuple(const hamcycles::SolveResult& r, py::handle labels) {
  py::list depths;
  for (const hamcycles::DepthFigures& d : r.depths)
    depths.append(py::make_tuple(d.depth, d.started, d.solved, d.forcedEdges, d.longestTime, d.averageTime));
  py::object method = r.method.empty() ? py::object(py::none()) : py::object(py::str(r.method));
  py::object note =
      r.certificateNote.empty() ? py::object(py::none()) : py::object(py::str(r.certificateNote));
  return py::make_tuple(hamcycles::verdictName(r.verdict), cycleOf(r.cycle, labels), method, r.seconds,
                        r.seed, hamcycles::stoppedName(r.stopped), r.iterations, r.bestPercentComplete,
                        r.treeNodes, r.deepestDepth, depths, r.certified, note);
}

// One run: a stop token that Ctrl-C and the caller's Cancel handle request, the caller's
// progress callback called with the GIL, the engine without it.
template <typename Options, typename Method>
py::tuple run(const hamcycles::Graph& graph, py::handle labels, Options options, const py::object& progress,
              Cancel* cancel, Method method) {
  // The labels index the cycle's nodes below.
  if (!labels.is_none() &&
      !(PyList_CheckExact(labels.ptr()) && PyList_GET_SIZE(labels.ptr()) == graph.nodeCount()))
    raise(hcpy::errorTypes().inputType, "labels must be None or a list of one label per node");
  if (PyErr_CheckSignals() != 0) throw py::error_already_set();  // a Ctrl-C just before
  hamcycles::StopToken token;
  options.stop = token;
  CancelScope cancelled(cancel, token);
  if (!progress.is_none()) {
    options.progress = [&progress](const hamcycles::Progress& p) {
      py::gil_scoped_acquire acquire;
      progress(p);
    };
  }
  hamcycles::SolveResult result;
  {
    hcpy::InterruptGuard guard(token);
    py::gil_scoped_release release;
    result = method(graph, options);
  }
  if (PyErr_CheckSignals() != 0) throw py::error_already_set();
  return resultTuple(result, labels);
}

// A method's options: the time limit, the seed, the options set by name and the proof file
// (of the methods that write one).
template <typename Options>
Options optionsOf(double timeLimit, Seed seed, const std::map<std::string, std::int64_t>& named,
                  const std::string& proof = {}) {
  Options options;
  options.timeLimitSeconds = timeLimit;
  options.seed = seed;
  for (const auto& [name, value] : named) options.set(name, value);
  if constexpr (!std::is_same_v<Options, hamcycles::SchcOptions>) options.proofFile = proof;
  return options;
}

}  // namespace

PYBIND11_MODULE(_hamcycles, m) {
  m.doc() = "The compiled half of the hamcycles package; use the package, not this module.";

  hcpy::addErrorTypes(m);
  py::register_exception_translator([](std::exception_ptr error) {
    try {
      if (error) std::rethrow_exception(error);
    } catch (const hamcycles::FileError& e) {
      PyErr_SetString(hcpy::errorTypes().file, e.what());
    } catch (const hamcycles::Error& e) {
      // The generators' messages start as the window shows them ("ERROR: ..."); no other
      // message of the package does.
      std::string message = e.what();
      if (message.rfind("ERROR: ", 0) == 0) message.erase(0, 7);
      PyErr_SetString(hcpy::errorTypes().input, message.c_str());
    }
  });

  py::class_<Cancel>(
      m, "Cancel",
      "A handle that cancels runs: pass it as cancel= to any number of runs and call cancel() "
      "from any thread. Every run that holds it ends soon, undecided (\"interrupted\"), and so "
      "does every later run given it: a handle stays cancelled.")
      .def(py::init<>())
      .def("cancel", &Cancel::cancel, py::call_guard<py::gil_scoped_release>(),
           "Stops every run that holds this handle, now and later.")
      .def_property_readonly("cancelled", &Cancel::cancelled)
      .def("__repr__", [](Cancel& c) {
        return std::string("<hamcycles.Cancel ") + (c.cancelled() ? "cancelled" : "not cancelled") + ">";
      });

  m.def("version", &hamcycles::version);

  py::class_<hamcycles::Graph>(m, "CoreGraph")
      .def_property_readonly("node_count", &hamcycles::Graph::nodeCount)
      .def_property_readonly("edge_count", &hamcycles::Graph::edgeCount)
      .def_property_readonly("name", &hamcycles::Graph::name)
      .def("edges", [](const hamcycles::Graph& g) { return edgeList(g.edges()); })
      .def("forced_edges", [](const hamcycles::Graph& g) { return edgeList(g.forcedEdges()); })
      .def("neighbours", &hamcycles::Graph::neighbours)
      .def("degree", &hamcycles::Graph::degree)
      .def("has_edge", &hamcycles::Graph::hasEdge);

  m.def("networkx_dicts", &networkxDicts);
  m.def("graph_from_edges",
        [](py::handle edges, py::handle nodes) { return built(hcpy::graphFromEdges(edges, nodes)); });
  m.def("graph_from_adjacency", [](py::handle adjacency, py::handle nodes, bool symmetric) {
    return built(hcpy::graphFromAdjacency(adjacency, nodes, symmetric));
  });

  m.def("read", [](const std::string& path, int base) {
    return released([&] { return hamcycles::readGraph(path, base); });
  });
  m.def("write",
        [](const hamcycles::Graph& graph, const std::string& path, const std::string& name, int base) {
          py::gil_scoped_release release;
          hamcycles::writeGraph(graph, path, name, base);
        });
  py::class_<hamcycles::GraphReader>(m, "CoreReader")
      .def(py::init<const std::string&, int>())
      .def("next", [](hamcycles::GraphReader& reader) {
        std::optional<hamcycles::Graph> graph;
        {
          py::gil_scoped_release release;
          graph = reader.next();
        }
        return graph;
      });

  m.def("knight", [](int r, int c) { return released([&] { return hamcycles::knight(r, c); }); });
  m.def("torus", [](int r, int c) { return released([&] { return hamcycles::torus(r, c); }); });
  m.def("petersen", [] { return released([] { return hamcycles::petersen(); }); });
  m.def("generalized_petersen",
        [](int n, int k) { return released([&] { return hamcycles::generalizedPetersen(n, k); }); });
  m.def("complete", [](int n) { return released([&] { return hamcycles::complete(n); }); });
  m.def("ncube", [](int d) { return released([&] { return hamcycles::nCube(d); }); });
  m.def("iccs", [](int k) { return released([&] { return hamcycles::iccs(k); }); });
  m.def("regular",
        [](int n, int d, Seed s) { return released([&] { return hamcycles::regular(n, d, s); }); });
  m.def("random_edges",
        [](int n, int e, Seed s) { return released([&] { return hamcycles::randomEdges(n, e, s); }); });
  m.def("edge_probability", [](int n, double p, Seed s) {
    return released([&] { return hamcycles::edgeProbability(n, p, s); });
  });
  m.def("sat_reduction",
        [](int v, double c, Seed s) { return released([&] { return hamcycles::satReduction(v, c, s); }); });

  py::class_<hamcycles::Progress>(m, "Progress",
                                  "What a run has done so far; figures that do not apply stay 0.")
      .def_readonly("seconds", &hamcycles::Progress::seconds)
      .def_readonly("iterations", &hamcycles::Progress::iterations)
      .def_readonly("best_percent_complete", &hamcycles::Progress::bestPercentComplete)
      .def_readonly("tree_nodes", &hamcycles::Progress::treeNodes)
      .def_readonly("depth", &hamcycles::Progress::depth)
      .def("__repr__", [](const hamcycles::Progress& p) {
        return "Progress(seconds=" + std::to_string(p.seconds) +
               ", iterations=" + std::to_string(p.iterations) +
               ", best_percent_complete=" + std::to_string(p.bestPercentComplete) +
               ", tree_nodes=" + std::to_string(p.treeNodes) + ", depth=" + std::to_string(p.depth) + ")";
      });

  // One run of solve, schc or cohc; its options come as {library name: value} and are set by
  // name (the library checks each against its row), proof is "" for none (schc takes none).
  m.def("run", [](const std::string& method, const hamcycles::Graph& g, py::handle labels, double timeLimit,
                  Seed seed, const py::object& progress, const std::map<std::string, std::int64_t>& named,
                  const std::string& proof, Cancel* cancel) {
    if (method == "schc")
      return run(g, labels, optionsOf<hamcycles::SchcOptions>(timeLimit, seed, named), progress, cancel,
                 [](const auto& graph, const auto& o) { return hamcycles::schc(graph, o); });
    if (method == "cohc")
      return run(g, labels, optionsOf<hamcycles::CohcOptions>(timeLimit, seed, named, proof), progress,
                 cancel, [](const auto& graph, const auto& o) { return hamcycles::cohc(graph, o); });
    return run(g, labels, optionsOf<hamcycles::SolveOptions>(timeLimit, seed, named, proof), progress, cancel,
               [](const auto& graph, const auto& o) { return hamcycles::solve(graph, o); });
  });

  // The options of solve, schc and cohc, one tuple each: (method, python name, library name,
  // low, high, choices, values text, default, unset value or None, switch, help line).
  m.def("method_options", [] {
    py::list rows;
    for (const hamcycles::MethodOption& o : hamcycles::methodOptions())
      rows.append(py::make_tuple(o.method, o.pythonName, o.name, o.low, o.high, o.choices, o.valuesText,
                                 o.defaultValue, o.unset, o.isSwitch, o.help));
    return rows;
  });

  // The figures of a result, one tuple each: (JSON key, Python attribute, methods).
  m.def("result_fields", [] {
    py::list rows;
    for (const hamcycles::ResultField& f : hamcycles::resultFields())
      rows.append(py::make_tuple(f.key, f.pythonName, f.methods));
    return rows;
  });

  m.def("verify", [](const hamcycles::Graph& g, const std::vector<int>& cycle) {
    std::string fault;
    const bool ok = hamcycles::isHamiltonianCycle(g, cycle, &fault);
    return py::make_tuple(ok, ok ? py::object(py::none()) : py::object(py::str(fault)));
  });
  // (accepted, line, step, reason); a file that cannot be read raises FileError.
  m.def("check", [](const hamcycles::Graph& g, const std::string& path) {
    hamcycles::CertificateCheck result;
    {
      py::gil_scoped_release release;
      result = hamcycles::checkCertificate(g, path);
    }
    // A certificate's line as the command line quotes it, so the text always decodes.
    return py::make_tuple(result.accepted, result.line, py::str(hamcycles::printableText(result.step)),
                          py::str(hamcycles::printableText(result.reason)));
  });
}
