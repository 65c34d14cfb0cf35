#include "var_form.h"

#include <algorithm>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "pcode.h"
#include "qtext.h"
#include "string_table.h"
#include "var_text.h"

namespace {

QString S(TStrId id) { return FromCp1251(Str(id)); }

constexpr int kTypeColumnWidth = 70;
constexpr int kCellPadding = 12;  // the item's margins and its grid line

QTreeWidget* MakeList(QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setColumnCount(3);
  list->setHeaderLabels({S(sVarNameColumn), S(sVarTypeColumn), S(sVarValueColumn)});
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setTextElideMode(Qt::ElideRight);
  QFont f(QStringLiteral("Courier New"));
  f.setStyleHint(QFont::TypeWriter);
  f.setPixelSize(13);
  list->setFont(f);
  list->header()->setStretchLastSection(true);
  list->setColumnWidth(0, 80);
  list->setColumnWidth(1, kTypeColumnWidth);
  list->setColumnWidth(2, 138);
  // A report with grid lines: a thin line under and after every cell.
  list->setStyleSheet(QStringLiteral(
      "QTreeView::item { border-right: 1px solid #c8c8c8; border-bottom: 1px solid #c8c8c8; }"));
  return list;
}

QWidget* MakeSide(QWidget* parent, QLabel* label, QTreeWidget* list) {
  auto* side = new QWidget(parent);
  auto* layout = new QVBoxLayout(side);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(label);
  layout->addWidget(list);
  return side;
}

void FillList(QTreeWidget* list, const TVarList& vars) {
  list->clear();
  QList<QTreeWidgetItem*> items;
  for (const TVarRow& row : VarRows(vars)) {
    auto* item = new QTreeWidgetItem({FromCp1251(row.Name), FromCp1251(row.Type), FromCp1251(row.Value)});
    item->setToolTip(2, item->text(2));
    items.append(item);
  }
  list->addTopLevelItems(items);
  // Types are short but an array's, "logical[10][10]", outgrows the usual
  // width, and a type cut after its first dimension misleads; the value,
  // often much longer, keeps the rest and its tool tip.
  const QFontMetrics fm(list->font());
  int type = kTypeColumnWidth;
  for (const QTreeWidgetItem* item : items)
    type = std::max(type, fm.horizontalAdvance(item->text(1)) + kCellPadding);
  list->setColumnWidth(1, type);
}

}  // namespace

TVarForm::TVarForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("VarForm"));
  setModal(true);
  setWindowTitle(S(sVarFormCaption));
  QFont bold(QStringLiteral("Arial"));
  bold.setStyleHint(QFont::SansSerif);
  bold.setBold(true);
  GlobVarLabel = new QLabel(S(sGlobVarLabel), this);
  GlobVarLabel->setFont(bold);
  LocalVarLabel = new QLabel(S(sLocalVarLabel), this);
  LocalVarLabel->setFont(bold);
  GlobLV = MakeList(this);
  LocalLV = MakeList(this);
  GlobLV->setObjectName(QStringLiteral("GlobLV"));
  LocalLV->setObjectName(QStringLiteral("LocalLV"));

  Splitter = new QSplitter(Qt::Horizontal, this);
  Splitter->addWidget(MakeSide(Splitter, GlobVarLabel, GlobLV));
  Splitter->addWidget(MakeSide(Splitter, LocalVarLabel, LocalLV));
  Splitter->setChildrenCollapsible(false);

  OKBtn = new QPushButton(S(sVarOk), this);
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(Splitter, 1);
  layout->addWidget(OKBtn, 0, Qt::AlignHCenter);
  resize(592, 273);
}

void TVarForm::Fill(const TPauseView& view) {
  setWindowTitle(S(sVarFormCaption));
  GlobLV->clear();
  LocalLV->clear();
  if (!view.Code) return;
  FillList(GlobLV, view.Code->Globals);
  const TProcList& procs = view.Code->Procs;
  if (view.CurProc < 0 || view.CurProc >= procs.Count()) return;
  const TProcedure& proc = procs[view.CurProc];
  LocalVarLabel->setText(FromCp1251(LocalVarsLabel(proc, view.CurProc)));
  FillList(LocalLV, proc.Vars);
}

void TVarForm::ShowVariables(const TPauseView& view) {
  Fill(view);
  const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  exec();
}
