// The main window: the status area, the reset and help buttons, and the six tab pages.
// It owns the program model and the pages, and answers the model's questions with Qt
// dialogs (or, in tests and screenshots, with the hooks below instead of modal boxes).
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "app/program_model.h"
#include "app/program_view.h"

class QTabWidget;
class QToolButton;
class QPushButton;
class CGraphEditorDlg;
class CGraphGenerationDlg;
class CGraphInformationDlg;
class CStoneCarverDlg;
class CCoHCDlg;
class CSolverDlg;
namespace hcui {
class PaintedLabel;
}

class CHamiltonianCyclesDlg : public QDialog, public hc::ProgramView {
  Q_OBJECT
 public:
  explicit CHamiltonianCyclesDlg(QWidget* parent = nullptr);
  ~CHamiltonianCyclesDlg() override;

  // Loads the command-line file (when given) and enters the initial state.
  void initialise(const std::optional<std::string>& commandLineFile);

  hc::ProgramModel& model() { return model_; }
  QTabWidget* tabs() const { return tabs_; }
  CGraphEditorDlg* editorPage() const { return editor_; }
  CGraphGenerationDlg* generationPage() const { return generation_; }
  CGraphInformationDlg* informationPage() const { return information_; }
  CStoneCarverDlg* stoneCarverPage() const { return stoneCarver_; }
  CCoHCDlg* cohcPage() const { return cohc_; }
  CSolverDlg* solverPage() const { return solver_; }
  hcui::PaintedLabel* statusLabelBox() const { return statusLabel_; }
  hcui::PaintedLabel* statusTextBox() const { return statusText_; }
  QToolButton* resetButton() const { return reset_; }
  QPushButton* helpButton() const { return help_; }

  // --- hc::ProgramView ---
  std::optional<std::string> chooseOpenFile(const std::string& title, const std::string& filter) override;
  std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter,
                                            const std::string& suggestedPath) override;
  void showMessage(const std::string& text, const std::string& caption) override;
  bool askYesNo(const std::string& text, const std::string& caption) override;
  void postToUiThread(std::function<void()> task) override;
  void refreshFrame() override;
  void showNote(const std::string& text) override;
  bool mayReplaceDrawing() override;

  // Hooks that replace the modal dialogs (tests, screenshots). A file hook returns the
  // name to use (std::nullopt: cancelled); the question hook the answer. A save dialog's
  // hook is given the path the dialog would open at instead of its title.
  using MessageHook = std::function<void(const std::string& text, const std::string& caption)>;
  using FileHook = std::function<std::optional<std::string>(const std::string& title)>;
  using QuestionHook = std::function<bool(const std::string& text)>;
  void setMessageHook(MessageHook hook) { messageHook_ = std::move(hook); }
  void setFileHook(FileHook hook) { fileHook_ = std::move(hook); }
  void setQuestionHook(QuestionHook hook) { questionHook_ = std::move(hook); }
  // Hears every note as well (the screenshots print them to standard error).
  void setNoteHook(std::function<void(const std::string&)> hook) { noteHook_ = std::move(hook); }
  // Called with the help dialog just before it is shown modally (tests read and close it).
  using HelpHook = std::function<void(QDialog& help)>;
  void setHelpHook(HelpHook hook) { helpHook_ = std::move(hook); }

 public slots:
  // Closing the window (its close button) asks once, through the editor, whether an
  // unsaved drawing may be lost.
  void reject() override;
  // Opens help for the current tab (F1 and "Help! (F1)").
  void openHelp();

 protected:
  // Escape does not close the program (only the window's close button does).
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void tabChanged(int index);
  // Where a file dialog opens: `suggested` in the loaded graph's folder (or the last one a
  // dialog went to).
  std::string dialogPath(const std::string& suggested) const;

  hc::ProgramModel model_;
  QTabWidget* tabs_ = nullptr;
  CGraphEditorDlg* editor_ = nullptr;
  CGraphGenerationDlg* generation_ = nullptr;
  CGraphInformationDlg* information_ = nullptr;
  CStoneCarverDlg* stoneCarver_ = nullptr;
  CCoHCDlg* cohc_ = nullptr;
  CSolverDlg* solver_ = nullptr;
  hcui::PaintedLabel* statusLabel_ = nullptr;
  hcui::PaintedLabel* statusText_ = nullptr;
  QToolButton* reset_ = nullptr;
  QPushButton* help_ = nullptr;
  MessageHook messageHook_;
  FileHook fileHook_;
  QuestionHook questionHook_;
  HelpHook helpHook_;
  std::function<void(const std::string&)> noteHook_;
  std::optional<hc::ProgramState> notedState_;
  std::string lastFolder_;  // of the last file chosen in a dialog
};
