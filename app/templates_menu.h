// The "&Шаблоны" menu and its twins in the program editor's pop-up menu:
// the eight template submenus, the command language switch, visibility by
// executor. Choosing an item inserts its template at the editor's caret
// (textmodel/templates.h says what each item reads and inserts).
#pragma once

#include <QList>
#include <QObject>
#include <array>
#include <vector>

#include "templates.h"

class QAction;
class QMenu;
class TqxCustomMemo;

class TTemplateMenus : public QObject {
  Q_OBJECT

 public:
  // Builds the submenus for editor, with Russian commands shown.
  explicit TTemplateMenus(TqxCustomMemo* editor, QObject* parent = nullptr);
  ~TTemplateMenus() override;

  // Fills menu (the main menu's "&Шаблоны", titled here) with the submenus,
  // a separator and the switch item, and returns those last two.
  QList<QAction*> FillMenu(QMenu* menu);

  // Adds the pop-up twins to the editor's context menu: a separator, the
  // submenus, a separator, the switch, a separator and "Что это такое?".
  // Connected to the editor's OnContextMenu by the constructor.
  void AddToPopup(QMenu* menu);

  // RussianCommands: which words the submenus show and insert.
  bool RussianCommands() const { return russian_; }
  // Sets every caption for the language; the switch reads the other one.
  void SetCommandCaptions(bool russian);
  // RuEnMIClick.
  void SwitchLanguage() { SetCommandCaptions(!russian_); }

  // Shows the submenus of executor kind (0 Turtle, 1 Drawer, 2 Grondo).
  void SetExecutor(int kind);

  // The submenu of a group in the main menu and in the pop-up.
  QMenu* Submenu(TTemplateGroup group) const { return main_[group]; }
  QMenu* PopupSubmenu(TTemplateGroup group) const { return popup_[group]; }
  QAction* SwitchAction() const { return switch_; }
  QAction* PopupSwitchAction() const { return popupSwitch_; }

  // What an item of a group does when chosen.
  void Choose(TTemplateGroup group, int item);

 signals:
  // "Что это такое?" of the pop-up: context help for the editor.
  void WhatsThis();

 private:
  void Build(std::array<QMenu*, kTemplateGroupCount>& menus);
  void Caption(std::array<QMenu*, kTemplateGroupCount>& menus);

  TqxCustomMemo* editor_;
  bool russian_ = true;
  std::vector<TTemplateGroupCaptions> groups_;
  std::array<QMenu*, kTemplateGroupCount> main_{};
  std::array<QMenu*, kTemplateGroupCount> popup_{};
  QMenu* mainMenu_ = nullptr;
  QAction* switch_ = nullptr;
  QAction* switchSeparator_ = nullptr;
  QAction* popupSwitch_ = nullptr;
};
