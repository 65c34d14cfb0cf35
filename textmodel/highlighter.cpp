#include "highlighter.h"

#include <array>

#include "encoding.h"

namespace {

constexpr std::array<bool, 256> MakeDelimiters() {
  std::array<bool, 256> d{};
  for (unsigned char c : std::string_view("\n\r \"%'()*+,-./:;<=>[]^{}")) d[c] = true;
  return d;
}
constexpr std::array<bool, 256> kDelimiters = MakeDelimiters();

bool StartsWith(std::string_view text, size_t at, std::string_view prefix) {
  return !prefix.empty() && text.size() - at >= prefix.size() && text.compare(at, prefix.size(), prefix) == 0;
}

}  // namespace

bool THighlighter::IsDelimiter(unsigned char c) { return kDelimiters[c]; }

void THighlighter::AddWords(int style, const std::vector<std::string>& words) {
  for (const auto& w : words) words_.push_back({w, style});
  indexValid_ = false;
}

void THighlighter::AddSpecials(int style, const std::vector<std::string>& specials) {
  for (const auto& s : specials)
    if (!s.empty()) specials_.push_back({s, style});
}

void THighlighter::AddBrackets(int style, const std::vector<std::string>& pairs) {
  for (const auto& p : pairs)
    if (p.size() >= 2) brackets_.push_back({p.substr(0, 2), style});
}

void THighlighter::ClearLists() {
  words_.clear();
  specials_.clear();
  brackets_.clear();
  indexValid_ = false;
}

void THighlighter::SetCaseSensitive(bool on) {
  if (caseSensitive_ == on) return;
  caseSensitive_ = on;
  indexValid_ = false;
}

void THighlighter::RebuildIndex() const {
  index_.clear();
  for (const auto& w : words_) index_.emplace(caseSensitive_ ? w.Word : LowerCase(w.Word), w.Style);
  indexValid_ = true;
}

int THighlighter::WordStyle(std::string_view word) const {
  if (!indexValid_) RebuildIndex();
  auto it = index_.find(caseSensitive_ ? std::string(word) : LowerCase(word));
  return it == index_.end() ? 0 : it->second;
}

// The scanner works with 0-based positions; each step below takes one token
// from p and paints it, in the order that decides which reading wins.
TLineState THighlighter::Scan(std::string_view line, TLineState state, std::string& styles) const {
  const size_t n = line.size();
  styles.assign(n, '\0');
  const bool multi = !MultiCommentLeft.empty() && !MultiCommentRight.empty();
  if (state.Bracket >= int(brackets_.size())) state.Bracket = -1;
  size_t p = 0;
  while (p < n) {
    size_t end;
    int style;
    const unsigned char c = static_cast<unsigned char>(line[p]);
    if (multi && StartsWith(line, p, MultiCommentLeft)) {
      end = p + MultiCommentLeft.size();
      style = CommentStyle;
      state.InComment = true;
    } else if (state.InComment) {
      size_t close = line.find(MultiCommentRight, p);
      if (close == std::string_view::npos) {
        end = n;
      } else {
        end = close + MultiCommentRight.size();
        state.InComment = false;
      }
      style = CommentStyle;
    } else if (state.Bracket >= 0) {
      // The opening character lies on an earlier line (or before a comment),
      // so the closing one may be the very first character here.
      const auto& pair = brackets_[state.Bracket];
      size_t close = line.find(pair.Word[1], p);
      if (close == std::string_view::npos) {
        end = n;
      } else {
        end = close + 1;
        state.Bracket = -1;
      }
      style = pair.Style;
    } else if (c == ' ') {
      end = p;
      while (end < n && line[end] == ' ') ++end;
      style = 0;
    } else if (StartsWith(line, p, LineComment)) {
      end = n;
      style = CommentStyle;
    } else {
      end = 0;
      style = 0;
      for (const auto& s : specials_) {
        if (StartsWith(line, p, s.Word)) {
          end = p + s.Word.size();
          style = s.Style;
          break;
        }
      }
      if (end == 0) {
        for (size_t b = 0; b < brackets_.size(); ++b) {
          if (line[p] != brackets_[b].Word[0]) continue;
          size_t close = line.find(brackets_[b].Word[1], p + 1);
          if (close == std::string_view::npos) {
            end = n;
            state.Bracket = int(b);
          } else {
            end = close + 1;
          }
          style = brackets_[b].Style;
          break;
        }
      }
      if (end == 0) {
        if (kDelimiters[c]) {
          end = p + 1;
          style = DelimiterStyle;
        } else if (IsDigitCp1251(c)) {
          // Digits and points run on; a second point makes a malformed
          // number, which the compiler reports, but it stays a number here.
          end = p + 1;
          while (end < n && (IsDigitCp1251(static_cast<unsigned char>(line[end])) || line[end] == '.')) ++end;
          style = NumberStyle;
        } else {
          end = p + 1;
          while (end < n && !kDelimiters[static_cast<unsigned char>(line[end])]) ++end;
          style = WordStyle(line.substr(p, end - p));
        }
      }
    }
    for (size_t i = p; i < end; ++i) styles[i] = static_cast<char>(style);
    p = end;
  }
  return state;
}
