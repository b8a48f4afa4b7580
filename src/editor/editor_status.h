// What an editor action tells the page: whether it was carried out, the text the page shows
// in a message box (empty: nothing to show), and, for file actions, the reason a file
// could not be read or written (the page keeps quiet about those; the CLI and logs use it).
//
// The model never opens a box itself, so every user-facing refusal lives here as the exact
// text the page puts on screen.
#pragma once

#include <string>

namespace hc {

struct EditorStatus {
  bool ok = true;
  std::string message;  // for a message box; empty when nothing is to be shown
  std::string error;    // why a file action failed; never shown by the page

  explicit operator bool() const { return ok; }
  static EditorStatus done() { return {}; }
  // A refusal the page shows (or a silent one when `text` is empty).
  static EditorStatus refused(std::string text = {}) { return EditorStatus{false, std::move(text), {}}; }
  static EditorStatus fileError(std::string why) { return EditorStatus{false, {}, std::move(why)}; }
};

// The texts of the page's message boxes.
namespace editor_messages {
inline constexpr const char* kJoinNeedsTwo =
    "Error, attempt to join2SelectedNodes when howManySelectedNodes != 2";
inline constexpr const char* kShouldNotBeReached = "Should not be reached.";
inline constexpr const char* kCannotCopy = "ERROR! Cannot copy once the graph has been submitted.";
inline constexpr const char* kCannotCut = "ERROR! Cannot cut once the graph has been submitted.";
inline constexpr const char* kCannotPaste = "ERROR! Cannot paste once the graph has been submitted.";
inline constexpr const char* kCannotDeleteRotating = "ERROR! Cannot delete while in rotation mode.";
inline constexpr const char* kCannotSaveRotating = "ERROR! Cannot save while in rotation mode.";
inline constexpr const char* kCannotSaveEmpty = "ERROR! Cannot save a graph that has no nodes.";
inline constexpr const char* kSaveOnlyWhenEditing =
    "ERROR! A graph may only be saved while in graph editing mode.";
inline constexpr const char* kLoadOnlyWhenEditing =
    "ERROR! A graph may only be loaded while in graph editing mode.";
inline constexpr const char* kNonHamiltonian = "The graph is non-Hamiltonian!";
inline constexpr const char* kNoVertices = "ERROR! The graph has no vertices!";
}  // namespace editor_messages

}  // namespace hc
