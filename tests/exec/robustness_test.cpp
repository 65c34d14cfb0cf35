// Whatever the cells say, the interpreter raises an error or ends: random
// instruction sequences with operands in and out of range, run under the
// sanitizers in CI, must never crash, run past their step budget, or read
// outside a value.
#include <gtest/gtest.h>

#include <random>

#include "asm.h"

namespace {

std::unique_ptr<TPseudoCode> RandomProgram(std::mt19937& rng) {
  TAsm a;
  a.Global(dkInteger);
  a.Global(dkInteger, 5);
  a.Global(dkChar, 6);
  a.Global(dkReal, 2, 3);
  const int m = a.Proc(dkVoid, {}, {dkInteger, dkCharArray}, {dkLogical, dkInteger, dkCharArray});
  a.P(m).Vars[1].Kind = dkChar;
  a.P(m).Vars[1].MakeArray(4);
  const int f = a.Proc(dkInteger, {dkInteger}, {}, {dkLogical});
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const std::vector<int32_t> exprs = {
      a.E({I(1)}), a.E({G(0), I(1), Op(ocAdd)}), a.E({Lc(0), I(3), Op(ocMod)}), a.E({S("ab")}),
      a.E({G(2), S("xyz"), Op(ocAdd)}), a.E({Item(true, 1, {G(0)})}), a.E({Item(true, 3, {I(1)}, {Lc(0)})}),
      a.E({I(1), Op(ocAdd)}), a.E({R(1e300), R(1e300), Op(ocMul)}), a.E({G(1), I(2), Op(ocSub)}),
      a.E({T(2), C('q'), Op(ocAdd)}), a.E({Lc(7)}), a.E({Item(false, 1, {I(2)})}), a.E({L(true), Op(ocNot)}),
      a.E({I(2147483647), Lc(0), Op(ocAdd)}), a.E({G(2)}), a.E({R(2.5), I(0), Op(ocDiv)})};
  const std::vector<int32_t> calls = {
      a.Call(false, f, {{G(0)}}), a.Call(false, f, {}), a.Call(false, 9, {}), a.Call(true, a.Sys("copy"), {{G(2)}, {I(1)}, {I(2)}}),
      a.Call(true, a.Sys("sqrt"), {{G(0)}}), a.Call(true, a.Sys("length"), {{I(3)}}), a.Call(true, 999, {}),
      a.Call(true, a.Sys("clrscr"), {}, false)};
  static const int32_t kOps[] = {opAssignGlobal, opAssignGlobalItem, opAssignGlobalItem2, opAssignLocal,
                                 opAssignLocalItem, opAssignTemp, opTakeResult, opTakeSysResult, opCall,
                                 opSysCall, opSetResult, opReturn, opWrite, opWriteLn, opReadGlobal,
                                 opReadLocalItem, opDecTemp, opJump, opJumpIfFalse, opJumpIfNotPositive,
                                 opLoopBegin, opBreak, opContinue, opEndRepeat, opEndFor, opEndWhile, opLine, 77};
  auto operand = [&](char shape) -> int32_t {
    switch (shape) {
      case 'e': return pick(0, 9) == 0 ? -1 : exprs[static_cast<size_t>(pick(0, static_cast<int>(exprs.size()) - 1))];
      case 'c': return calls[static_cast<size_t>(pick(0, static_cast<int>(calls.size()) - 1))];
      case 'a': return pick(-2, 90);
      default: return pick(-1, 4);
    }
  };
  for (int p : {m, f}) {
    a.Entry(p);
    a.Emit({opNop});
    const int count = pick(5, 30);
    for (int k = 0; k < count; ++k) {
      const int32_t op = kOps[pick(0, static_cast<int>(std::size(kOps)) - 1)];
      a.Emit({op});
      if (const TOpInfo* info = OpInfo(op))
        for (const char* o = info->operands; *o; ++o) a.Emit({operand(*o)});
    }
    a.Emit({opReturn});
  }
  a.Emit({opEnd});
  return std::move(a.code);
}

TEST(Robustness, RandomCodeEndsOrFailsCleanly) {
  std::mt19937 rng(20261208);
  for (int n = 0; n < 400; ++n) {
    auto code = RandomProgram(rng);
    TTextHost host(nullptr, [](std::string& line) {
      line = "7";
      return true;
    }, true);
    TRunState state;
    state.Events.Set(evRun);
    // Loops are likely: the budget ends whatever still runs, the same way
    // on every machine.
    TExecutor ex(*code, host, state, nullptr);
    ex.StepLimit = 5000;
    try {
      ex.Run();
    } catch (const ETarmisyException&) {
    } catch (const std::exception& e) {
      ADD_FAILURE() << "program " << n << ": " << e.what();
    }
  }
}

}  // namespace
