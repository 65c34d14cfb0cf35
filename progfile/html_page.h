// The program as an HTML page that reproduces the editor's colouring, and
// the way back: the page's text without its tags.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "style_list.h"

// "#RRGGBB", upper-case hexadecimal.
std::string HtmlColor(TColor c);

// The page's lines (Windows-1251, without line ends). lines are the
// program's lines; styles holds one style byte per character of each line
// (a missing line or byte is style 0), indexes into list. targetName is the
// file the page is written to: its title names the program as NAME.prg.
std::vector<std::string> HtmlPage(std::string_view targetName, const std::vector<std::string>& lines,
                                  const std::vector<std::string>& styles, const TStyleList& list);

// The page as file bytes: its lines joined with CR LF.
std::string HtmlPageBytes(const std::vector<std::string>& pageLines);

// The program lines of a page: the text outside tags after the first
// "<body" (any case), with &nbsp; &lt; &gt; and &amp; decoded and the lines
// that are empty or blank left out. Any bytes are accepted; time and memory
// grow linearly with the input, however deeply its tags nest.
std::vector<std::string> ImportHtml(const std::vector<std::string>& pageLines);
