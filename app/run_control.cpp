// The window's run commands: starting a run from the editor's text, the
// layout a run gets, translation and run-time errors in the editor, and
// the report at the end of a run.
#include <QApplication>
#include <QSplitter>

#include "main_form.h"
#include "maze_editor.h"
#include "message_box.h"
#include "program.h"
#include "qtext.h"
#include "string_table.h"
#include "syntax_memo.h"
#include "user_screen.h"
#include "window_host.h"

TProgramBuilder TMainForm::Builder() {
  // Called by the session only when a run starts (never while one exists),
  // on the main thread.
  return [this] {
    std::vector<std::string> lines;
    const int n = Editor->LineCount();
    lines.reserve(n);
    for (int i = 0; i < n; ++i) lines.push_back(Editor->Lines().Get(i));
    const int kind = field_.Kind();
    // Every Grondo run starts from the task as loaded.
    if (kind == ekGrondo) {
      field_.ResetForRun();
      ScrollBox1->Refresh();
    }
    std::unique_ptr<TPseudoCode> code = ProgramBuilder(std::move(lines), kind, host_.get())();
    LayoutForRun(code->UsesExecutor, code->HasInput);
    return code;
  };
}

void TMainForm::AfterCommand(TCommandResult result) {
  if (result == crTranslationError) {
    ShowTranslationError(*session_->TranslationError());
  } else if (result == crAlreadyRunning) {
    ShowError(this, FromCp1251(Str(sAlreadyRunning)));
  }
}

void TMainForm::RunBtnClick() {
  AfterCommand(session_->Run(Builder()));
}

void TMainForm::StepBtnClick() { AfterCommand(session_->Step(Builder())); }

void TMainForm::TraceBtnClick() { AfterCommand(session_->Trace(Builder())); }

void TMainForm::RunToBtnClick() { AfterCommand(session_->RunTo(Builder(), Editor->CaretLine())); }

void TMainForm::StopBtnClick() { session_->Stop(); }

void TMainForm::VarBtnClick() { session_->ShowVariables(); }

void TMainForm::ShowTranslationError(const ECompileException& e) {
  const bool placed = e.Line >= 0 && e.Line < Editor->LineCount();
  int previous = 0;
  if (placed) {
    previous = Editor->SetLineMark(e.Line, styles_.ErrorLine);
    if (e.Col >= 1) Editor->SetCharHighlight(e.Line, e.Col - 1, styles_.ErrorChar);
    Editor->SetTopLine(std::max(0, std::min(Editor->TopLine(), e.Line)));
    if (e.Line >= Editor->TopLine() + Editor->VisibleLines()) Editor->SetTopLine(e.Line);
    Editor->viewport()->repaint();
  }
  ShowError(this, FromCp1251(e.Message()));
  if (placed) {
    Editor->SetLineMark(e.Line, previous);
    Editor->ClearCharHighlight();
    Editor->SetCaret(std::max(0, e.Col - 1), e.Line);
    Editor->ScrollToCaret();
  }
  Editor->setFocus();
}

void TMainForm::MarkRunError(int line, const std::string& text) {
  const bool placed = line >= 0 && line < Editor->LineCount();
  int previous = 0;
  if (placed) {
    // The execution-line mark goes first, so that the error mark is the
    // one the box is shown over.
    host_->UnhighlightLine();
    Editor->SetCaret(0, line);
    Editor->ScrollToCaret();
    previous = Editor->SetLineMark(line, styles_.ErrorLine);
    Editor->viewport()->repaint();
  }
  ShowError(this, FromCp1251(text));
  if (placed) Editor->SetLineMark(line, previous);
  Editor->viewport()->update();
}

void TMainForm::ReportRunEnd(TRunEnd end) {
  if (end != reVerdictDue) {
    ShowMessage(this, FromCp1251(RunEndText(end)));
    return;
  }
  std::string verdict;
  const bool solved = field_.Verdict(verdict);
  if (solved)
    ShowMessage(this, FromCp1251(verdict));
  else
    MessageBoxes().Show(this, TBoxKind::Warning, FromCp1251(verdict));
}

// Splitter2 holds the field pane, the maze editor (hidden but in design
// mode) and the console.
int TMainForm::ConsoleHeight() const { return Splitter2->sizes().value(2); }

void TMainForm::SetConsoleHeight(int height) {
  const QList<int> sizes = Splitter2->sizes();
  const int total = std::max(sizes.value(0) + sizes.value(1) + sizes.value(2), Splitter2->height());
  height = std::clamp(height, 0, total);
  const bool designing = MazeEditor->isVisible();
  Splitter2->setSizes({designing ? 0 : total - height, designing ? total - height : 0, height});
}

void TMainForm::LayoutForRun(bool usesExecutor, bool hasInput) {
  if (usesExecutor) {
    if (!hasInput)
      SetConsoleHeight(0);
    else if (ConsoleHeight() == 0)
      SetConsoleHeight(Editor->height() / 3);
    ShowFieldPane();
  } else if (!ScrollBox1->isHidden()) {
    SavedConsoleHeight = ConsoleHeight();
    ScrollBox1->hide();
  }
}

void TMainForm::ShowFieldPane() {
  if (!ScrollBox1->isHidden()) return;
  ScrollBox1->show();
  SetConsoleHeight(SavedConsoleHeight);
}

void TMainForm::WaitForRunEnd() {
  while (session_->Running()) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  session_->Wait();
}
