// Find next, replace and replace all over a text buffer: what the find and
// replace dialogs ask of the program editor, without the dialogs.
//
// Replace all goes from the selected occurrence to the end of the text (to
// its start when searching up), then, if the caller agrees, wraps around
// once and stops where it began, so a replacement that contains the search
// text ("cout" -> "coutln") is never replaced again.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "memo_buffer.h"

// Searches from the caret with options and selects the match (the caret
// after it searching down, before it searching up). False changes nothing
// but collapse the selection.
bool FindNext(TMemoBuffer& buf, std::string_view text, TFindOptions options);

struct TReplaceRequest {
  std::string Text;         // what to look for, Windows-1251
  std::string Replacement;  // what to put there
  TFindOptions Options;
  bool All = false;  // replace all, else one occurrence
};

struct TReplaceResult {
  int Count = 0;       // replacements made
  bool Ended = false;  // a replace-all loop ran to its end: report the count
};

// The wrap-around question: true goes on from the other end of the text.
// down tells which end was reached.
using TAskWrap = std::function<bool(bool down)>;

// One press of Replace or Replace all. When the selection is not the search
// text (compared without case unless MatchCase), or the text is read-only,
// it only finds and selects the next occurrence. Otherwise the selection is
// replaced through template insertion (so Undo takes it back); Replace then
// selects the next occurrence, Replace all goes on as described above and
// asks askWrap at most once, and not at all when the first pass began at
// the very end it runs away from.
TReplaceResult ReplaceText(TMemoBuffer& buf, const TReplaceRequest& request, const TAskWrap& askWrap);
