// The undo list of the text control: records newest first, a count of
// records already undone, merging of consecutive typing, a size limit.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "text_pos.h"

class TMemoBuffer;

// One change. Start is where the caret stood before the change and End
// where it stood after; undo runs with the caret at End and leaves it at
// Start, redo the other way round.
class TUndo {
 public:
  TUndo(TTextPos start, TTextPos end) : Start(start), End(end) {}
  virtual ~TUndo() = default;
  virtual void Undo(TMemoBuffer& buf) = 0;
  virtual void Redo(TMemoBuffer& buf) = 0;
  // Takes a following record into this one; true when it did.
  virtual bool Absorb(const TUndo&) { return false; }

  TTextPos Start, End;
};

// Text that was inserted between From and To (typed, pasted, a template).
class TInsertTextUndo : public TUndo {
 public:
  TInsertTextUndo(TTextPos start, TTextPos end, TTextPos from, TTextPos to, std::string text)
      : TUndo(start, end), From(from), To(to), Text(std::move(text)) {}
  void Undo(TMemoBuffer& buf) override;
  void Redo(TMemoBuffer& buf) override;

  TTextPos From, To;
  std::string Text;  // line breaks as "\r"
};

// Typed characters; a record absorbs the typing that goes on where it ended.
class TInsertCharUndo : public TInsertTextUndo {
 public:
  using TInsertTextUndo::TInsertTextUndo;
  bool Absorb(const TUndo& next) override;
};

class TPasteUndo : public TInsertTextUndo {
 public:
  using TInsertTextUndo::TInsertTextUndo;
};

// Text that was removed from between From and To.
class TDeleteTextUndo : public TUndo {
 public:
  TDeleteTextUndo(TTextPos start, TTextPos end, TTextPos from, TTextPos to, std::string text)
      : TUndo(start, end), From(from), To(to), Text(std::move(text)) {}
  void Undo(TMemoBuffer& buf) override;
  void Redo(TMemoBuffer& buf) override;

  TTextPos From, To;
  std::string Text;
};

// One character (or one line break) removed by Delete or Backspace.
class TDeleteCharUndo : public TDeleteTextUndo {
 public:
  using TDeleteTextUndo::TDeleteTextUndo;
};

// A whole line removed.
class TDeleteLineUndo : public TDeleteTextUndo {
 public:
  using TDeleteTextUndo::TDeleteTextUndo;
};

// A selection removed; undo restores the selection as well.
class TDeleteBufUndo : public TDeleteTextUndo {
 public:
  TDeleteBufUndo(TTextPos start, TTextPos end, TTextPos from, TTextPos to, std::string text, TTextPos anchor,
                 TTextPos caret)
      : TDeleteTextUndo(start, end, from, to, std::move(text)), SelAnchor(anchor), SelCaret(caret) {}
  void Undo(TMemoBuffer& buf) override;

  TTextPos SelAnchor, SelCaret;
};

// Lines rewritten in place (block indent): the text between From and OldTo
// became the text between From and NewTo.
class TReplaceUndo : public TUndo {
 public:
  TReplaceUndo(TTextPos start, TTextPos end, TTextPos from, TTextPos oldTo, TTextPos newTo, std::string oldText,
               std::string newText)
      : TUndo(start, end), From(from), OldTo(oldTo), NewTo(newTo), OldText(std::move(oldText)),
        NewText(std::move(newText)) {}
  void Undo(TMemoBuffer& buf) override;
  void Redo(TMemoBuffer& buf) override;

  TTextPos From, OldTo, NewTo;
  std::string OldText, NewText;
};

class TqxUndoList {
 public:
  // Takes a record: dropped while an undo or redo runs or when the newest
  // record absorbs it; otherwise the undone records go, the record comes
  // first and the oldest one goes when the list outgrows the limit.
  void Add(std::unique_ptr<TUndo> record);
  // Undoes the newest record not yet undone; false when there is none.
  bool Undo(TMemoBuffer& buf);
  // Redoes the record undone last; false when there is none.
  bool Redo(TMemoBuffer& buf);
  bool CanUndo() const { return undone_ < int(records_.size()); }
  bool CanRedo() const { return undone_ > 0; }
  void Clear();

  int Count() const { return int(records_.size()); }
  int UndoneCount() const { return undone_; }
  // Records newest first.
  const TUndo& Record(int i) const { return *records_.at(i); }
  int Limit() const { return limit_; }
  void SetLimit(int limit);
  bool Applying() const { return applying_; }

  // Raised after every change of the list.
  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  std::deque<std::unique_ptr<TUndo>> records_;
  int undone_ = 0;
  int limit_ = 100;
  bool applying_ = false;
};
