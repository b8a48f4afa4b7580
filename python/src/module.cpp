// _hamcycles: the C++ half of the Python package `hamcycles`, over the public library
// (include/hamcycles/hamcycles.h) and nothing else of the engine. It is deliberately thin:
// the package's Python half checks arguments, names things the Python way and keeps the
// caller's node labels; this half converts graphs, runs the library with the GIL released
// and maps the library's errors (Error -> ValueError, FileError -> hamcycles.FileError, an
// OSError).
#include <hamcycles/hamcycles.h>
#include <pybind11/functional.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "graph_building.h"
#include "interrupt_guard.h"

namespace py = pybind11;

namespace {

using Seed = std::optional<std::uint32_t>;

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

// One run: a stop token that Ctrl-C requests, the caller's progress callback called with the
// GIL, the engine without it.
template <typename Options, typename Method>
py::tuple run(const hamcycles::Graph& graph, py::handle labels, Options options, const py::object& progress,
              Method method) {
  // The labels index the cycle's nodes below.
  if (!labels.is_none() &&
      !(PyList_CheckExact(labels.ptr()) && PyList_GET_SIZE(labels.ptr()) == graph.nodeCount()))
    throw py::type_error("labels must be None or a list of one label per node");
  if (PyErr_CheckSignals() != 0) throw py::error_already_set();  // a Ctrl-C just before
  hamcycles::StopToken token;
  options.stop = token;
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

template <typename Options>
void common(Options& options, double timeLimit, Seed seed) {
  options.timeLimitSeconds = timeLimit;
  options.seed = seed;
}

}  // namespace

PYBIND11_MODULE(_hamcycles, m) {
  m.doc() = "The compiled half of the hamcycles package; use the package, not this module.";
  hcpy::rememberMainThread();

  // Never destroyed: a static Python object must not outlive the interpreter's teardown.
  static auto* fileError = new py::exception<hamcycles::FileError>(m, "FileError", PyExc_OSError);
  py::register_exception_translator([](std::exception_ptr error) {
    try {
      if (error) std::rethrow_exception(error);
    } catch (const hamcycles::FileError& e) {
      PyErr_SetString(fileError->ptr(), e.what());
    } catch (const hamcycles::Error& e) {
      PyErr_SetString(PyExc_ValueError, e.what());
    }
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

  m.def("solve", [](const hamcycles::Graph& g, py::handle labels, double timeLimit, Seed seed,
                    const py::object& progress, int threads, const std::string& proof) {
    hamcycles::SolveOptions options;
    common(options, timeLimit, seed);
    options.threads = threads;
    options.proofFile = proof;
    return run(g, labels, options, progress,
               [](const auto& graph, const auto& o) { return hamcycles::solve(graph, o); });
  });
  m.def("schc", [](const hamcycles::Graph& g, py::handle labels, double timeLimit, Seed seed,
                   const py::object& progress, int version, std::int64_t maxIterations, int threads) {
    hamcycles::SchcOptions options;
    common(options, timeLimit, seed);
    options.version = version;
    options.maxIterations = maxIterations;
    options.threads = threads;
    return run(g, labels, options, progress,
               [](const auto& graph, const auto& o) { return hamcycles::schc(graph, o); });
  });
  m.def("cohc", [](const hamcycles::Graph& g, py::handle labels, double timeLimit, Seed seed,
                   const py::object& progress, int level, int maxDepth, bool minimal,
                   const std::string& proof) {
    hamcycles::CohcOptions options;
    common(options, timeLimit, seed);
    options.level = level;
    options.maxDepth = maxDepth;
    options.minimal = minimal;
    options.proofFile = proof;
    return run(g, labels, options, progress,
               [](const auto& graph, const auto& o) { return hamcycles::cohc(graph, o); });
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
    return py::make_tuple(result.accepted, result.line, result.step, result.reason);
  });
}
