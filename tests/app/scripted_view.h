// A ProgramView with scripted answers, and a page that records what it is told: every
// program-state path runs without a display (the widget tests use the view too).
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/program_model.h"

namespace hc::testing {

class ScriptedView : public ProgramView {
 public:
  std::deque<std::optional<std::string>> fileAnswers;  // popped per dialog; empty: cancel
  std::vector<std::string> messages;
  bool answer = true;                    // to every yes/no question
  std::vector<std::string> openFilters;  // the filter of every open dialog, in order

  std::optional<std::string> chooseOpenFile(const std::string&, const std::string& filter) override {
    openFilters.push_back(filter);
    if (fileAnswers.empty()) return std::nullopt;
    std::optional<std::string> file = fileAnswers.front();
    fileAnswers.pop_front();
    return file;
  }
  std::optional<std::string> chooseSaveFile(const std::string&, const std::string&,
                                            const std::string&) override {
    if (fileAnswers.empty()) return std::nullopt;
    std::optional<std::string> file = fileAnswers.front();
    fileAnswers.pop_front();
    return file;
  }
  void showMessage(const std::string& text, const std::string&) override { messages.push_back(text); }
  bool askYesNo(const std::string& text, const std::string&) override {
    questions.push_back(text);
    return answer;
  }
  void showNote(const std::string& text) override { notes.push_back(text); }
  std::vector<std::string> questions, notes;
  void postToUiThread(std::function<void()> task) override {
    std::lock_guard lock(mutex_);
    posted_.push_back(std::move(task));
  }
  // Runs the posted tasks (the UI thread's queue); returns how many ran.
  int drain() {
    std::vector<std::function<void()>> tasks;
    {
      std::lock_guard lock(mutex_);
      tasks.swap(posted_);
    }
    for (auto& task : tasks) task();
    return static_cast<int>(tasks.size());
  }

 private:
  std::mutex mutex_;
  std::vector<std::function<void()>> posted_;
};

// Logs "<name><state>" per notification, "<name>-button" / "<name>-controls" when hidden
// or disabled, "<name>-abort" on abortRun; `onState` may act inside a notification.
class RecordingPage : public ProgramPage {
 public:
  RecordingPage(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
  std::function<void(int32_t)> onState;
  void setPageState(ProgramState state) override {
    log_.push_back(name_ + std::to_string(codeOf(state)));
    if (onState) onState(codeOf(state));
  }
  void setStateButtonVisible(bool visible) override {
    if (!visible) log_.push_back(name_ + "-button");
  }
  void setAlgorithmControlsEnabled(bool enabled) override {
    if (!enabled) log_.push_back(name_ + "-controls");
  }
  void abortRun() override { log_.push_back(name_ + "-abort"); }

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

}  // namespace hc::testing
