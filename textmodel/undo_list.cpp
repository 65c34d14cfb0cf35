#include "undo_list.h"

#include "memo_buffer.h"

void TInsertTextUndo::Undo(TMemoBuffer& buf) { buf.RemoveRaw(From, To); }

void TInsertTextUndo::Redo(TMemoBuffer& buf) { buf.InsertRaw(From, Text); }

bool TInsertCharUndo::Absorb(const TUndo& next) {
  auto* typed = dynamic_cast<const TInsertCharUndo*>(&next);
  if (!typed || typed->From != To) return false;
  Text += typed->Text;
  To = typed->To;
  End = typed->End;
  return true;
}

void TDeleteTextUndo::Undo(TMemoBuffer& buf) { buf.InsertRaw(From, Text); }

void TDeleteTextUndo::Redo(TMemoBuffer& buf) { buf.RemoveRaw(From, To); }

void TDeleteBufUndo::Undo(TMemoBuffer& buf) {
  TDeleteTextUndo::Undo(buf);
  buf.SetSelection(SelAnchor, SelCaret);
}

void TReplaceUndo::Undo(TMemoBuffer& buf) {
  buf.RemoveRaw(From, NewTo);
  buf.InsertRaw(From, OldText);
}

void TReplaceUndo::Redo(TMemoBuffer& buf) {
  buf.RemoveRaw(From, OldTo);
  buf.InsertRaw(From, NewText);
}

void TqxUndoList::Add(std::unique_ptr<TUndo> record) {
  if (applying_ || !record) return;
  // An undone record must not swallow new typing: redo would then bring the
  // undone text back together with it.
  if (undone_ == 0 && !records_.empty() && records_.front()->Absorb(*record)) {
    Changed();
    return;
  }
  records_.erase(records_.begin(), records_.begin() + undone_);
  undone_ = 0;
  records_.push_front(std::move(record));
  while (int(records_.size()) > limit_ && !records_.empty()) records_.pop_back();
  Changed();
}

bool TqxUndoList::Undo(TMemoBuffer& buf) {
  if (!CanUndo()) return false;
  TUndo& r = *records_[undone_];
  bool autoIndent = buf.AutoIndent;
  buf.AutoIndent = false;
  applying_ = true;
  buf.SetCaret(r.End.Col, r.End.Line);
  r.Undo(buf);
  buf.MoveCaret(r.Start, buf.HasSelection());
  applying_ = false;
  buf.AutoIndent = autoIndent;
  ++undone_;
  Changed();
  return true;
}

bool TqxUndoList::Redo(TMemoBuffer& buf) {
  if (!CanRedo()) return false;
  --undone_;
  TUndo& r = *records_[undone_];
  bool autoIndent = buf.AutoIndent;
  buf.AutoIndent = false;
  applying_ = true;
  buf.SetCaret(r.Start.Col, r.Start.Line);
  r.Redo(buf);
  buf.SetCaret(r.End.Col, r.End.Line);
  applying_ = false;
  buf.AutoIndent = autoIndent;
  Changed();
  return true;
}

void TqxUndoList::Clear() {
  records_.clear();
  undone_ = 0;
  Changed();
}

void TqxUndoList::SetLimit(int limit) {
  limit_ = std::max(limit, 0);
  while (int(records_.size()) > limit_) records_.pop_back();
  if (undone_ > int(records_.size())) undone_ = int(records_.size());
  Changed();
}
