// Hand-built p-code for the interpreter's tests: a few helpers to make
// globals, procedures, expressions and call records and to emit cells.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "encoding.h"
#include "interpreter.h"
#include "pcode.h"
#include "session.h"
#include "texthost.h"

// Expression tokens.
inline TDatum I(int32_t v) { return TDatum::Integer(v); }
inline TDatum R(double v) { return TDatum::Real(v); }
inline TDatum C(char v) { return TDatum::Char(static_cast<uint8_t>(v)); }
inline TDatum L(bool v) { return TDatum::Logical(v); }
inline TDatum Op(uint8_t code) { return TDatum::Operator(code); }
inline TDatum S(const std::string& utf8) {
  TDatum d;
  d.Kind = dkCharArray;
  d.SetString(Utf8ToCp1251(utf8));
  return d;
}
inline TDatum Ref(uint8_t kind, int32_t index) {
  TDatum d;
  d.Kind = kind;
  d.IntValue = index;
  return d;
}
inline TDatum G(int32_t i) { return Ref(dkGlobalRef, i); }
inline TDatum Lc(int32_t i) { return Ref(dkLocalRef, i); }
inline TDatum T(int32_t i) { return Ref(dkTempRef, i); }

inline std::unique_ptr<TStackDatum> List(std::initializer_list<TDatum> items) {
  auto e = std::make_unique<TStackDatum>();
  for (const TDatum& d : items) e->Push(TDatum(d));
  return e;
}

// Element of global (or local) i with index expressions.
inline TDatum Item(bool global, int32_t i, std::initializer_list<TDatum> index1,
                   std::initializer_list<TDatum> index2 = {}) {
  TDatum d = Ref(global ? dkGlobalItemRef : dkLocalItemRef, i);
  d.Index1 = List(index1);
  if (index2.size()) d.Index2 = List(index2);
  return d;
}

class TAsm {
 public:
  explicit TAsm(int kind = ekTurtle) : code(std::make_unique<TPseudoCode>(kind)) {}

  int Global(uint8_t kind, int size1 = 0, int size2 = 0) {
    TVar v("g" + std::to_string(code->Globals.Count()), kind);
    if (size1) v.MakeArray(size1);
    if (size2) v.MakeArray2(size2);
    code->Globals.Add(std::move(v));
    return code->Globals.Count() - 1;
  }
  // A user procedure with argument kinds, local kinds and temp kinds.
  int Proc(uint8_t result, std::initializer_list<uint8_t> args = {}, std::initializer_list<uint8_t> locals = {},
           std::initializer_list<uint8_t> temps = {}) {
    auto p = std::make_unique<TProcedure>();
    p->Name = "p" + std::to_string(code->Procs.Count());
    p->Result.Kind = result;
    for (uint8_t k : args) {
      p->Vars.Add(TVar("a", k));
      ++p->ArgCount;
    }
    for (uint8_t k : locals) p->Vars.Add(TVar("v", k));
    for (uint8_t k : temps) p->Temps.Add(TVar("#", k));
    code->Procs.Add(std::move(p));
    return code->Procs.Count() - 1;
  }
  TProcedure& P(int i) { return code->Procs[i]; }
  // Marks the entry of procedure p here.
  void Entry(int p) { code->Procs[p].Entry = code->Pos; }

  int32_t E(std::initializer_list<TDatum> items, int width = 0, int fraction = 0) {
    auto e = List(items);
    e->Result.Width = width;
    e->Result.Fraction = fraction;
    return code->AddExpression(std::move(e));
  }
  // A call record; each argument is an expression's items.
  int32_t Call(bool system, int32_t proc, std::vector<std::vector<TDatum>> args, bool withList = true) {
    auto rec = std::make_unique<TDatum>();
    rec->Kind = system ? dkSysCall : dkCall;
    rec->IntValue = proc;
    if (withList) {
      auto list = std::make_unique<TStackDatum>();
      for (auto& a : args) {
        TDatum item;
        auto expr = std::make_unique<TStackDatum>();
        for (auto& t : a) expr->Push(TDatum(t));
        item.Args = std::move(expr);
        list->Push(std::move(item));
      }
      rec->Args = std::move(list);
    }
    return code->AddCallRecord(std::move(rec));
  }
  int Sys(const char* name) { return code->SysProcs.IndexOf(name); }

  void Emit(std::initializer_list<int32_t> cells) { code->Emit(cells); }
  int32_t Here() const { return code->Pos; }
  void Text(const std::string& utf8) {
    code->Emit(opWriteText);
    code->EmitText(Utf8ToCp1251(utf8));
  }

  std::unique_ptr<TPseudoCode> code;
};

// A finished run: console text (UTF-8), the error (UTF-8) or none.
struct TRunOutcome {
  std::string Output;
  std::string Error;
  int ErrorLine = -1;
  bool Stopped = false;
};

// Runs the program on this thread with a free-running state and the given
// input lines.
inline TRunOutcome RunProgram(TPseudoCode& code, std::vector<std::string> input = {},
                              std::unique_ptr<TGenericGrondo> machine = nullptr) {
  TRunOutcome out;
  size_t next = 0;
  TTextHost host([&](std::string_view t) { out.Output += Cp1251ToUtf8(t); },
                 [&](std::string& line) {
                   if (next >= input.size()) return false;
                   line = Utf8ToCp1251(input[next++]);
                   return true;
                 },
                 true);
  TRunState state;
  state.Events.Set(evRun);
  TExecutor ex(code, host, state, std::move(machine));
  try {
    ex.Run();
  } catch (...) {
    out.Error = Cp1251ToUtf8(RunErrorText(std::current_exception()));
    out.ErrorLine = ex.CurLine;
  }
  host.Finish();
  out.Stopped = state.StoppedByUser.load();
  return out;
}
