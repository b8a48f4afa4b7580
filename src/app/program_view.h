// Everything the program model asks of the user or of the window: file names, message
// boxes, a yes/no question, running a task later on the UI thread, and a frame refresh.
// The window implements it with Qt dialogs and queued calls; tests implement it with
// scripted answers and a queue they drain, so every program-state path runs headless.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace hc {

class ProgramView {
 public:
  virtual ~ProgramView() = default;
  // Open/save file names; std::nullopt when the user cancels. `filter` like
  // "Text Graph Files (*.txt);;TSPLIB HCP Files (*.hcp)".
  virtual std::optional<std::string> chooseOpenFile(const std::string& title, const std::string& filter) = 0;
  virtual std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter,
                                                    const std::string& suggestedPath) = 0;
  // A modal message box.
  virtual void showMessage(const std::string& text, const std::string& caption) = 0;
  virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;
  // Runs `task` on the UI thread later. Callable from any thread (the runners' workers
  // post their end-of-run request through it); never runs `task` before returning.
  virtual void postToUiThread(std::function<void()> task) = 0;
  // The frame (title, reset button, status boxes) must show the model afresh.
  virtual void refreshFrame() {}
  // A short line in the window's status area, e.g. where a saved file went (savedNote).
  virtual void showNote(const std::string& /*text*/) {}
  // Asked before a drawing read from a file replaces the editor's drawing: false when the
  // user keeps an unsaved drawing (nothing is then read).
  virtual bool mayReplaceDrawing() { return true; }
};

}  // namespace hc
