#include "program_colours.h"

#include "html_page.h"
#include "program_html.h"
#include "program_words.h"

TProgramColouring ProgramColouring() {
  TProgramColouring c;
  THighlighter& h = c.Highlighter;
  h.DelimiterStyle = c.Styles.Add(kDelimiterStyle);
  h.CommentStyle = c.Styles.Add(kCommentStyle);
  h.NumberStyle = c.Styles.Add(kNumberStyle);
  h.LineComment = "//";
  h.MultiCommentLeft = "/*";
  h.MultiCommentRight = "*/";
  h.SetCaseSensitive(true);
  const THighlightLists lists = HighlightLists();
  const int keyword = c.Styles.Add(kKeywordStyle);
  const int function = c.Styles.Add(kFunctionStyle);
  const int command = c.Styles.Add(kCommandStyle);
  const int sensor = c.Styles.Add(kSensorStyle);
  const int string = c.Styles.Add(kStringStyle);
  h.AddWords(keyword, lists.Keywords);
  h.AddSpecials(keyword, lists.Specials);
  h.AddWords(function, lists.Functions);
  h.AddWords(command, lists.Commands);
  h.AddWords(sensor, lists.Sensors);
  h.AddBrackets(string, lists.Brackets);
  return c;
}

std::vector<std::string> LineStyles(const THighlighter& highlighter, const std::vector<std::string>& lines) {
  std::vector<std::string> styles(lines.size());
  TLineState state;
  for (size_t i = 0; i < lines.size(); ++i) state = highlighter.Scan(lines[i], state, styles[i]);
  return styles;
}

std::string ProgramHtmlPage(std::string_view targetName, const std::vector<std::string>& lines) {
  const TProgramColouring c = ProgramColouring();
  return HtmlPageBytes(HtmlPage(targetName, lines, LineStyles(c.Highlighter, lines), c.Styles));
}
