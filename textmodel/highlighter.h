// The highlighting scanner: a pure function of (line, state at its start) to
// (one style byte per character, state at its end). It knows nothing of the
// language; the words, signs and string brackets it colors are handed to it
// as lists with a style index each.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// What a line inherits from the lines above it.
struct TLineState {
  bool InComment = false;  // inside a multi-line comment
  int Bracket = -1;        // index into the bracket list of a pair still open
  bool operator==(const TLineState&) const = default;
};

// One entry of a word, special or bracket list.
struct TStyledWord {
  std::string Word;  // Windows-1251; a bracket entry is "<open><close>"
  int Style = 0;
};

class THighlighter {
 public:
  // Appends entries; earlier entries win when a text is listed twice.
  void AddWords(int style, const std::vector<std::string>& words);
  void AddSpecials(int style, const std::vector<std::string>& specials);
  // Each entry is two characters: the opening and the closing one.
  void AddBrackets(int style, const std::vector<std::string>& pairs);
  void ClearLists();

  const std::vector<TStyledWord>& WordList() const { return words_; }
  const std::vector<TStyledWord>& SpecialList() const { return specials_; }
  const std::vector<TStyledWord>& BracketList() const { return brackets_; }

  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool on);

  std::string LineComment;
  std::string MultiCommentLeft;
  std::string MultiCommentRight;
  int DelimiterStyle = 0;
  int CommentStyle = 0;
  int NumberStyle = 0;

  // Scans one line: styles gets one style byte per character of line and
  // the state at the end of the line is returned.
  TLineState Scan(std::string_view line, TLineState start, std::string& styles) const;

  // True for the fixed delimiter characters (line breaks, blank and the
  // punctuation of the language, but not ! & | # _).
  static bool IsDelimiter(unsigned char c);

 private:
  int WordStyle(std::string_view word) const;
  void RebuildIndex() const;

  std::vector<TStyledWord> words_, specials_, brackets_;
  bool caseSensitive_ = false;
  // First style of each listed word (lower-cased keys when not case
  // sensitive); rebuilt lazily after a list or the case rule changed.
  mutable std::unordered_map<std::string, int> index_;
  mutable bool indexValid_ = false;
};
