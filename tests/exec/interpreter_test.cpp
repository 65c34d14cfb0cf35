// The interpreter on hand-built p-code: arithmetic and output, loops with
// break and continue, calls and recursion, errors with their lines.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "asm.h"
#include "program.h"

namespace {

// main { <body> } with the body emitted by fill; temps of main as given.
std::unique_ptr<TPseudoCode> Main(const std::function<void(TAsm&)>& fill, std::initializer_list<uint8_t> temps = {},
                                  std::function<void(TAsm&)> globals = {}) {
  TAsm a;
  if (globals) globals(a);
  const int m = a.Proc(dkVoid, {}, {}, temps);
  a.Entry(m);
  a.Emit({opNop, opLine, 0});
  fill(a);
  a.Emit({opLine, 99, opReturn, opEnd});
  return std::move(a.code);
}

TEST(Interpreter, EmptyMainProgramEndsNormally) {
  auto code = Main([](TAsm&) {});
  const TRunOutcome r = RunProgram(*code);
  EXPECT_EQ(r.Output, "");
  EXPECT_EQ(r.Error, "");
  EXPECT_FALSE(r.Stopped);
}

TEST(Interpreter, ArithmeticKindsAndDefaultFormats) {
  auto code = Main([](TAsm& a) {
    for (auto e : {a.E({I(7), I(2), Op(ocDiv)}), a.E({I(-7), I(2), Op(ocDiv)}), a.E({I(-7), I(2), Op(ocMod)}),
                   a.E({I(2), I(10), Op(ocPow)}), a.E({I(2), I(-1), Op(ocPow)}), a.E({R(2.5)}),
                   a.E({C('a'), C('\x01'), Op(ocAdd)}), a.E({C('a'), I(1), Op(ocAdd)}), a.E({L(true), L(true), Op(ocAdd)}),
                   a.E({R(0.5), L(true), Op(ocAnd)}), a.E({I(3), Op(ocNot)})}) {
      a.Emit({opWrite, e});
      a.Text(" ");
    }
  });
  EXPECT_EQ(RunProgram(*code).Output, "3 -3 -1 1024 0.50 2.50 b 98 Истина Истина Ложь \n");
}

TEST(Interpreter, StoresKeepTheDeclaredKind) {
  auto code = Main(
      [](TAsm& a) {
        a.Emit({opAssignGlobal, 0, a.E({R(2.5)})});
        a.Emit({opAssignGlobal, 1, a.E({I(300)})});
        a.Emit({opAssignGlobalItem, 2, a.E({I(1)}), a.E({R(3.5)})});
        a.Emit({opWrite, a.E({G(0)})});
        a.Text(" ");
        a.Emit({opWrite, a.E({G(1), I(0), Op(ocAdd)})});
        a.Text(" ");
        a.Emit({opWrite, a.E({Item(true, 2, {I(1)})})});
      },
      {}, [](TAsm& a) {
        a.Global(dkInteger);
        a.Global(dkChar);
        a.Global(dkInteger, 3);
      });
  EXPECT_EQ(RunProgram(*code).Output, "2 44 4\n");
}

TEST(Interpreter, ElementErrorsNameTheRange) {
  auto global = [](TAsm& a) { a.Global(dkInteger, 5); };
  auto read5 = Main([](TAsm& a) { a.Emit({opLine, 3, opWrite, a.E({Item(true, 0, {I(5)})})}); }, {}, global);
  TRunOutcome r = RunProgram(*read5);
  EXPECT_EQ(r.Error, "Индекс элемента массива 5 выходит из диапазона [0..4].");
  EXPECT_EQ(r.ErrorLine, 3);
  auto realIndex = Main([](TAsm& a) { a.Emit({opWrite, a.E({Item(true, 0, {R(1.0)})})}); }, {}, global);
  EXPECT_EQ(RunProgram(*realIndex).Error, "Индекс элемента массива должен быть целым числом.");
  auto twoOnOne = Main([](TAsm& a) { a.Emit({opWrite, a.E({Item(true, 0, {I(1)}, {I(-1)})})}); }, {}, global);
  EXPECT_EQ(RunProgram(*twoOnOne).Error, "При обращении к простому массиву нельзя использовать два индекса.");
  auto storeOut = Main([](TAsm& a) { a.Emit({opAssignGlobalItem, 0, a.E({I(-1)}), a.E({I(1)})}); }, {}, global);
  EXPECT_EQ(RunProgram(*storeOut).Error, "Индекс элемента массива -1 выходит из диапазона [0..4].");
}

TEST(Interpreter, TwoDimensionalElements) {
  auto code = Main(
      [](TAsm& a) {
        a.Emit({opAssignGlobalItem2, 0, a.E({I(1)}), a.E({I(2)}), a.E({I(7)})});
        a.Emit({opAssignGlobalItem2, 0, a.E({I(0)}), a.E({I(1)}), a.E({I(3)})});
        a.Emit({opWrite, a.E({Item(true, 0, {I(1)}, {I(2)})})});
        a.Emit({opWrite, a.E({Item(true, 0, {I(1)})})});
        a.Emit({opWrite, a.E({Item(true, 0, {I(1)}, {I(-1)})})});
      },
      {}, [](TAsm& a) { a.Global(dkInteger, 2, 3); });
  // One index addresses the flat storage: a[1] is a[0][1]. A negative
  // second index is refused.
  const TRunOutcome r = RunProgram(*code);
  EXPECT_EQ(r.Output, "73\n");
  EXPECT_EQ(r.Error, "Индекс элемента массива -1 выходит из диапазона [0..2].");
}

TEST(Interpreter, ErrorsOfTheInterpreterCarryThePrefix) {
  auto div0 = Main([](TAsm& a) { a.Emit({opLine, 4, opWrite, a.E({I(1), I(0), Op(ocDiv)})}); });
  TRunOutcome r = RunProgram(*div0);
  EXPECT_EQ(r.Error, "Ошибка при выполнении программы: деление на нуль.");
  EXPECT_EQ(r.ErrorLine, 4);
  auto badExpr = Main([](TAsm& a) { a.Emit({opWrite, a.E({I(1), Op(ocAdd)})}); });
  EXPECT_EQ(RunProgram(*badExpr).Error, "Ошибка при выполнении программы: неверное выражение.");
  auto twoLeft = Main([](TAsm& a) { a.Emit({opWrite, a.E({I(1), I(2)})}); });
  EXPECT_EQ(RunProgram(*twoLeft).Error, "Ошибка при выполнении программы: неверное арифметическое выражение.");
  auto unknown = Main([](TAsm& a) { a.Emit({77}); });
  EXPECT_EQ(RunProgram(*unknown).Error, "Ошибка при выполнении программы: Неизвестная команда с кодом 77.");
  auto overflow = Main([](TAsm& a) { a.Emit({opWrite, a.E({I(2147483647), I(1), Op(ocAdd)})}); });
  EXPECT_EQ(RunProgram(*overflow).Error, "Полученное целое число превышает допустимые пределы");
  auto realOverflow = Main([](TAsm& a) { a.Emit({opWrite, a.E({R(1e308), R(10), Op(ocMul)})}); });
  EXPECT_EQ(RunProgram(*realOverflow).Error, "Полученное вещественное число превышает допустимые пределы");
  auto rounding = Main([](TAsm& a) { a.Emit({opAssignGlobal, 0, a.E({R(1e12)})}); }, {},
                       [](TAsm& a) { a.Global(dkInteger); });
  EXPECT_EQ(RunProgram(*rounding).Error,
            "Непредвиденная ошибка: ''Invalid floating point operation''. Пожалуйста сообщите о ней автору и "
            "вышлите текст этой программы.");
}

// пока (i < 10) { i = i + 1; если (i % 3 == 0) продолжить; если (i == 8) прервать; вывод i, ","; }
TEST(Interpreter, WhileLoopWithBreakAndContinue) {
  TAsm a;
  a.Global(dkInteger);
  const int m = a.Proc(dkVoid, {}, {}, {dkLogical, dkLogical});
  a.Entry(m);
  a.Emit({opNop, opLine, 0, opLoopBegin, opLine, 1});
  const int32_t cond = a.Here();
  a.Emit({opAssignTemp, 0, a.E({G(0), I(10), Op(ocLt)}), opJumpIfFalse, 0, 0});
  const int32_t exitCell = a.Here() - 1;
  a.Emit({opLine, 2, opAssignGlobal, 0, a.E({G(0), I(1), Op(ocAdd)})});
  a.Emit({opAssignTemp, 1, a.E({G(0), I(3), Op(ocMod), I(0), Op(ocEq)}), opJumpIfFalse, 1, 0});
  int32_t skip1 = a.Here() - 1;
  a.Emit({opLine, 3, opContinue, opJump, 0});
  int32_t join1 = a.Here() - 1;
  a.code->Patch(skip1, a.Here());
  a.code->Patch(join1, a.Here());
  a.Emit({opAssignTemp, 1, a.E({G(0), I(8), Op(ocEq)}), opJumpIfFalse, 1, 0});
  skip1 = a.Here() - 1;
  a.Emit({opLine, 4, opBreak, opJump, 0});
  join1 = a.Here() - 1;
  a.code->Patch(skip1, a.Here());
  a.code->Patch(join1, a.Here());
  a.Emit({opLine, 5, opWrite, a.E({G(0)})});
  a.Text(",");
  const int32_t next = a.Here();
  a.Emit({opJump, cond});
  a.code->Patch(exitCell, a.Here());
  a.Emit({opEndWhile, next, opLine, 6});
  a.Text("end");
  a.Emit({opLine, 7, opReturn, opEnd});
  EXPECT_EQ(RunProgram(*a.code).Output, "1,2,4,5,7,end\n");
}

// повтори (3) { повтори (2) { вывод "x"; прервать; } вывод "y"; продолжить; вывод "z"; }
TEST(Interpreter, CountedLoopsNestedBreakLeavesOnlyTheInnerLoop) {
  TAsm a;
  const int m = a.Proc(dkVoid, {}, {}, {dkInteger, dkInteger});
  a.Entry(m);
  a.Emit({opNop, opLine, 0, opLoopBegin, opLine, 1, opAssignTemp, 0, a.E({I(3)})});
  const int32_t top = a.Here();
  a.Emit({opJumpIfNotPositive, 0, 0});
  const int32_t exitOuter = a.Here() - 1;
  a.Emit({opLoopBegin, opLine, 2, opAssignTemp, 1, a.E({I(2)})});
  const int32_t innerTop = a.Here();
  a.Emit({opJumpIfNotPositive, 1, 0});
  const int32_t exitInner = a.Here() - 1;
  a.Text("x");
  a.Emit({opLine, 2, opBreak});
  const int32_t innerNext = a.Here();
  a.Emit({opDecTemp, 1, opJump, innerTop});
  a.code->Patch(exitInner, a.Here());
  a.Emit({opEndRepeat, innerNext});
  a.Text("y");
  a.Emit({opLine, 3, opContinue});
  a.Text("z");
  const int32_t outerNext = a.Here();
  a.Emit({opDecTemp, 0, opJump, top});
  a.code->Patch(exitOuter, a.Here());
  a.Emit({opEndRepeat, outerNext, opLine, 4, opReturn, opEnd});
  EXPECT_EQ(RunProgram(*a.code).Output, "xyxyxy\n");
}

// f(целые a, целые b, целые n) { вывод a, " ", b, ";"; если (n > 0) f(b, a, n - 1); }
TEST(Interpreter, RecursiveCallArgumentsReadTheCallersActivation) {
  TAsm a;
  const int m = a.Proc(dkVoid);
  const int f = a.Proc(dkVoid, {dkInteger, dkInteger, dkInteger}, {}, {dkLogical});
  a.Entry(m);
  a.Emit({opNop, opLine, 0, opCall, a.Call(false, f, {{I(1)}, {I(2)}, {I(2)}}), opLine, 1, opReturn});
  a.Entry(f);
  a.Emit({opNop, opLine, 10, opWrite, a.E({Lc(0)})});
  a.Text(" ");
  a.Emit({opWrite, a.E({Lc(1)})});
  a.Text(";");
  a.Emit({opAssignTemp, 0, a.E({Lc(2), I(0), Op(ocGt)}), opJumpIfFalse, 0, 0});
  const int32_t skip = a.Here() - 1;
  a.Emit({opCall, a.Call(false, f, {{Lc(1)}, {Lc(0)}, {Lc(2), I(1), Op(ocSub)}})});
  a.code->Patch(skip, a.Here());
  a.Emit({opLine, 11, opReturn, opEnd});
  EXPECT_EQ(RunProgram(*a.code).Output, "1 2;2 1;1 2;\n");
}

// fact(n) = n <= 1 ? 1 : n * fact(n - 1), written with an opTakeResult temp.
std::unique_ptr<TPseudoCode> Factorial(int n) {
  TAsm a;
  const int m = a.Proc(dkVoid, {}, {}, {dkInteger});
  const int f = a.Proc(dkInteger, {dkInteger}, {}, {dkLogical, dkInteger});
  a.Entry(m);
  a.Emit({opNop, opLine, 0, opCall, a.Call(false, f, {{I(n)}}), opTakeResult, 0, f, opWrite, a.E({T(0)})});
  a.Emit({opLine, 1, opReturn});
  a.Entry(f);
  a.Emit({opNop, opLine, 10, opAssignTemp, 0, a.E({Lc(0), I(1), Op(ocLe)}), opJumpIfFalse, 0, 0});
  const int32_t other = a.Here() - 1;
  a.Emit({opSetResult, a.E({I(1)}), opReturn});
  a.code->Patch(other, a.Here());
  a.Emit({opCall, a.Call(false, f, {{Lc(0), I(1), Op(ocSub)}}), opTakeResult, 1, f});
  a.Emit({opSetResult, a.E({Lc(0), T(1), Op(ocMul)}), opLine, 11, opReturn, opEnd});
  return std::move(a.code);
}

TEST(Interpreter, FunctionResultsReachEachCallerLevel) {
  EXPECT_EQ(RunProgram(*Factorial(10)).Output, "3628800\n");
  EXPECT_EQ(RunProgram(*Factorial(13)).Error, "Полученное целое число превышает допустимые пределы");
}

// rec(n) { если (n > 0) rec(n - 1); } called with n from main.
std::unique_ptr<TPseudoCode> Recursion(int n) {
  TAsm a;
  const int m = a.Proc(dkVoid);
  const int f = a.Proc(dkVoid, {dkInteger}, {}, {dkLogical});
  a.Entry(m);
  a.Emit({opNop, opLine, 0, opCall, a.Call(false, f, {{I(n)}})});
  a.Text("done");
  a.Emit({opLine, 1, opReturn});
  a.Entry(f);
  a.Emit({opNop, opLine, 10, opAssignTemp, 0, a.E({Lc(0), I(0), Op(ocGt)}), opJumpIfFalse, 0, 0});
  const int32_t skip = a.Here() - 1;
  a.Emit({opLine, 11, opCall, a.Call(false, f, {{Lc(0), I(1), Op(ocSub)}})});
  a.code->Patch(skip, a.Here());
  a.Emit({opLine, 12, opReturn, opEnd});
  return std::move(a.code);
}

TEST(Interpreter, RecursionLimitCountsActivationDepth) {
  // The first call uses the compiler's record (depth 0); each nested call
  // adds one. A call made from depth 1001 is refused: 1002 activations run.
  EXPECT_EQ(RunProgram(*Recursion(1001)).Output, "done\n");
  const TRunOutcome r = RunProgram(*Recursion(1002));
  EXPECT_EQ(r.Error, "Ошибка при выполнении программы: превышен предел в 1000 рекурсивных вызовов.");
  EXPECT_EQ(r.ErrorLine, 11);
}

TEST(Interpreter, ArgumentCountMustMatch) {
  TAsm a;
  const int m = a.Proc(dkVoid);
  const int f = a.Proc(dkVoid, {dkInteger});
  a.Entry(m);
  a.Emit({opNop, opLine, 0, opCall, a.Call(false, f, {{I(1)}, {I(2)}}), opReturn});
  a.Entry(f);
  a.Emit({opNop, opReturn, opEnd});
  EXPECT_EQ(RunProgram(*a.code).Error, "Ошибка при выполнении программы: неверное количество аргументов процедуры.");
}

TEST(Interpreter, ArrayArgumentsAreCopied) {
  TAsm a;
  a.Global(dkIntegerArray == 0 ? dkInteger : dkInteger, 3);
  const int m = a.Proc(dkVoid);
  const int f = a.Proc(dkVoid, {dkIntegerArray});
  a.P(f).Vars[0].Kind = dkInteger;
  a.P(f).Vars[0].MakeArray(1);
  a.Entry(m);
  a.Emit({opNop, opLine, 0, opAssignGlobalItem, 0, a.E({I(0)}), a.E({I(5)})});
  TDatum whole = Ref(dkGlobalItemRef, 0);
  a.Emit({opCall, a.Call(false, f, {{whole}}), opWrite, a.E({Item(true, 0, {I(0)})}), opReturn});
  a.Entry(f);
  a.Emit({opNop, opAssignLocalItem, 0, a.E({I(0)}), a.E({I(9)}), opWrite, a.E({Item(false, 0, {I(2)})})});
  a.Emit({opReturn, opEnd});
  // The parameter took the argument's size (3) and a copy: the caller keeps 5.
  EXPECT_EQ(RunProgram(*a.code).Output, "05\n");
}

TEST(Interpreter, StopEndsAFreeRunningLoop) {
  TAsm a;
  const int m = a.Proc(dkVoid);
  a.Entry(m);
  a.Emit({opNop, opLine, 0});
  const int32_t top = a.Here();
  a.Emit({opLine, 1, opJump, top});
  TTextHost host(nullptr, nullptr, true);
  TRunState state;
  state.Events.Set(evRun);
  state.RequestStop();
  TExecutor ex(*a.code, host, state, nullptr);
  ex.Run();
  EXPECT_TRUE(state.StoppedByUser.load());
}

TEST(Interpreter, RecursionThatWouldExhaustMemoryEndsWithAnError) {
  // Thirty local arrays of 10000 reals, a thousand levels deep: 2.4 GB.
  std::string arrays;
  for (int i = 0; i < 30; ++i) arrays += (i ? ", a" : "a") + std::to_string(i) + "[10000]";
  auto code = CompileProgram(ProgramLines(Utf8ToCp1251("главная {\n  f(1000);\n}\nf(целые n) {\n  дробные " +
                                                       arrays + ";\n  если (n > 0) f(n - 1);\n}")),
                             ekTurtle);
  const TRunOutcome r = RunProgram(*code);
  EXPECT_EQ(r.Error, "Непредвиденная ошибка: ''Out of memory''. Пожалуйста сообщите о ней автору и вышлите текст "
                     "этой программы.");
  EXPECT_EQ(r.ErrorLine, 5);
}

TEST(Interpreter, StopEndsATightLoopAndADeepRecursion) {
  // Neither passes a line marker while it runs: the stop is seen where
  // control goes backwards (the loop's jump, the recursive call).
  for (const char* text : {"главная { пока (истина) ; }",
                           "главная { целые i, s; логические b[9]; пока (i >= 0) { s = s + i % 7; b[i % 9] = не b[i % 9];"
                           " если (не b[3]) i = i + 1; если (i > 999) i = 0; } }",
                           "главная { выводстр f(40); }\nцелые f(целые n) { если (n < 2) возврат n; возврат f(n - 1) + f(n - 2); }"}) {
    auto code = CompileProgram(ProgramLines(Utf8ToCp1251(text)), ekTurtle);
    TTextHost host(nullptr, nullptr, true);
    TRunState state;
    state.Events.Set(evRun);
    TExecutor ex(*code, host, state, nullptr);
    std::thread stopper([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      state.RequestStop();
    });
    EXPECT_NO_THROW(ex.Run()) << text;  // returns at all: a missed stop would hang here
    stopper.join();
    EXPECT_EQ(host.Console().Text(), "") << text;
  }
}

TEST(Interpreter, AStopDuringAnExecutorCommandEndsTheRunAtTheNextStep) {
  // Stop is looked at only now and then while nothing is drawn; a program
  // that draws must not go on drawing once stopped.
  struct TStopping : TGenericGrondo {
    TRunState* State = nullptr;
    int Commands = 0;
    int Kind() const override { return ekTurtle; }
    bool InField(int, int) const override { return true; }
    void Execute(TProcedure&) override {
      if (++Commands == 5) State->RequestStop();
    }
  };
  auto code = CompileProgram(ProgramLines(Utf8ToCp1251("главная { целые i; пока (истина) { i = i + 1; вперед(1); } }")),
                             ekTurtle);
  TTextHost host(nullptr, nullptr, true);
  TRunState state;
  state.Events.Set(evRun);
  auto machine = std::make_unique<TStopping>();
  machine->State = &state;
  TStopping& seen = *machine;
  TExecutor ex(*code, host, state, std::move(machine));
  ex.Run();
  EXPECT_TRUE(state.StoppedByUser.load());
  EXPECT_EQ(seen.Commands, 5);
}

TEST(Interpreter, StepLimitEndsEndlessLoopsAsAStop) {
  // A loop without a statement passes no line marker; the budget still ends it.
  for (const char* text : {"главная { пока (истина) ; }", "главная { целые i; пока (истина) i = 1; }",
                           "главная {\n  целые i;\n  цикл (i = 0; i >= 0; i = 0) {}\n}"}) {
    auto code = CompileProgram(ProgramLines(Utf8ToCp1251(text)), ekTurtle);
    TTextHost host(nullptr, nullptr, true);
    TRunState state;
    state.Events.Set(evRun);
    TExecutor ex(*code, host, state, nullptr);
    ex.StepLimit = 1000;
    ex.Run();
    EXPECT_TRUE(state.StoppedByUser.load()) << text;
  }
  // A run that ends within its budget is no stop.
  auto code = CompileProgram(ProgramLines(Utf8ToCp1251("главная { целые i; повтори (10) i = i + 1; выводстр i; }")),
                             ekTurtle);
  TTextHost host(nullptr, nullptr, true);
  TRunState state;
  state.Events.Set(evRun);
  TExecutor ex(*code, host, state, nullptr);
  ex.StepLimit = 1000;
  ex.Run();
  EXPECT_FALSE(state.StoppedByUser.load());
  EXPECT_EQ(host.Console().Text(), "10\n");
}

}  // namespace
