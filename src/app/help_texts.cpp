// The help texts. Each contextual text is a heading built from the page, the state and
// its colour, then a body chosen by page, state and (on four pages) algorithm choice.
// The bodies describe what the pages do; they are user documentation, kept here as lines
// so the help window and the tests read the same data.
#include "app/help_texts.h"

#include <map>
#include <tuple>

#include "app/program_states.h"
#include "io/graph_format_registry.h"

namespace hc {

namespace {

// `text` in lines of at most kWidth characters, broken at blanks; the first line begins
// with `first`, the others with `rest`.
constexpr size_t kWidth = 88;
HelpLines wrapped(const std::string& text, const std::string& first, const std::string& rest) {
  HelpLines lines;
  std::string line = first;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(at, end - at);
    const bool lineStart = line.size() == (lines.empty() ? first : rest).size();
    if (!lineStart && line.size() + 1 + word.size() > kWidth) {
      lines.push_back(line);
      line = rest;
    }
    if (line.size() > (lines.empty() ? first : rest).size()) line += ' ';
    line += word;
    at = end + 1;
  }
  lines.push_back(line);
  return lines;
}

// "Adjacency Text (.txt), OBJ Mesh (.obj), ..., Edge List (.edges, .el)", from io's table.
std::string formatNames() {
  std::string names;
  for (const GraphFormatInfo& format : graphFormats()) {
    if (!names.empty()) names += ", ";
    names += format.name + " (";
    for (size_t i = 0; i < format.extensions.size(); ++i)
      names += (i > 0 ? ", ." : ".") + format.extensions[i];
    names += ")";
  }
  return names;
}

// The Graph Generation page's text; its Disk-Read lines name the formats of io's table.
HelpLines generationText() {
  HelpLines lines{
      "Choose a graph class with its radio button, enter the parameters, and press",
      "\"LOAD GRAPH\" in the parameter area. The graph is built and submitted (state 1, Green).",
      "",
      "Random Graphs: edge probability (number of nodes, probability 0 to 1); random regular",
      "  (number of nodes, degree); n nodes with m random edges (nodes, edges).",
      "Square Grid Graphs: toroidal grid (height, width); knight's tour graph (chess board",
      "  rows, columns).",
      "Other Graphs: n-cube (dimension); ICCS graph with no middle edges (number of",
      "  components); complete graph (number of nodes).",
      "Reductions: random 3-SAT formula reduced to a Hamiltonian cycle instance (number of",
      "  variables, clause multiplier c: the formula has c times as many clauses).",
  };
  const HelpLines diskRead =
      wrapped("Disk-Read Graphs: \"Text File\" opens any graph file the program reads: " + formatNames() +
                  "; \"Binary File\" a drawing saved by the Graph Editor (.g), "
                  "\"Object File\" an OBJ mesh (.obj). A file dialog asks for the file.",
              "", "  ");
  lines.insert(lines.end(), diskRead.begin(), diskRead.end());
  return lines;
}

const char* const kPageNames[] = {
    "GRAPH EDITOR", "GRAPH GENERATION", "GRAPH INFORMATION", "STONE CARVER", "CO-HC", "SOLVER"};
constexpr int32_t kPages = 6;
constexpr int32_t kChoices = 5;  // 0 (none of the methods) and the four methods

// Which body a (page, state, algorithm choice) shows. Variant 0 is the page's own
// method (or the only text of the row), 1 "another method".
enum Body {
  kEditorBlue,
  kEditorGreen,
  kEditorManual,
  kEditorOtherRunning,
  kEditorManualSolved,
  kEditorOtherSolved,
  kGenerationBlue,
  kGenerationDisabled,
  kInformation,
  kCarverBlue,
  kCarverGreen,
  kCarverRunning,
  kCarverOtherRunning,
  kCarverSolved,
  kCarverOtherSolved,
  kCohcBlue,
  kCohcGreen,
  kCohcRunning,
  kCohcOtherRunning,
  kCohcSolved,
  kSolverBlue,
  kSolverGreen,
  kSolverRunning,
  kSolverOtherRunning,
  kSolverSolved,
  kSolverOtherSolved,
};

// The bodies of a page with a method, by state; in states 2 and 3 the first of each pair
// when its own method runs or has run, the second for another method.
struct MethodPageBodies {
  AlgorithmChoice own;
  Body blue, green, running, otherRunning, solved, otherSolved;
};
constexpr MethodPageBodies kEditorBodies{
    AlgorithmChoice::kManualEdit, kEditorBlue,         kEditorGreen,      kEditorManual,
    kEditorOtherRunning,          kEditorManualSolved, kEditorOtherSolved};
constexpr MethodPageBodies kCarverBodies{
    AlgorithmChoice::kStoneCarver, kCarverBlue,   kCarverGreen,      kCarverRunning,
    kCarverOtherRunning,           kCarverSolved, kCarverOtherSolved};
constexpr MethodPageBodies kCohcBodies{AlgorithmChoice::kCoHC, kCohcBlue,   kCohcGreen, kCohcRunning,
                                       kCohcOtherRunning,      kCohcSolved, kCohcSolved};
constexpr MethodPageBodies kSolverBodies{AlgorithmChoice::kSolver, kSolverBlue,         kSolverGreen,
                                         kSolverRunning,           kSolverOtherRunning, kSolverSolved,
                                         kSolverOtherSolved};

Body bodyFor(int32_t page, ProgramState state, AlgorithmChoice algorithm) {
  if (page == 1) return state == ProgramState::kEditing ? kGenerationBlue : kGenerationDisabled;
  if (page == 2) return kInformation;
  const MethodPageBodies& b = page == 0   ? kEditorBodies
                              : page == 3 ? kCarverBodies
                              : page == 4 ? kCohcBodies
                                          : kSolverBodies;
  const bool own = algorithm == b.own;
  switch (state) {
    case ProgramState::kEditing: return b.blue;
    case ProgramState::kSubmitted: return b.green;
    case ProgramState::kRunning: return own ? b.running : b.otherRunning;
    default: return own ? b.solved : b.otherSolved;
  }
}

const HelpLines kSolvedEditorView{
    "The Graph Editor tab now shows the result on the canvas: the edges of a Hamiltonian",
    "cycle are drawn in green; when the graph was found non-Hamiltonian the forced edges",
    "are drawn in red and the deleted edges in light grey.",
};

const HelpLines& body(Body which) {
  static const std::map<Body, HelpLines> bodies{
      {kEditorBlue,
       {"Draw the graph you want to solve here, then press \"Submit Graph\" to hand it to the",
        "program (or use the Graph Generation tab to create or load one).",
        "",
        "MOUSE CONTROLS:",
        "  Left click on empty canvas: add a node.",
        "  Left drag from a node to empty canvas: add a node joined to it by an edge.",
        "  Left drag from one node to another: join the two nodes by an edge.",
        "  Right click on a node or an edge: select it (hold Ctrl to add to the selection).",
        "  Right drag on a node: move the selected nodes.",
        "  Right drag on empty canvas: toggle the selection of the nodes inside the rectangle.",
        "  Middle click (with nodes selected): enter rotation mode; move the mouse to rotate",
        "    the selected nodes about the point clicked; middle click again to leave it.",
        "  Right double click: centre the view on that point.",
        "  Mouse wheel: zoom out (towards you) or zoom in at the cursor (away from you).",
        "",
        "BUTTONS:",
        "  Cliquify: join every pair of selected nodes.",
        "  Clear: delete the whole drawing.      Delete: delete the selected nodes and edges.",
        "  Center Graph: move the drawing to the middle of the field.",
        "  Re-center Screen: move the view back to the middle of the field.",
        "  Submit Graph: make the drawing the graph to solve (state 1, Green).",
        "  Save As... / Load: write the drawing to a .g or .txt file / read a .g file.",
        "",
        "SHORTCUT KEYS:",
        "  Ctrl+C, Ctrl+X, Ctrl+V: copy, cut, paste at the mouse position.",
        "  Ctrl+A: select all nodes.      Ctrl+N: start a new, empty drawing.",
        "  Z / X: zoom in / out.           Delete or Backspace: delete the selection.",
        "  Ctrl+S: save.  Shift+Ctrl+S: save as.  Ctrl+L or Ctrl+O: load.  F1: help.",
        "",
        "OTHER CONTROLS:",
        "  Show Grid and the grid spacing arrows control the background grid; the boxes",
        "  show the grid spacing, the zoom, the screen centre and the mouse position."}},
      {kEditorGreen,
       {"The graph has been submitted and is ready to be solved. Edges that the program has",
        "already found to be forced (in every Hamiltonian cycle) are drawn in orange. Nodes may",
        "still be moved with the right mouse button, but the graph can no longer be edited.",
        "\"RESET\" (top right) returns to state 0 (Blue), keeping the drawing for further editing.", "",
        "There are four ways to solve the graph:",
        "  1. \"SOLVE GRAPH\" on this tab starts manual edit mode: you delete and force edges",
        "     yourself while the program prunes after every step.",
        "  2. The Stone Carver's HC Algorithm tab runs the randomised SCHC algorithm.",
        "  3. The coHC Proof System tab runs the proof search for non-Hamiltonicity.",
        "  4. The Solver tab runs every method of the program at once and stops at the first",
        "     decision.", "The Graph Information tab shows the figures of the submitted graph."}},
      {kEditorManual,
       {"Manual edit mode: solve the graph yourself. Select one edge with the right mouse",
        "button, then delete it or force it (make it part of every Hamiltonian cycle sought).",
        "After every step the program prunes the graph: forced edges are drawn in orange,",
        "deleted edges in light grey. When a Hamiltonian cycle forms, or an obstruction shows",
        "that none exists, the program moves to state 3 (Yellow).", "",
        "COMMANDS:", "  Delete Edge (Delete or Backspace key): delete the selected edge.",
        "  Force Edge (Insert key): force the selected edge.",
        "  Run Look Ahead Sequencing: let the program try every edge and keep the forced",
        "    consequences.",
        "  ABORT: leave manual edit mode and return to state 1 (Green) with the submitted graph."}},
      {kEditorOtherRunning,
       {"An automated algorithm is running on the submitted graph. When it decides the graph",
        "the program moves to state 3 (Yellow) and the result is shown on this canvas.",
        "To abort the algorithm, use the ABORT button on its own tab."}},
      {kEditorManualSolved,
       {"The graph has been solved in manual edit mode. Note that a non-Hamiltonian verdict",
        "concerns the graph as it is on screen, after your deletions and forcings: it does not",
        "necessarily mean that the submitted graph is non-Hamiltonian.",
        "Edges of the Hamiltonian cycle are drawn in green; when there is none, the forced",
        "edges are drawn in red.", "\"OUTPUT HC\" writes the Hamiltonian cycle found to a text or OBJ file.",
        "The upper \"RESET\" button returns to state 0 (Blue); the lower one, on this tab,",
        "returns to state 1 (Green) with the submitted graph, ready to be solved again."}},
      {kEditorOtherSolved,
       {"The graph has been solved by an automated algorithm. Edges of the Hamiltonian cycle",
        "are drawn in green; when the graph is non-Hamiltonian the forced edges are drawn in red.",
        "\"OUTPUT HC\" writes the Hamiltonian cycle found to a text or OBJ file.",
        "The upper \"RESET\" button returns to state 0 (Blue); the lower one, on this tab,",
        "returns to state 1 (Green) with the submitted graph, ready to be solved again."}},
      {kGenerationBlue, generationText()},
      {kGenerationDisabled,
       {"This page is only enabled in state 0 (Blue). Press \"RESET\" (top right) to discard",
        "the current graph before generating or loading another one."}},
      {kInformation,
       {"Once a graph has been submitted this page shows its figures: its name, the numbers of",
        "nodes, edges and forced edges, the average, smallest and largest degree, and whether",
        "it is bipartite, connected and biconnected. The figures describe the graph after the",
        "cheap pruning that the proof system applies first, so the edge counts may be lower",
        "than in the graph as loaded. Without a graph every figure reads \"---\"."}},
      {kCarverBlue,
       {"The Stone Carver's Hamiltonian Cycle algorithm (SCHC) runs on a submitted graph.",
        "Submit one first: draw it on the Graph Editor tab or create or load it on the",
        "Graph Generation tab."}},
      {kCarverGreen,
       {"DESCRIPTION:",
        "SCHC is a randomised search for a Hamiltonian cycle. After a fast initial pruning it",
        "repeats Probability Mill iterations: each deletes random edges from a copy of the",
        "graph, letting the automatic rules force and delete the edges that follow, until the",
        "copy either holds a Hamiltonian cycle or shows an obstruction (a hub or a ring).",
        "It recognises only the simplest non-Hamiltonian graphs: use it on graphs you suspect",
        "to be Hamiltonian, and the coHC Proof System to prove that a graph has no cycle.", "",
        "ALGORITHM CONTROLS:",
        "  PM Iterations To Display: how many of the latest iterations the history list keeps.",
        "  Algorithm Version: the Probability Mill variant; the LAS versions add trial",
        "    deletions (Look Ahead Sequencing), the last two also a biconnectivity check.",
        "  SOLVE GRAPH: start the algorithm (state 2, Red)."}},
      {kCarverRunning,
       {"The algorithm is working; ABORT stops it and returns to state 1 (Green).",
        "Each row of the history list is one Probability Mill iteration: its number, the",
        "edges it deleted, the hubs and rings it met, the forced edges it reached, how",
        "complete the cycle was and when it ended.",
        "  Least Deletions To Hub / Ring: the fewest deletions after which an iteration met",
        "    a hub / a ring (2000000000 while none has).",
        "  Most Deletions: the most edges one iteration deleted.",
        "  Max Forced Edges: the most forced edges one iteration reached, and that as a",
        "    share of a complete cycle."}},
      {kCarverOtherRunning,
       {"A different algorithm is running on the submitted graph. When it decides the graph",
        "the program moves to state 3 (Yellow)."}},
      {kCarverSolved,
       {"SCHC has solved the graph: the status area shows the verdict, and the Graph Editor",
        "tab shows the Hamiltonian cycle found in green. The history list and the statistics",
        "of the run stay visible:",
        "  Least Deletions To Hub / Ring, Most Deletions and Max Forced Edges summarise the",
        "  Probability Mill iterations of the run.", "\"RESET\" returns to state 1 (Green) to run again."}},
      {kCarverOtherSolved,
       {"The graph has been solved by another method. The Graph Editor tab shows the result:",
        "a Hamiltonian cycle in green, or, for a non-Hamiltonian graph, the forced edges in red."}},
      {kCohcBlue,
       {"The Co-Hamiltonian Cycle (coHC) proof system runs on a submitted graph.",
        "Submit one first: draw it on the Graph Editor tab or create or load it on the",
        "Graph Generation tab."}},
      {kCohcGreen,
       {"DESCRIPTION:", "The proof system searches a tree of edge deletions depth first: each tree node",
        "deletes one more edge and prunes the result. A branch ends when its graph is decided.",
        "When every branch ends without a Hamiltonian cycle the graph is proved",
        "non-Hamiltonian; a branch that forms a cycle proves it Hamiltonian.", "", "ALGORITHM CONTROLS:",
        "  Maximum Search Depth: how deep the tree may grow; a proof that needs more reports",
        "    that the search depth was too shallow.",
        "  Pruning Level: 0 none, 1 connectivity, 2 odd forced cuts, 3 biconnectivity, 4 Look",
        "    Ahead Sequencing, 5 with the Disjunction Check, 6 also 2-edge cuts.",
        "  Build All Children / Build Minimal Children: how many children each tree node opens.",
        "  SOLVE GRAPH: start the proof (state 2, Red)."}},
      {kCohcRunning,
       {"The proof system is running; ABORT stops it and returns to state 1 (Green).",
        "The statistics are posted to the lower display areas: one row per depth of the tree",
        "(tree nodes started and solved, forced edges, longest and average solving times), and",
        "the charts draw these figures over the depth."}},
      {kCohcOtherRunning,
       {"A different algorithm is running on the submitted graph. When it decides the graph",
        "the program moves to state 3 (Yellow)."}},
      {kCohcSolved,
       {"The graph has been solved. The Graph Editor tab shows the result: a Hamiltonian cycle",
        "in green, or, for a non-Hamiltonian graph, the forced edges in red. \"RESET\" returns to",
        "state 1 (Green) to run again."}},
      {kSolverBlue,
       {"The Solver runs on a submitted graph. Submit one first: draw it on the Graph Editor",
        "tab or create or load it on the Graph Generation tab."}},
      {kSolverGreen,
       {"DESCRIPTION:", "The Solver decides the graph with every method of the program at once, the way",
        "\"hamcycles-cli solve\" does. It prunes the graph first (necessary conditions, forced",
        "edges, the alternation rule), splits it at small separators and small edge cuts and",
        "decides the parts, runs a short exact search and a frontier search for long thin",
        "graphs, and then races, each on its own thread: the exact search (complete: it ends",
        "with a cycle or a proof), the rotation-extension cycle finder, clause learning on",
        "sparse graphs, the Probability Mill and, on small graphs, the coHC proof system.",
        "The first part to decide ends the run; a cycle counts only after an independent check.", "",
        "ALGORITHM CONTROLS:",
        "  Time Limit: seconds after which the run ends undecided (none: it runs until it",
        "    decides or you abort it).",
        "  Threads: how many threads the parts share; the machine's cores by default.",
        "  Seed: empty draws a seed, shown after the run; typing it in again gives a run the",
        "    same random choices (exactly with one thread).",
        "  SOLVE GRAPH: start the Solver (state 2, Red)."}},
      {kSolverRunning,
       {"The Solver is working; ABORT stops it and returns to state 1 (Green).",
        "  Parts Working: the parts of the Solver working at this moment.",
        "  Tree Nodes / Search Depth: the exact search's tree nodes so far and the depth",
        "    of the branch it is in.",
        "When a part decides, the program moves to state 3 (Yellow); when the time limit",
        "passes first, it moves there with the verdict undecided."}},
      {kSolverOtherRunning,
       {"A different algorithm is running on the submitted graph. When it decides the graph",
        "the program moves to state 3 (Yellow)."}},
      {kSolverSolved,
       {"The Solver has finished. The boxes show the verdict (Hamiltonian, non-Hamiltonian, or",
        "undecided when the time limit passed), the part that decided, the time it took, the",
        "exact search's tree nodes and deepest depth, and the seed used.",
        "  Save Certificate...: after a non-Hamiltonian verdict, writes its proof (a .proof",
        "    file that \"hamcycles-cli check\" checks). A proof that grows past 256 MiB while",
        "    the run works is dropped; when there is none, the button's tooltip says why.",
        "\"RESET\" returns to state 1 (Green) to run again."}},
      {kSolverOtherSolved,
       {"The graph has been solved by another method. The Graph Editor tab shows the result:",
        "a Hamiltonian cycle in green, or, for a non-Hamiltonian graph, the forced edges in red."}},
  };
  return bodies.at(which);
}

HelpLines contextualText(int32_t page, ProgramState state, AlgorithmChoice algorithm) {
  const std::string heading = std::string("CONTEXT SPECIFIC HELP FOR ") + kPageNames[page] +
                              " DIALOG BOX -STATE " + std::to_string(codeOf(state)) + " (" +
                              stateColourName(state) + "):";
  HelpLines lines{"", "", heading, std::string(heading.size(), '=')};
  const Body which = bodyFor(page, state, algorithm);
  const HelpLines& text = body(which);
  lines.insert(lines.end(), text.begin(), text.end());
  if (which == kCarverOtherSolved || which == kCohcSolved || which == kSolverSolved ||
      which == kSolverOtherSolved) {
    lines.emplace_back("");
    lines.insert(lines.end(), kSolvedEditorView.begin(), kSolvedEditorView.end());
  }
  return lines;
}

}  // namespace

