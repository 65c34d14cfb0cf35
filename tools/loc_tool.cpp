// tarmisy-loc: makes a localisation file from a plain translation text and
// back, so that a teacher can translate the interface into a language of
// their own. See resources/localisation.h for both formats.
//
//   tarmisy-loc scramble TEXT FILE.loc     checks the text, then scrambles it
//   tarmisy-loc unscramble FILE.loc TEXT   gives the text back
//
// Exit status: 0 done; 1 the text has entries the program would leave out
// (each is reported, nothing is written by scramble); 64 bad command line
// or a file that cannot be read or written.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "encoding.h"
#include "localisation.h"
#include "string_table.h"

namespace {

constexpr int kUsage = 64;

void Say(const std::string& cp1251) { std::cerr << "tarmisy-loc: " << Cp1251ToUtf8(cp1251) << "\n"; }

bool Read(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  bytes = s.str();
  return !in.bad();
}

bool Write(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  return static_cast<bool>(out);
}

// Reports what a program would leave out of text; true when nothing.
bool Check(const std::string& name, const std::string& text) {
  std::vector<TLocIssue> issues;
  ParseLocalisation(text, &issues);
  const std::string shown = Utf8ToCp1251(name);
  for (const TLocIssue& i : issues) {
    switch (i.Kind) {
      case TLocIssue::Syntax: Say(FormatStr(sLocBadLine, {shown, i.Line})); break;
      case TLocIssue::UnknownId: Say(FormatStr(sLocUnknownId, {shown, i.Line, i.Id})); break;
      case TLocIssue::Placeholders: Say(FormatStr(sLocPlaceholders, {shown, i.Line})); break;
    }
  }
  return issues.empty();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() != 3 || (args[0] != "scramble" && args[0] != "unscramble")) {
    std::cerr << Cp1251ToUtf8(Str(sLocUsage)) << "\n";
    return kUsage;
  }
  std::string bytes;
  if (!Read(args[1], bytes)) {
    Say(FormatStr(sLocCannotRead, {Utf8ToCp1251(args[1])}));
    return kUsage;
  }
  const bool scramble = args[0] == "scramble";
  const std::string text = scramble ? bytes : ScrambleLocalisation(bytes);
  const bool clean = Check(args[1], text);
  if (scramble && !clean) return 1;
  if (!Write(args[2], ScrambleLocalisation(bytes))) {
    Say(FormatStr(sLocCannotWrite, {Utf8ToCp1251(args[2])}));
    return kUsage;
  }
  return clean ? 0 : 1;
}
