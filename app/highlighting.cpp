#include "highlighting.h"

#include "string_table.h"
#include "syntax_memo.h"

void SetupProgramEditor(TqxSyntaxMemo& editor) {
  editor.DelimiterStyle = kDelimiterStyle;
  editor.CommentStyle = kCommentStyle;
  editor.NumberStyle = kNumberStyle;
  // The editor copies these into its style list when it paints; the HTML
  // export may read the list before the first paint.
  editor.Styles().Set(editor.DelimiterStyleIndex(), kDelimiterStyle);
  editor.Styles().Set(editor.CommentStyleIndex(), kCommentStyle);
  editor.Styles().Set(editor.NumberStyleIndex(), kNumberStyle);
  editor.SetLineComment("//");
  editor.SetMultiCommentLeft("/*");
  editor.SetMultiCommentRight("*/");
  editor.SetCaseSensitive(true);
  editor.viewport()->update();
}

THighlightStyles SetupHighlighting(TqxSyntaxMemo& editor) {
  THighlightStyles s;
  TStyleList& styles = editor.Styles();
  s.Keyword = styles.Add(kKeywordStyle);
  s.Function = styles.Add(kFunctionStyle);
  s.Command = styles.Add(kCommandStyle);
  s.Sensor = styles.Add(kSensorStyle);
  s.String = styles.Add(kStringStyle);
  const THighlightLists lists = HighlightLists();
  editor.AddWords(s.Keyword, lists.Keywords);
  editor.AddSpecials(s.Keyword, lists.Specials);
  editor.AddWords(s.Function, lists.Functions);
  editor.AddWords(s.Command, lists.Commands);
  editor.AddWords(s.Sensor, lists.Sensors);
  editor.AddBrackets(s.String, lists.Brackets);
  s.ErrorLine = styles.Add(kErrorLineStyle);
  s.ErrorChar = styles.Add(kErrorCharStyle);
  s.CurrentLine = styles.Add(kCurrentLineStyle);
  return s;
}
