#include "search_replace.h"

#include "encoding.h"

namespace {

TTextPos TextEnd(const TMemoBuffer& buf) {
  const int last = buf.LineCount() - 1;
  return {static_cast<int>(buf.Line(last).size()), last};
}

// A position after a replacement of [from, to) whose text now ends at end.
TTextPos Shifted(TTextPos p, TTextPos from, TTextPos to, TTextPos end) {
  if (p < to) return p < from ? p : from;
  if (p.Line == to.Line) return {end.Col + (p.Col - to.Col), end.Line};
  return {p.Col, p.Line + (end.Line - to.Line)};
}

class TReplacer {
 public:
  TReplacer(TMemoBuffer& buf, const TReplaceRequest& r) : buf_(buf), r_(r), down_(r.Options.Down) {}

  // Replaces the selected occurrence; returns where its replacement ends.
  TTextPos ReplaceSelection() {
    const TTextPos from = buf_.SelStart(), to = buf_.SelEnd();
    buf_.InsertTemplate(r_.Replacement);
    const TTextPos end = buf_.Caret();
    // Searching up goes on before the inserted text, never into it.
    if (!down_) buf_.SetCaret(from.Col, from.Line);
    ++count_;
    stop_ = Shifted(stop_, from, to, end);
    return end;
  }

  TReplaceResult All(const TAskWrap& askWrap) {
    // The first pass runs from the selection to one end of the text; the
    // second from the other end back to where the first began.
    const TTextPos start = down_ ? buf_.SelStart() : buf_.SelEnd();
    const bool wholeText = down_ ? start == TTextPos{} : start == TextEnd(buf_);
    stop_ = start;
    ReplaceSelection();
    for (int pass = 1; pass <= 2;) {
      const TTextPos before = buf_.Caret();
      if (buf_.Find(r_.Text, r_.Options, true)) {
        if (pass == 2 && !BeforeStop()) {
          buf_.SetCaret(before.Col, before.Line);
          break;
        }
        ReplaceSelection();
        continue;
      }
      if (wholeText || pass == 2) break;
      if (!askWrap || !askWrap(down_)) break;
      const TTextPos other = down_ ? TTextPos{} : TextEnd(buf_);
      buf_.SetCaret(other.Col, other.Line);
      ++pass;
    }
    return {count_, true};
  }

  int Count() const { return count_; }

 private:
  // In the second pass only what the first one did not reach is replaced.
  bool BeforeStop() const { return down_ ? buf_.SelEnd() <= stop_ : buf_.SelStart() >= stop_; }

  TMemoBuffer& buf_;
  const TReplaceRequest& r_;
  const bool down_;
  int count_ = 0;
  TTextPos stop_;
};

}  // namespace

bool FindNext(TMemoBuffer& buf, std::string_view text, TFindOptions options) {
  return buf.Find(text, options, true);
}

TReplaceResult ReplaceText(TMemoBuffer& buf, const TReplaceRequest& request, const TAskWrap& askWrap) {
  const std::string selected = buf.SelectedText();
  const bool matches = request.Options.MatchCase ? selected == request.Text
                                                 : LowerCase(selected) == LowerCase(request.Text);
  if (request.Text.empty() || !buf.HasSelection() || !matches || buf.ReadOnly) {
    FindNext(buf, request.Text, request.Options);
    return {};
  }
  TReplacer replacer(buf, request);
  if (request.All) return replacer.All(askWrap);
  replacer.ReplaceSelection();
  FindNext(buf, request.Text, request.Options);
  return {replacer.Count(), false};
}
