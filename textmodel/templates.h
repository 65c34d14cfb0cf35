// The template menus: what each item of "Шаблоны" and of the editor's
// pop-up twins reads and what it inserts, for either command language. The
// words come from the vocabulary's string resources, so a localisation that
// renames a word renames its template too. The widget side
// (app/templates_menu.h) only turns these into menus.
#pragma once

#include <string>
#include <vector>

// How an item turns its caption into the text to insert. K is the caption
// up to its first blank, "\a" marks the caret, "\r" a new line indented like
// the caret line.
enum TTemplateHandler {
  thCaption,  // the caption as it stands
  thLine,     // the same, for a whole statement ending in ";"
  thFunc1,    // K ( ^ )            a function of one argument, no ";"
  thFunc2,    // K ( ^,  )
  thFunc3,    // K ( ^, ,  )
  thFunc4,    // K ( ^, , ,  )
  thCmd1,     // K ( ^ );           a command
  thCmd2,     // K ( ^,  );
  thCmd3,     // K ( ^, ,  );
  thCmd4,     // K ( ^, , ,  );
  thCmd6,     // K ( ^, , , , , );
  thRepeat,   // the block statements: the keyword, its parentheses with
  thFor,      // the caret inside, and a block two blanks deeper
  thWhile,
  thIf,
  thIfElse,
};

// The submenus in menu order.
enum TTemplateGroup { tgTypes, tgStatements, tgFunctions, tgStrings, tgGraphics, tgTurtle, tgDrawer, tgGrondo };
constexpr int kTemplateGroupCount = 8;

struct TTemplateItem {
  std::string Caption;  // Windows-1251, with the words of the chosen language
  TTemplateHandler Handler;
  bool Visible = true;
};

struct TTemplateGroupCaptions {
  std::string Title;
  std::vector<TTemplateItem> Items;
};

// A submenu's title and items with the Russian (russian) or English words.
// Items keep their number and order in both languages.
TTemplateGroupCaptions TemplateGroup(TTemplateGroup group, bool russian);

// Whether a submenu is shown while executor kind (0 Turtle, 1 Drawer,
// 2 Grondo) is chosen.
bool TemplateGroupVisible(TTemplateGroup group, int executorKind);

// The switch item's caption: it names the language it switches to.
std::string LanguageSwitchCaption(bool russianShown);

// True when the interface is localised into English; the switch is hidden
// then.
bool InterfaceIsEnglish();

// The text a handler makes of a caption, with "\a" and "\r" as above.
std::string TemplateText(TTemplateHandler handler, const std::string& caption);

// Whether the handler drops the ";" when a selection is replaced.
bool SemicolonRuleApplies(TTemplateHandler handler);

// What choosing the item inserts: TemplateText, cut before its first ";"
// when the handler keeps the semicolon rule and a selection without ";" is
// being replaced (a command put in place of an expression).
std::string TemplateInsertion(TTemplateHandler handler, const std::string& caption, bool hasSelection,
                              const std::string& selectedText);
