#include "templates.h"

#include <gtest/gtest.h>

#include "encoding.h"
#include "memo_buffer.h"

namespace {

// The item of a group whose caption starts with prefix (UTF-8).
TTemplateItem Find(TTemplateGroup group, bool russian, const std::string& prefix) {
  for (const TTemplateItem& item : TemplateGroup(group, russian).Items)
    if (Cp1251ToUtf8(item.Caption).starts_with(prefix)) return item;
  ADD_FAILURE() << prefix;
  return {};
}

// Chooses the item in buf as the menu does; returns the text with "|" at
// the caret.
std::string Choose(TMemoBuffer& buf, const TTemplateItem& item) {
  buf.InsertTemplate(TemplateInsertion(item.Handler, item.Caption, buf.HasSelection(), buf.SelectedText()));
  std::string text = buf.Text();
  size_t at = 0;
  for (int l = 0; l < buf.Caret().Line; ++l) at = text.find("\r\n", at) + 2;
  text.insert(at + buf.Caret().Col, "|");
  return Cp1251ToUtf8(text);
}

struct TChoice {
  TTemplateGroup group;
  bool russian;
  const char* caption;  // prefix
  const char* before;   // text, with [ ] around the selection or | at the caret
  const char* after;    // text, with | at the caret
};

void Prepare(TMemoBuffer& buf, std::string text) {
  const size_t open = text.find('['), caret = text.find('|');
  if (open != std::string::npos) {
    const size_t close = text.find(']');
    text.erase(close, 1);
    text.erase(open, 1);
    buf.SetText(Utf8ToCp1251(text));
    const int from = int(Utf8ToCp1251(text.substr(0, open)).size());
    const int to = int(Utf8ToCp1251(text.substr(0, close - 1)).size());
    buf.SetSelection({from, 0}, {to, 0});
  } else {
    text.erase(caret, 1);
    buf.SetText(Utf8ToCp1251(text));
    buf.SetCaret(int(Utf8ToCp1251(text.substr(0, caret)).size()), 0);
  }
}

TEST(Templates, InsertTextsAndCaret) {
  const TChoice kChoices[] = {
      // The block's braces two blanks deeper than the line, the empty line
      // between them at the line's own depth.
      {tgStatements, true, "пока ( ) {}", "    |", "    пока ( | )\r\n      {\r\n    \r\n      }"},
      {tgStatements, false, "if ( ) { } else", "|", "if ( | )\r\n  {\r\n\r\n  }\r\nelse\r\n  {\r\n\r\n  }"},
      {tgStatements, true, "цикл", "|", "цикл ( |; ;  )\r\n  {\r\n\r\n  }"},
      {tgStatements, false, "break;", "|", "break;|"},
      {tgStatements, true, "повтори", "  |", "  повтори ( | )\r\n    {\r\n  \r\n    }"},
      {tgStatements, false, "if { }", "|", "if ( | )\r\n  {\r\n\r\n  }"},
      {tgGraphics, true, "КурсорК", "|", "КурсорК ( |,  );"},
      {tgGraphics, false, "Rectangle", "|", "Rectangle ( |, , ,  );"},
      // A command put in place of a selected expression gets no ";".
      {tgGraphics, true, "ЦветТекста ( C );", "x = [a+b];", "x = ЦветТекста ( | );"},
      {tgGraphics, true, "ЦветТекста ( C );", "|", "ЦветТекста ( | );"},
      {tgGraphics, false, "Arc", "|", "Arc ( |, , , , , );"},
      {tgGraphics, true, "ЗаливкаДо", "|", "ЗаливкаДо ( |, ,  );"},
      {tgGraphics, true, "RGB", "[x;]", "RGB ( |, ,  ) "},
      {tgFunctions, true, "sin ( x ) - синус", "[a+b];", "sin ( | ) ;"},
      {tgStrings, true, "позиция", "|", "позиция ( |,  )"},
      {tgStrings, false, "length", "|", "length ( | ) "},
      {tgTurtle, true, "окружность", "|", "окружность ( | ) "},
      {tgDrawer, true, "окружность", "|", "окружность ( | );"},
      {tgDrawer, true, "домой;", "[a]", "домой|"},
      {tgGrondo, true, "впереди_стена", "|", "впереди_стена|"},
      {tgTypes, false, "logical", "|", "logical|"},
  };
  for (const TChoice& c : kChoices) {
    TMemoBuffer buf;
    Prepare(buf, c.before);
    EXPECT_EQ(Choose(buf, Find(c.group, c.russian, c.caption)), c.after) << c.caption << " in " << c.before;
  }
}

TEST(Templates, TheFourArgumentFunctionHandlerWithoutAnItem) {
  EXPECT_EQ(TemplateText(thFunc4, "f ( a, b, c, d )"), "f ( \a, , ,  ) ");
  EXPECT_FALSE(SemicolonRuleApplies(thFunc4));
}

TEST(Templates, BothLanguagesHaveTheSameItemsInTheSameOrder) {
  for (int g = 0; g < kTemplateGroupCount; ++g) {
    const auto ru = TemplateGroup(TTemplateGroup(g), true), en = TemplateGroup(TTemplateGroup(g), false);
    ASSERT_EQ(ru.Items.size(), en.Items.size()) << g;
    EXPECT_FALSE(ru.Items.empty());
    for (size_t i = 0; i < ru.Items.size(); ++i) EXPECT_EQ(ru.Items[i].Handler, en.Items[i].Handler);
  }
  EXPECT_EQ(Cp1251ToUtf8(TemplateGroup(tgStatements, false).Items[4].Caption), "if ( ) { } else { }");
  EXPECT_EQ(Cp1251ToUtf8(TemplateGroup(tgStrings, false).Title), "Strings");
  EXPECT_EQ(Cp1251ToUtf8(TemplateGroup(tgFunctions, false).Title), "Функции");
  EXPECT_EQ(Cp1251ToUtf8(TemplateGroup(tgFunctions, true).Items[3].Caption), "random ( i ) - случайное число (0..i-1)");
  EXPECT_FALSE(TemplateGroup(tgFunctions, true).Items[5].Visible);  // RGB lives in "Графика"
  EXPECT_EQ(TemplateGroup(tgGrondo, true).Items.size(), 21u);
}

TEST(Templates, SwitchCaptionAndVisibilityByExecutor) {
  EXPECT_EQ(Cp1251ToUtf8(LanguageSwitchCaption(true)), "Английские команды");
  EXPECT_EQ(Cp1251ToUtf8(LanguageSwitchCaption(false)), "Русские команды");
  EXPECT_FALSE(InterfaceIsEnglish());
  const bool kVisible[][3] = {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  for (int g = 0; g < kTemplateGroupCount; ++g)
    for (int kind = 0; kind < 3; ++kind)
      EXPECT_EQ(TemplateGroupVisible(TTemplateGroup(g), kind), kVisible[g][kind]) << g << " " << kind;
}

}  // namespace
