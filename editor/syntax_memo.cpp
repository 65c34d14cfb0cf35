#include "syntax_memo.h"

TqxSyntaxMemo::TqxSyntaxMemo(QWidget* parent) : TqxCustomMemo(parent) {
  hl_.DelimiterStyle = Styles().Add(DelimiterStyle);
  hl_.CommentStyle = Styles().Add(CommentStyle);
  hl_.NumberStyle = Styles().Add(NumberStyle);
  Buffer().SetHighlighter([this](std::string_view line, TLineState start, std::string& styles) {
    return hl_.Scan(line, start, styles);
  });
}

void TqxSyntaxMemo::Rescan() {
  Lines().InvalidateAll();
  viewport()->update();
}

void TqxSyntaxMemo::AddWords(int style, const std::vector<std::string>& words) {
  hl_.AddWords(style, words);
  Rescan();
}

void TqxSyntaxMemo::AddSpecials(int style, const std::vector<std::string>& specials) {
  hl_.AddSpecials(style, specials);
  Rescan();
}

void TqxSyntaxMemo::AddBrackets(int style, const std::vector<std::string>& pairs) {
  hl_.AddBrackets(style, pairs);
  Rescan();
}

void TqxSyntaxMemo::ClearLists() {
  hl_.ClearLists();
  Rescan();
}

void TqxSyntaxMemo::SetCaseSensitive(bool on) {
  if (on == hl_.CaseSensitive()) return;
  hl_.SetCaseSensitive(on);
  Rescan();
}

void TqxSyntaxMemo::SetLineComment(std::string text) {
  hl_.LineComment = std::move(text);
  Rescan();
}

void TqxSyntaxMemo::SetMultiCommentLeft(std::string text) {
  hl_.MultiCommentLeft = std::move(text);
  Rescan();
}

void TqxSyntaxMemo::SetMultiCommentRight(std::string text) {
  hl_.MultiCommentRight = std::move(text);
  Rescan();
}

void TqxSyntaxMemo::BeforePaint() {
  Styles().Set(hl_.DelimiterStyle, DelimiterStyle);
  Styles().Set(hl_.CommentStyle, CommentStyle);
  Styles().Set(hl_.NumberStyle, NumberStyle);
}
