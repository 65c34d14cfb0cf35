#include "templates_menu.h"

#include <QAction>
#include <QMenu>

#include "custom_memo.h"
#include "qtext.h"
#include "string_table.h"

TTemplateMenus::TTemplateMenus(TqxCustomMemo* editor, QObject* parent) : QObject(parent), editor_(editor) {
  Build(main_);
  Build(popup_);
  switch_ = new QAction(this);
  popupSwitch_ = new QAction(this);
  for (QAction* a : {switch_, popupSwitch_}) connect(a, &QAction::triggered, this, &TTemplateMenus::SwitchLanguage);
  connect(editor_, &TqxCustomMemo::OnContextMenu, this, &TTemplateMenus::AddToPopup);
  SetCommandCaptions(true);
  SetExecutor(0);
}

// The submenus have no widget parent (a menu's parent decides where it
// shows), so they are freed here.
TTemplateMenus::~TTemplateMenus() {
  for (auto* menus : {&main_, &popup_})
    for (QMenu* m : *menus) delete m;
}

void TTemplateMenus::Build(std::array<QMenu*, kTemplateGroupCount>& menus) {
  for (int g = 0; g < kTemplateGroupCount; ++g) {
    const auto group = static_cast<TTemplateGroup>(g);
    menus[g] = new QMenu;
    const size_t count = TemplateGroup(group, true).Items.size();
    for (size_t i = 0; i < count; ++i)
      menus[g]->addAction(QString(), this, [this, group, i] { Choose(group, static_cast<int>(i)); });
  }
}

QList<QAction*> TTemplateMenus::FillMenu(QMenu* menu) {
  mainMenu_ = menu;
  menu->setTitle(FromCp1251(Str(sTplMenu)));
  for (QMenu* m : main_) menu->addMenu(m);
  switchSeparator_ = menu->addSeparator();
  menu->addAction(switch_);
  SetCommandCaptions(russian_);
  return {switchSeparator_, switch_};
}

void TTemplateMenus::AddToPopup(QMenu* menu) {
  menu->addSeparator();
  for (QMenu* m : popup_) menu->addMenu(m);
  // The menu lives for one showing; an English interface has no switch.
  if (!InterfaceIsEnglish()) {
    menu->addSeparator();
    menu->addAction(popupSwitch_);
  }
  menu->addSeparator();
  menu->addAction(FromCp1251(Str(sTplWhatsThis)), this, &TTemplateMenus::WhatsThis);
}

void TTemplateMenus::Caption(std::array<QMenu*, kTemplateGroupCount>& menus) {
  for (int g = 0; g < kTemplateGroupCount; ++g) {
    menus[g]->setTitle(FromCp1251(groups_[g].Title));
    const QList<QAction*> actions = menus[g]->actions();
    for (int i = 0; i < actions.size() && i < static_cast<int>(groups_[g].Items.size()); ++i) {
      const TTemplateItem& item = groups_[g].Items[i];
      // A caption is shown as written: "&" would be taken for a shortcut.
      actions[i]->setText(FromCp1251(item.Caption).replace('&', "&&"));
      actions[i]->setVisible(item.Visible);
    }
  }
}

void TTemplateMenus::SetCommandCaptions(bool russian) {
  russian_ = russian;
  groups_.clear();
  for (int g = 0; g < kTemplateGroupCount; ++g) groups_.push_back(TemplateGroup(static_cast<TTemplateGroup>(g), russian));
  Caption(main_);
  Caption(popup_);
  const QString caption = FromCp1251(LanguageSwitchCaption(russian));
  const bool shown = !InterfaceIsEnglish();
  for (QAction* a : {switch_, popupSwitch_}) {
    a->setText(caption);
    a->setVisible(shown);
  }
  if (switchSeparator_) switchSeparator_->setVisible(shown);
}

void TTemplateMenus::SetExecutor(int kind) {
  for (int g = 0; g < kTemplateGroupCount; ++g) {
    const bool visible = TemplateGroupVisible(static_cast<TTemplateGroup>(g), kind);
    main_[g]->menuAction()->setVisible(visible);
    popup_[g]->menuAction()->setVisible(visible);
  }
}

void TTemplateMenus::Choose(TTemplateGroup group, int item) {
  if (item < 0 || item >= static_cast<int>(groups_[group].Items.size())) return;
  const TTemplateItem& t = groups_[group].Items[item];
  editor_->InsertTemplate(TemplateInsertion(t.Handler, t.Caption, editor_->HasSelection(), editor_->SelectedText()));
}
