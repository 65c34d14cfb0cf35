// The built-in functions, clrscr, and what the executor receives.
#include <gtest/gtest.h>

#include <cmath>

#include "asm.h"
#include "random.h"

namespace {

// Prints name(args) through a temp of resultKind.
TRunOutcome Print(const char* name, std::vector<std::vector<TDatum>> args, uint8_t resultKind,
                  std::unique_ptr<TGenericGrondo> machine = nullptr, int kind = ekTurtle) {
  TAsm a(kind);
  const int m = a.Proc(dkVoid, {}, {}, {resultKind});
  const int s = a.Sys(name);
  EXPECT_GE(s, 0) << name;
  a.Entry(m);
  a.Emit({opNop, opLine, 0, opSysCall, a.Call(true, s, std::move(args)), opTakeSysResult, 0, s});
  a.Emit({opWrite, a.E({T(0)}), opReturn, opEnd});
  return RunProgram(*a.code, {}, std::move(machine));
}

std::string Value(const char* name, std::vector<std::vector<TDatum>> args, uint8_t resultKind) {
  const TRunOutcome r = Print(name, std::move(args), resultKind);
  return r.Error.empty() ? r.Output : r.Error;
}

TEST(Builtins, Mathematics) {
  EXPECT_EQ(Value("sqrt", {{I(4)}}, dkReal), "2.00\n");
  EXPECT_EQ(Value("abs", {{I(-3)}}, dkInteger), "3\n");
  EXPECT_EQ(Value("abs", {{R(-2.5)}}, dkReal), "2.50\n");
  EXPECT_EQ(Value("trunc", {{R(-2.7)}}, dkInteger), "-2\n");
  EXPECT_EQ(Value("round", {{R(2.5)}}, dkInteger), "2\n");
  EXPECT_EQ(Value("round", {{R(3.5)}}, dkInteger), "4\n");
  EXPECT_EQ(Value("sign", {{R(-0.1)}}, dkInteger), "-1\n");
  EXPECT_EQ(Value("sing", {{I(90)}}, dkReal), "1.00\n");
  EXPECT_EQ(Value("arctan2g", {{I(1)}, {I(1)}}, dkReal), "45.00\n");
  EXPECT_EQ(Value("arccosg", {{I(-1)}}, dkReal), "180.00\n");
  EXPECT_EQ(Value("lg", {{I(1000)}}, dkReal), "3.00\n");
  EXPECT_EQ(Value("pi", {}, dkReal), "3.14\n");
}

TEST(Builtins, FloatingPointFaults) {
  const std::string invalid =
      "Непредвиденная ошибка: ''Invalid floating point operation''. Пожалуйста сообщите о ней автору и вышлите "
      "текст этой программы.";
  EXPECT_EQ(Value("sqrt", {{I(-1)}}, dkReal), invalid);
  EXPECT_EQ(Value("arcsin", {{I(2)}}, dkReal), invalid);
  EXPECT_EQ(Value("trunc", {{R(1e10)}}, dkInteger), invalid);
  EXPECT_EQ(Value("ln", {{I(0)}}, dkReal),
            "Непредвиденная ошибка: ''Floating point division by zero''. Пожалуйста сообщите о ней автору и "
            "вышлите текст этой программы.");
  EXPECT_EQ(Value("exp", {{I(1000)}}, dkReal), "Полученное вещественное число превышает допустимые пределы");
}

TEST(Builtins, Strings) {
  EXPECT_EQ(Value("copy", {{S("abcdef")}, {I(1)}, {I(3)}}, dkCharArray), "bcd\n");
  EXPECT_EQ(Value("copy", {{S("abcdef")}, {I(-2)}, {I(2)}}, dkCharArray), "ab\n");
  EXPECT_EQ(Value("copy", {{S("abcdef")}, {I(4)}, {I(10)}}, dkCharArray), "ef\n");
  EXPECT_EQ(Value("copy", {{S("abcdef")}, {I(6)}, {I(1)}}, dkCharArray), "");
  EXPECT_EQ(Value("pos", {{S("cd")}, {S("abcdef")}}, dkInteger), "2\n");
  EXPECT_EQ(Value("pos", {{S("x")}, {S("abcdef")}}, dkInteger), "-1\n");
  EXPECT_EQ(Value("insert", {{S("XY")}, {S("abc")}, {I(1)}}, dkCharArray), "aXYbc\n");
  EXPECT_EQ(Value("insert", {{S("!")}, {S("abc")}, {I(9)}}, dkCharArray), "abc!\n");
  EXPECT_EQ(Value("delete", {{S("abcdef")}, {I(1)}, {I(2)}}, dkCharArray), "adef\n");
  EXPECT_EQ(Value("delete", {{S("abc")}, {I(-1)}, {I(2)}}, dkCharArray), "abc\n");
  EXPECT_EQ(Value("length", {{S("Привет")}}, dkInteger), "6\n");
  EXPECT_EQ(Value("length", {{I(5)}}, dkInteger), "Ожидается массив, а не число.");
}

TEST(Builtins, StringResultsAreSizedPerCall) {
  TAsm a;
  const int m = a.Proc(dkVoid, {}, {}, {dkCharArray});
  const int copy = a.Sys("copy");
  a.Entry(m);
  a.Emit({opNop, opLine, 0});
  for (auto [text, n] : {std::pair{"ab", 1}, std::pair{"abcdef", 6}}) {
    a.Emit({opSysCall, a.Call(true, copy, {{S(text)}, {I(0)}, {I(n)}}), opTakeSysResult, 0, copy});
    a.Emit({opWrite, a.E({T(0)})});
  }
  a.Emit({opReturn, opEnd});
  EXPECT_EQ(RunProgram(*a.code).Output, "aabcdef\n");
}

TEST(Builtins, RgbChecksEachComponent) {
  EXPECT_EQ(Value("RGB", {{I(1)}, {I(2)}, {I(3)}}, dkInteger), "197121\n");
  EXPECT_EQ(Value("RGB", {{I(256)}, {I(0)}, {I(0)}}, dkInteger), "неверно задан красный цвет 256 в формате RGB");
  EXPECT_EQ(Value("RGB", {{I(0)}, {I(-1)}, {I(0)}}, dkInteger), "неверно задан зеленый цвет -1 в формате RGB");
  EXPECT_EQ(Value("RGB", {{I(0)}, {I(0)}, {I(300)}}, dkInteger), "неверно задан синий цвет 300 в формате RGB");
}

TEST(Builtins, TheGeneratorContinuesAcrossRuns) {
  SetRandomSeed(0);
  EXPECT_EQ(Value("random", {{I(1)}}, dkInteger), "0\n");
  // seed 0 -> 1 -> 134775814: u = 134775814 / 2^32, random(1000) = 31.
  EXPECT_EQ(Value("random", {{I(1000)}}, dkInteger), "31\n");
  SetRandomSeed(0);
  NextRandom();
  EXPECT_EQ(RandomSeed(), 1u);
  EXPECT_EQ(NextRandomBelow(1000), 31);
  EXPECT_EQ(NextRandomBelow(-1000), -static_cast<int32_t>((uint64_t{134775814u * 134775813u + 1u} * 1000) >> 32));
  SetRandomSeed(4294967295u);
  for (int i = 0; i < 1000; ++i) {
    const double u = NextRandom();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
}

// Records what the interpreter hands the executor.
class TRecorder : public TNullGrondo {
 public:
  explicit TRecorder(std::string* log, int kind = ekDrawer) : TNullGrondo(kind), log_(log) {}
  void Execute(TProcedure& p) override {
    *log_ += "E" + std::to_string(p.Id);
    for (int i = 0; i < p.Vars.Count(); ++i) *log_ += " " + std::to_string(p.Vars[i].IntValue);
    if (p.Id == 4008) p.Result.BoolValue = 1;
    *log_ += ";";
  }
  void Plot(int code, const TPlotArgs& a) override {
    *log_ += "P" + std::to_string(code) + " " + std::to_string(a.Int[0]) + " " + std::to_string(a.Int[1]) + " " +
             std::to_string(a.Int[2]) + " " + a.Text + ";";
  }
  void ClearCanvas() override { *log_ += "clear;"; }

 private:
  std::string* log_;
};

TRunOutcome Commands(int kind, std::string* log, const std::function<void(TAsm&)>& body) {
  TAsm a(kind);
  const int m = a.Proc(dkVoid, {}, {}, {dkLogical});
  a.Entry(m);
  a.Emit({opNop, opLine, 0});
  body(a);
  a.Emit({opReturn, opEnd});
  return RunProgram(*a.code, {}, std::make_unique<TRecorder>(log, kind));
}

TEST(Builtins, PlotterArgumentsArePrepared) {
  std::string log;
  const TRunOutcome r = Commands(ekDrawer, &log, [](TAsm& a) {
    a.Emit({opSysCall, a.Call(true, a.Sys("Pen"), {{I(255)}, {I(0)}, {I(3)}})});
    a.Emit({opSysCall, a.Call(true, a.Sys("Font"), {{S("Arial")}, {I(12)}, {I(17)}})});
    a.Emit({opSysCall, a.Call(true, a.Sys("FillTo"), {{I(1)}, {I(2)}, {I(0)}})});
    a.Emit({opSysCall, a.Call(true, a.Sys("Pen"), {{I(0x7E000000)}, {I(0)}, {I(1)}})});
  });
  EXPECT_EQ(log, "P2105 33554687 0 3 ;P2107 12 1 0 Arial;P2112 1 2 33554432 ;");
  EXPECT_EQ(r.Error, "Полученное целое число превышает допустимые пределы");
}

TEST(Builtins, ExecutorCommandsAndSensors) {
  std::string log;
  const TRunOutcome r = Commands(ekGrondo, &log, [](TAsm& a) {
    const int forward = a.code->SysProcs.IndexOf(Utf8ToCp1251("вперед"));
    const int wall = a.code->SysProcs.IndexOf(Utf8ToCp1251("впереди_стена"));
    a.Emit({opSysCall, a.Call(true, forward, {{R(2.4)}})});
    a.Emit({opSysCall, a.Call(true, wall, {}, false), opTakeSysResult, 0, wall, opWrite, a.E({T(0)})});
    a.Emit({opSysCall, a.Call(true, a.Sys("clrscr"), {}, false)});
  });
  // Grondo's clrscr clears only the console.
  EXPECT_EQ(log, "E4001 2;E4008;");
  EXPECT_EQ(r.Output, "Истина\n");
  std::string turtle;
  Commands(ekTurtle, &turtle, [](TAsm& a) { a.Emit({opSysCall, a.Call(true, a.Sys("clrscr"), {}, false)}); });
  EXPECT_EQ(turtle, "clear;");
}

class TFailing : public TNullGrondo {
 public:
  TFailing() : TNullGrondo(ekGrondo) {}
  void Execute(TProcedure&) override { RaiseError(Utf8ToCp1251("впереди стена")); }
};

TEST(Builtins, ExecutorErrorsCarryTheirPrefix) {
  TAsm a(ekGrondo);
  const int m = a.Proc(dkVoid);
  a.Entry(m);
  const int forward = a.code->SysProcs.IndexOf(Utf8ToCp1251("вперед"));
  a.Emit({opNop, opLine, 0, opLine, 3, opSysCall, a.Call(true, forward, {{I(1)}}), opReturn, opEnd});
  const TRunOutcome r = RunProgram(*a.code, {}, std::make_unique<TFailing>());
  EXPECT_EQ(r.Error, "Ошибка исполнителя: впереди стена");
  EXPECT_EQ(r.ErrorLine, 3);
}

TEST(RunErrors, EveryCategoryHasItsText) {
  auto text = [](auto error) { return Cp1251ToUtf8(RunErrorText(std::make_exception_ptr(error))); };
  EXPECT_EQ(text(EExecuteException("x")), "x");
  EXPECT_EQ(text(EIntOverflow()), "Полученное целое число превышает допустимые пределы");
  EXPECT_EQ(text(EFloatOverflow()), "Полученное вещественное число превышает допустимые пределы");
  const std::string unexpected =
      "Непредвиденная ошибка: ''%s''. Пожалуйста сообщите о ней автору и вышлите текст этой программы.";
  auto with = [&](const std::string& m) {
    std::string t = unexpected;
    return t.replace(t.find("%s"), 2, m);
  };
  EXPECT_EQ(text(EListIndexError("Bad index")), with("Bad index"));
  EXPECT_EQ(text(ECompileException("too long")), with("too long"));
  EXPECT_EQ(text(std::bad_alloc()), with("Out of memory"));
}

}  // namespace
