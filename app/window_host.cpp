#include "window_host.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "main_form.h"
#include "qtext.h"
#include "syntax_memo.h"
#include "user_screen.h"
#include "var_form.h"
#include "var_hint.h"

void TWindowHost::ConsoleAppend(std::string_view text) {
  TqxUserScreen& screen = *form_.UserScreen;
  screen.AppendToLine(screen.LineCount() - 1, text);
}

void TWindowHost::ConsoleNewLine() { form_.UserScreen->AddLine(""); }

void TWindowHost::ConsoleClear() { form_.UserScreen->Clear(); }

bool TWindowHost::ConsoleRead(TInputMode mode, std::string& text) {
  text.clear();
  if (Closing) return false;
  TqxUserScreen& screen = *form_.UserScreen;
  const auto stopped = [this] { return Closing || form_.Session().State().StoppedByUser.load(); };
  bool done = false;
  switch (mode) {
    case imInteger: {
      int value;
      done = screen.ReadInteger(value, stopped);
      break;
    }
    case imReal: {
      double value;
      done = screen.ReadReal(value, stopped);
      break;
    }
    default:
      done = screen.ReadText(text, stopped);
      break;
  }
  if (stopped()) {
    screen.EndInput();
    text.clear();
    return false;
  }
  // A number the console could not read goes to the interpreter as typed,
  // so that the pupil gets the input error of the language.
  if (mode != imText || !done) text = screen.Lines().Get(screen.CaretLine());
  return true;
}

void TWindowHost::HighlightLine(int line) {
  UnhighlightLine();
  TqxSyntaxMemo& editor = *form_.Editor;
  if (line < 0 || line >= editor.LineCount()) return;
  savedMark_ = editor.SetLineMark(line, form_.Styles().CurrentLine);
  highlighted_ = line;
  // The pupil sees where the program stands; the caret stays where it is,
  // since Run to cursor reads it.
  if (line < editor.TopLine() || line >= editor.TopLine() + editor.VisibleLines())
    editor.SetTopLine(std::max(0, line - editor.VisibleLines() / 2));
}

void TWindowHost::UnhighlightLine() {
  if (highlighted_ < 0) return;
  TqxSyntaxMemo& editor = *form_.Editor;
  const int current = form_.Styles().CurrentLine;
  // Lines inserted or deleted above the mark move it; look one line on
  // either side for it.
  for (int line : {highlighted_, highlighted_ + 1, highlighted_ - 1}) {
    if (line >= 0 && line < editor.LineCount() && editor.LineMark(line) == current) {
      editor.SetLineMark(line, savedMark_);
      break;
    }
  }
  highlighted_ = -1;
  editor.viewport()->update();
}

void TWindowHost::ShowVariables(const TPauseView& view) {
  if (Closing) return;
  form_.VarForm->ShowVariables(view);
}

void TWindowHost::ShowValueHint(const TPauseView& view) {
  if (Closing) return;
  const std::string text = ValueHintText(view, form_.HintLine, form_.HintWord);
  if (!text.empty()) form_.VarHint->ShowAt(form_.HintX, form_.HintY, FromCp1251(text));
}

void TWindowHost::ClearCanvas() { form_.field_.ClearCanvas(); }

void TWindowHost::RepaintField() {
  // The worker waits for this call, so its field may be redrawn whole now.
  form_.ApplyPendingScale();
  form_.ScrollBox1->Refresh(true);
}

void TWindowHost::Sleep(int ms) {
  // On the worker: the main thread paints meanwhile. The pause is cut short
  // by Stop and by a closing window, so that neither waits for an animation.
  const TRunState& state = form_.Session().State();
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!Closing && !state.StoppedByUser.load()) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= end) break;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(end - now, std::chrono::milliseconds(10)));
  }
}

void TWindowHost::ReportError(int line, const std::string& text) {
  if (Closing) return;
  form_.MarkRunError(line, text);
}

void TWindowHost::ReportRunEnd(TRunEnd end) {
  if (Closing) return;
  form_.ReportRunEnd(end);
}
