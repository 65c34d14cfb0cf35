// What the variables window lists for a program paused inside a function:
// the type and value text of every kind, and the window itself.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include <cstdlib>

#include <QLabel>
#include <QTreeWidget>

#include "paused_program.h"
#include "pcode.h"
#include "procedure.h"
#include "qtext.h"
#include "var_form.h"
#include "var_text.h"

namespace {

// Paused at line 21, inside max, before it returns.
const char* const kProgram = R"(целые g = 7, A = 100;
символы gs[5];
логические gl[2][3];
дробные gr[2];
символы gc;
главная {
  gs = "abc";
  gl[0][1] = истина; gl[1][0] = истина; gl[1][2] = истина;
  gr[0] = 3.14159; gr[1] = 12345678.9;
  выводстр max(2, 5);
}
целые max(целые a, целые b) {
  целые A[3];
  дробные x = 3.14159;
  символы c, d = 'z';
  символы m[2][3];
  логические t = истина, f;
  A[0] = 1; A[1] = 2; A[2] = 3;
  m[0][0] = 'a'; m[1][2] = 'b';
  целые w[2][2];
  w[1][1] = -4;
  если (a > b) возврат a;
  возврат b;
}
)";
constexpr int kPauseLine = 21;

using Rows = std::vector<std::vector<std::string>>;

Rows Utf8Rows(const TVarList& vars) {
  Rows rows;
  for (const TVarRow& r : VarRows(vars))
    rows.push_back({Cp1251ToUtf8(r.Name), Cp1251ToUtf8(r.Type), Cp1251ToUtf8(r.Value)});
  return rows;
}

Rows ListRows(const QTreeWidget* list) {
  Rows rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = list->topLevelItem(i);
    rows.push_back({item->text(0).toStdString(), item->text(1).toStdString(), item->text(2).toStdString()});
  }
  return rows;
}

const Rows kGlobals = {
    {"g", "int", "7"},
    {"A", "int", "100"},
    {"gs", "char[5]", "'abc¤¤'"},
    {"gl", "logical[2][3]", "{{010}, {101}}"},
    {"gr", "float[2]", "{3.14 1.23e+07}"},
    {"gc", "char", " - не определена"},
};
const Rows kLocals = {
    {"a", "int", "2"},
    {"b", "int", "5"},
    {"A", "int[3]", "{1 2 3}"},
    {"x", "float", "3.14"},
    {"c", "char", " - не определена"},
    {"d", "char", "'z'"},
    {"m", "char[2][3]", "'a¤¤'¤¤b'"},
    {"t", "logical", "истина"},
    {"f", "logical", "ложь"},
    {"w", "int[2][2]", "{{0 0}, {0 -4}}"},
};

TEST(VarText, EveryKindInAPausedFunction) {
  TPausedProgram run(kProgram, kPauseLine);
  ASSERT_TRUE(run.Paused());
  const TPauseView& view = run.View();
  EXPECT_EQ(Utf8Rows(view.Code->Globals), kGlobals);
  const TProcedure& max = view.Code->Procs[view.CurProc];
  EXPECT_EQ(Utf8Rows(max.Vars), kLocals);
  EXPECT_EQ(Cp1251ToUtf8(LocalVarsLabel(max, view.CurProc)), "Переменные функции 'max'");
}

TEST(VarText, WindowShowsBothListsWithTheirLabels) {
  TPausedProgram run(kProgram, kPauseLine);
  ASSERT_TRUE(run.Paused());
  TVarForm form;
  form.Fill(run.View());
  EXPECT_EQ(form.windowTitle().toStdString(), "Доступные переменные");
  EXPECT_EQ(form.GlobVarLabel->text().toStdString(), "Глобальные переменные");
  EXPECT_EQ(form.LocalVarLabel->text().toStdString(), "Переменные функции 'max'");
  EXPECT_EQ(ListRows(form.GlobLV), kGlobals);
  EXPECT_EQ(ListRows(form.LocalLV), kLocals);
  EXPECT_EQ(form.GlobLV->headerItem()->text(2).toStdString(), "Значение");
  // An array's whole type fits its column.
  const QFontMetrics fm(form.GlobLV->font());
  EXPECT_GT(form.GlobLV->columnWidth(1), fm.horizontalAdvance(QStringLiteral("logical[2][3]")));
  if (const char* dir = std::getenv("TARMISY_SHOT_DIR")) {
    form.show();
    form.grab().save(QString::fromUtf8(dir) + QStringLiteral("/varform.png"));
  }
}

TEST(VarText, LocalLabelNamesMainProgramProcedureOrFunction) {
  TProcedure proc;
  proc.Name = Utf8ToCp1251("рисуй");
  proc.Result.Kind = dkVoid;
  EXPECT_EQ(Cp1251ToUtf8(LocalVarsLabel(proc, 0)), "Переменные основной программы");
  EXPECT_EQ(Cp1251ToUtf8(LocalVarsLabel(proc, 3)), "Переменные процедуры 'рисуй'");
  proc.Result.Kind = dkReal;
  EXPECT_EQ(Cp1251ToUtf8(LocalVarsLabel(proc, 3)), "Переменные функции 'рисуй'");
}

TEST(VarText, RealsKeepAPointAndExtremeElementsGoScientific) {
  TDatum r = TDatum::Real(-0.005);
  EXPECT_EQ(ValueText(r), "-0.01");
  r.MakeArray(3);
  r.Reals()[0] = 1e-7;
  r.Reals()[1] = 2.5;
  r.Reals()[2] = 1e300;
  EXPECT_EQ(ValueText(r), "{1e-07 2.5 1e+300}");
}

TEST(VarText, CharacterArrayShowsEveryElementAfterTheText) {
  TDatum s = TDatum::Char(0);
  s.MakeArray(6);
  s.SetString("ab");
  s.Chars()[4] = 'x';
  EXPECT_EQ(Cp1251ToUtf8(ValueText(s)), "'ab¤¤x¤'");
}

}  // namespace
