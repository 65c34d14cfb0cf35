// The find and replace dialogs and the template menus over a real editor.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "encoding.h"
#include "find_replace.h"
#include "localisation.h"
#include "string_table.h"
#include "qtext.h"
#include "scripted_boxes.h"
#include "syntax_memo.h"
#include "templates_menu.h"

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(FindReplaceDialogs, ReplaceAllAsksOnceAndReportsTheCount) {
  QWidget window;
  TqxSyntaxMemo editor(&window);
  editor.SetText("cout a;\r\ncout b; cout c;\r\ncout d;");
  editor.SetCaret(0, 1);
  TFindReplace fr(&editor, &window);
  TScriptedBoxes boxes;
  boxes.Answers = {TAnswer::Yes};

  fr.ShowReplace();
  TFindDialog* d = fr.ReplaceDialog();
  ASSERT_TRUE(d->isVisible());
  EXPECT_FALSE(d->isModal());
  d->What()->setText("COUT");
  d->With()->setText("coutln");
  // Replace all without the search text selected only finds it.
  d->ReplaceAllButton()->click();
  EXPECT_EQ(editor.SelectedText(), "cout");
  EXPECT_EQ(editor.Buffer().SelStart(), (TTextPos{0, 1}));
  EXPECT_TRUE(boxes.Shown.isEmpty());

  d->ReplaceAllButton()->click();
  EXPECT_EQ(editor.Text(), "coutln a;\r\ncoutln b; coutln c;\r\ncoutln d;");
  EXPECT_EQ(boxes.Asked, QStringList{U("Достигнут конец документа. Продолжить поиск сначала?")});
  EXPECT_EQ(boxes.Shown, QStringList{U("Поиск закончен выполнен. Выполнено замен: 4")});

  // Match case finds nothing now, and says nothing.
  d->MatchCase()->setChecked(true);
  editor.SetCaret(0, 0);
  d->FindNextButton()->click();
  EXPECT_FALSE(editor.HasSelection());
  EXPECT_EQ(boxes.Shown.size(), 1);
}

TEST(FindReplaceDialogs, FindNextUpwardFromTheFindDialog) {
  QWidget window;
  TqxSyntaxMemo editor(&window);
  editor.SetText("ab ab ab");
  editor.SetCaret(5, 0);
  TFindReplace fr(&editor, &window);
  fr.ShowFind();
  TFindDialog* d = fr.FindDialog();
  EXPECT_EQ(d->ReplaceButton(), nullptr);
  d->What()->setText("ab");
  d->Up()->setChecked(true);
  d->FindNextButton()->click();
  EXPECT_EQ(editor.Buffer().SelStart(), (TTextPos{3, 0}));
  EXPECT_EQ(editor.CaretCol(), 3);
  d->FindNextButton()->click();
  EXPECT_EQ(editor.CaretCol(), 0);
  // A one-line selection is offered as the next search text.
  d->hide();
  fr.ShowFind();
  EXPECT_EQ(d->What()->text(), "ab");
}

QStringList Titles(const QMenu& menu) {
  QStringList titles;
  for (QAction* a : menu.actions())
    if (a->isVisible()) titles << (a->isSeparator() ? QString("-") : a->text());
  return titles;
}

TEST(TemplateMenus, MenuSwitchAndExecutors) {
  QWidget window;
  TqxSyntaxMemo editor(&window);
  TTemplateMenus templates(&editor);
  QMenu menu;
  const QList<QAction*> switchActions = templates.FillMenu(&menu);
  ASSERT_EQ(switchActions.size(), 2);
  EXPECT_EQ(menu.title(), U("&Шаблоны"));
  EXPECT_EQ(Titles(menu), (QStringList{U("Типы переменных"), U("Операторы"), U("Функции"), U("Строки"),
                                       U("Графика"), U("Черепаха"), "-", U("Английские команды")}));
  templates.SetExecutor(2);
  EXPECT_EQ(Titles(menu)[4], U("Грондо"));

  switchActions[1]->trigger();
  EXPECT_FALSE(templates.RussianCommands());
  EXPECT_EQ(Titles(menu)[0], "Variable types");
  EXPECT_EQ(switchActions[1]->text(), U("Русские команды"));
  EXPECT_EQ(templates.PopupSubmenu(tgStatements)->actions()[4]->text(), "if ( ) { } else { }");

  // The if-else item inserts the English words; the switch changed no text.
  editor.SetText("    ");
  editor.SetCaret(4, 0);
  templates.Submenu(tgStatements)->actions()[4]->trigger();
  EXPECT_EQ(editor.Text(), "    if (  )\r\n      {\r\n    \r\n      }\r\n    else\r\n      {\r\n    \r\n      }");
  EXPECT_EQ(editor.Buffer().Caret(), (TTextPos{9, 0}));
}

TEST(TemplateMenus, ThePopUpTwinsJoinTheEditorsMenu) {
  QWidget window;
  TqxSyntaxMemo editor(&window);
  TTemplateMenus templates(&editor);
  QMenu popup;
  popup.addAction("Copy");
  emit editor.OnContextMenu(&popup);
  const QStringList titles = Titles(popup);
  EXPECT_EQ(titles.mid(0, 3), (QStringList{"Copy", "-", U("Типы переменных")}));
  EXPECT_EQ(titles.mid(titles.size() - 4),
            (QStringList{"-", U("Английские команды"), "-", U("Что это такое?")}));
  // A selected expression replaced by a command gets no ";".
  editor.SetText("x = a+b;");
  editor.Buffer().SetSelection({4, 0}, {7, 0});
  const QList<QAction*> graphics = templates.PopupSubmenu(tgGraphics)->actions();
  graphics[13]->trigger();
  EXPECT_EQ(Cp1251ToUtf8(editor.Text()), "x = ЦветТекста (  );");
  EXPECT_EQ(editor.CaretCol(), 17);  // between the parentheses
}

TEST(TemplateMenus, AnEnglishInterfaceHasNoSwitch) {
  InstallLocalisation({{sInterfaceLanguage, "EN"}, {sTplMenu, "&Templates"}});
  QWidget window;
  TqxSyntaxMemo editor(&window);
  TTemplateMenus templates(&editor);
  QMenu menu, popup;
  templates.FillMenu(&menu);
  emit editor.OnContextMenu(&popup);
  InstallLocalisation({});
  EXPECT_EQ(menu.title(), "&Templates");
  EXPECT_EQ(Titles(menu).size(), 6);  // the six submenus of the Turtle
  EXPECT_EQ(Titles(popup).mid(Titles(popup).size() - 3),
            (QStringList{U("Черепаха"), "-", U("Что это такое?")}));
}

}  // namespace
