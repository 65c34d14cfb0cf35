#include "program_words.h"

#include "string_table.h"
#include "vocabulary.h"

namespace {

// Signs colored like keywords. They are symbols, not words, so they have no
// spelling to localise; "!=" is left to the "!" entry and the "=" delimiter.
constexpr const char* kSpecialSigns[] = {">=", "<=", "<>", ">>", "<<", "&", "|", "!"};

void AddBuiltins(std::vector<std::string>& to, TBuiltinStyle style) {
  for (const TBuiltinDef& def : BuiltinTable()) {
    if (def.style != style) continue;
    to.push_back(Str(def.name));
    if (def.russianName != kNoWord) to.push_back(Str(def.russianName));
  }
}

}  // namespace

THighlightLists HighlightLists() {
  THighlightLists lists;
  for (const TKeywordWord& k : KeywordWords()) lists.Keywords.push_back(Str(k.word));
  AddBuiltins(lists.Keywords, bsKeyword);
  for (TStrId id : WordOperatorIds()) lists.Keywords.push_back(Str(id));
  for (const TLogicalWord& w : LogicalWords()) lists.Keywords.push_back(Str(w.word));
  for (const char* sign : kSpecialSigns) lists.Specials.push_back(sign);
  AddBuiltins(lists.Functions, bsFunction);
  AddBuiltins(lists.Commands, bsCommand);
  AddBuiltins(lists.Sensors, bsSensor);
  lists.Brackets.push_back("\"\"");
  return lists;
}