const HelpLines& generalHelpLines() {
  static const HelpLines lines = [] {
    HelpLines all{
        "",
        "",
        "GENERAL HELP:",
        "=============",
        "This program creates and edits undirected graphs and decides whether they are",
        "Hamiltonian: whether a cycle passes through every node exactly once. There are two",
        "ways to create a graph (draw it, or generate or load it) and four ways to check it",
        "(manual edit mode, the Stone Carver's HC algorithm, the coHC proof system, and the",
        "Solver, which runs all of the program's methods at once).",
        "",
        "1. The Graph Editor Tab:",
        "   Draw a graph with the mouse, save and load drawings, and submit the drawing as the",
        "   graph to solve. Once a graph is submitted, \"SOLVE GRAPH\" here starts manual edit",
        "   mode, and the canvas shows the results of every method.",
        "",
        "2. The Graph Generation Tab:",
    };
    const HelpLines generation = wrapped(
        "Generate a graph from one of the standard families, a random 3-SAT reduction, or load one from a "
        "graph file (" +
            readableExtensions() + ").",
        "   ", "   ");
    all.insert(all.end(), generation.begin(), generation.end());
    const HelpLines after{
        "",
        "3. The Graph Information Tab:",
        "   The figures of the submitted graph: nodes, edges, forced edges, degrees,",
        "   bipartiteness and connectivity.",
        "",
        "4. The Stone Carver's HC Algorithm Tab:",
        "   A randomised search for a Hamiltonian cycle. It recognises only the simplest",
        "   non-Hamiltonian graphs, so use it on graphs you suspect to be Hamiltonian.",
        "",
        "5. The coHC Proof System Tab:",
        "   A search-tree proof system that proves a graph non-Hamiltonian (or finds a cycle).",
        "",
        "6. The Solver Tab:",
        "   Every method at once on their own threads, with an optional time limit: the",
        "   strongest way to decide a graph; the first method to decide ends the run. The",
        "   proof of a non-Hamiltonian verdict can be saved as a certificate.",
        "",
        "The program is always in one of four colour-coded states, shown in the status area:",
        "   0 Blue:   no graph has been submitted; draw, generate or load one.",
        "   1 Green:  a graph has been submitted and is ready to be solved.",
        "   2 Red:    an algorithm is running (or manual edit mode is on).",
        "   3 Yellow: the graph has been solved.",
        "",
        "For help on the tab you are working in, see the \"Contextual Help\" tab of this window.",
    };
    all.insert(all.end(), after.begin(), after.end());
    return all;
  }();
  return lines;
}

const HelpLines& contextualHelpLines(int32_t page, ProgramState programState,
                                     AlgorithmChoice algorithmChoice) {
  const int32_t state = codeOf(programState);
  if (page < 0 || page >= kPages || state < 0 || state > 3) return generalHelpLines();
  // Every text built once, for every algorithm choice a row tells apart (0 stands for
  // any choice that is none of the four methods).
  static const std::map<std::tuple<int32_t, int32_t, int32_t>, HelpLines> texts = [] {
    std::map<std::tuple<int32_t, int32_t, int32_t>, HelpLines> all;
    for (int32_t p = 0; p < kPages; ++p)
      for (int32_t s = 0; s < 4; ++s)
        for (int32_t a = 0; a < kChoices; ++a)
          all.emplace(std::make_tuple(p, s, a),
                      contextualText(p, static_cast<ProgramState>(s), static_cast<AlgorithmChoice>(a)));
    return all;
  }();
  const int32_t choice =
      codeOf(algorithmChoice) >= 1 && codeOf(algorithmChoice) < kChoices ? codeOf(algorithmChoice) : 0;
  return texts.at(std::make_tuple(page, state, choice));
}

std::string joinHelpLines(const HelpLines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace hc
