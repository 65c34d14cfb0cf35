// The program editor: the text control with the highlighting scanner
// installed, the delimiter, comment and number styles, the word, special and
// bracket lists and the comment delimiters.
#pragma once

#include <string>
#include <vector>

#include "custom_memo.h"
#include "highlighter.h"

class TqxSyntaxMemo : public TqxCustomMemo {
  Q_OBJECT

 public:
  explicit TqxSyntaxMemo(QWidget* parent = nullptr);

  // Copied into their entries of the style list at the start of every
  // paint, so a change shows on the next repaint.
  TCharStyle DelimiterStyle{clBlue, clWhite, 0};
  TCharStyle CommentStyle{clSilver, clWhite, fsItalic};
  TCharStyle NumberStyle{clNavy, clWhite, fsBold};
  int DelimiterStyleIndex() const { return hl_.DelimiterStyle; }
  int CommentStyleIndex() const { return hl_.CommentStyle; }
  int NumberStyleIndex() const { return hl_.NumberStyle; }

  const THighlighter& Highlighter() const { return hl_; }
  void AddWords(int style, const std::vector<std::string>& words);
  void AddSpecials(int style, const std::vector<std::string>& specials);
  // Each entry: the opening and the closing character.
  void AddBrackets(int style, const std::vector<std::string>& pairs);
  void ClearLists();

  bool CaseSensitive() const { return hl_.CaseSensitive(); }
  void SetCaseSensitive(bool on);
  const std::string& LineComment() const { return hl_.LineComment; }
  void SetLineComment(std::string text);
  const std::string& MultiCommentLeft() const { return hl_.MultiCommentLeft; }
  void SetMultiCommentLeft(std::string text);
  const std::string& MultiCommentRight() const { return hl_.MultiCommentRight; }
  void SetMultiCommentRight(std::string text);

 protected:
  void BeforePaint() override;

 private:
  void Rescan();

  THighlighter hl_;
};
