#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "encoding.h"
#include "html_page.h"
#include "program_colours.h"
#include "program_text.h"

namespace {

using Lines = std::vector<std::string>;

std::string U(std::string_view utf8) { return Utf8ToCp1251(utf8); }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(ProgramText, LineEnds) {
  const struct {
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"", {""}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"\r\n", {""}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadProgramText(c.bytes).Lines, c.lines) << c.bytes;
}

TEST(ProgramText, EncodingsAndLostCharacters) {
  // A Windows-1251 file stays as it is, even where its bytes happen to be
  // valid UTF-8 as a whole only by accident (here they are not).
  const TProgramText cp = ReadProgramText(U("главная {\r\n}\r\n"));
  EXPECT_FALSE(cp.FromUtf8);
  EXPECT_EQ(cp.Lines, (Lines{U("главная {"), "}"}));

  const TProgramText utf = ReadProgramText("\xEF\xBB\xBF// ≤ ok\nглавная {\n// 😀 и ✓\n}");
  EXPECT_TRUE(utf.FromUtf8);
  EXPECT_EQ(utf.Lines, (Lines{"// ? ok", U("главная {"), U("// ? и ?"), "}"}));
  EXPECT_EQ(utf.LossyLines, (std::vector<int>{1, 3}));
  EXPECT_EQ(LineList(utf.LossyLines), "1, 3");

  EXPECT_TRUE(ReadProgramText("\xEF\xBB\xBFplain").FromUtf8);
  EXPECT_TRUE(ReadProgramText("plain").LossyLines.empty());
}

TEST(ProgramText, FileBytesEndEveryLineWithCrLf) {
  EXPECT_EQ(ProgramFileBytes({U("я"), "", "b"}), U("я") + "\r\n\r\nb\r\n");
  const Lines lines{"a", "", "  b"};
  EXPECT_EQ(ReadProgramText(ProgramFileBytes(lines)).Lines, lines);
}

TEST(ProgramText, HtmlIsJudgedByTheFilesOwnExtension) {
  const struct {
    const char* path;
    bool html;
  } cases[] = {
      {"/home/u/lab.html", true},      {"lab.HTM", true},          {"/home/x.html/lab.prg", false},
      {"C:\\x.htm\\lab.prg", false},   {"lab.html.prg", false},    {"lab", false},
      {"/home/x.html/lab", false},     {"lab.htmlx", false},       {".html", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsHtmlName(c.path), c.html) << c.path;
}

TEST(HtmlPage, ColouredProgramMatchesTheGoldenPage) {
  const std::string dir = TARMISY_FILES_TEST_DIR "/golden/";
  const Lines lines = ReadProgramText(ReadBytes(dir + "coloured.prg")).Lines;
  const TProgramColouring c = ProgramColouring();
  const std::string page = HtmlPageBytes(HtmlPage("/tmp/out/coloured.html", lines, LineStyles(c.Highlighter, lines), c.Styles));
  // Regenerate with golden/update.sh after a deliberate change.
  EXPECT_EQ(page, ReadBytes(dir + "coloured.html"));
}

TEST(HtmlPage, RunsOpenAndCloseInTheirOrder) {
  TStyleList list;
  const int keyword = list.Add(clBlue, clWhite, 0);
  const int both = list.Add(clNavy, clWhite, fsBold | fsItalic);
  const Lines page = HtmlPage("a.htm", {"if a<b", ""}, {std::string{char(keyword), char(keyword), 0, char(both), char(both), char(both)}}, list);
  ASSERT_EQ(page.size(), 9u);
  EXPECT_EQ(page[2], U("<title>Программа a.prg</title>"));
  EXPECT_EQ(page[4], "<body background=#FFFFFF text=#000000 style=\"font-family: Courier\">");
  EXPECT_EQ(page[5], "<font color=#0000FF>if</font>&nbsp;<font color=#000080><b><i>a&lt;b</font></i></b><br>");
  EXPECT_EQ(page[6], "<br>");
}

TEST(HtmlImport, ExportThenImportGivesTheProgramWithoutBlankLines) {
  const Lines lines{U("главная {"), "", "  x = a < b & c > d;   ", "   ", U("  s = \"&lt; &amp; &nbsp;\";"), "}"};
  const TProgramColouring c = ProgramColouring();
  const Lines page = HtmlPage("p.html", lines, LineStyles(c.Highlighter, lines), c.Styles);
  EXPECT_EQ(ImportHtml(page), (Lines{lines[0], lines[2], lines[4], lines[5]}));
  // Through the file bytes as the window writes and reads them.
  EXPECT_EQ(ImportHtml(ReadProgramText(HtmlPageBytes(page)).Lines), (Lines{lines[0], lines[2], lines[4], lines[5]}));
}

TEST(HtmlImport, TagDepthAndBodyRules) {
  const struct {
    Lines page;
    Lines program;
  } cases[] = {
      // Nothing before "<body" counts, in any case; the flag is never reset.
      {{"text <p>x</p>", "<BODY>a", "</body>b"}, {"a", "b"}},
      // A tag spanning lines hides what it holds.
      {{"<body><font", "color=red>a</font>"}, {"a"}},
      // Entities other than the four stay as written.
      {{"<body>&quot;&nbsp;&lt;&gt;&amp;lt;"}, {"&quot; <>&lt;"}},
      // An unclosed tag hides the rest of the page.
      {{"<body>a<b", "c", "d"}, {"a"}},
      // A stray '>' makes the depth negative until a '<' balances it.
      {{"<body>a>b<c"}, {"ac"}},
      {{"no body at all"}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ImportHtml(c.page), c.program) << c.page[0];
}

TEST(HtmlImport, DeepNestingAndBinaryDataAreReadInLinearTime) {
  // 10 MB of opening tags on one line and a line of binary bytes; a
  // quadratic scan would take hours here.
  std::string deep = "<body>";
  deep.reserve(10 << 20);
  while (deep.size() < (10u << 20)) deep += "<b>";
  std::string binary(4096, '\0');
  for (size_t i = 0; i < binary.size(); ++i) binary[i] = char(i * 131 % 256);
  std::string unbalanced(1 << 20, '<');
  const Lines read = ImportHtml({deep, "x", binary});
  ASSERT_FALSE(read.empty());
  EXPECT_EQ(read[0], "x");
  EXPECT_TRUE(ImportHtml({"<body>", unbalanced, "x"}).empty());
}

}  // namespace
