#include "pcode.h"

#include <gtest/gtest.h>

#include "encoding.h"
#include "errors.h"
#include "listing.h"
#include "string_table.h"
#include "vocabulary.h"

namespace {

std::string W(const char* utf8) { return Utf8ToCp1251(utf8); }

// Each executor registers exactly the built-ins the vocabulary gives it, with
// their codes and signatures, so a program can call every one by name.
TEST(PseudoCode, RegistersTheBuiltinsOfEachExecutor) {
  for (int kind = 0; kind < 3; ++kind) {
    TPseudoCode code(kind);
    int expected = 0;
    for (const TBuiltinDef& def : BuiltinTable()) {
      const std::string name = Str(def.name);
      const int i = code.SysProcs.IndexOf(name);
      SCOPED_TRACE(Cp1251ToUtf8(name) + " for executor " + std::to_string(kind));
      if (!IsBuiltinOf(def, kind)) {
        // Grondo and the Turtle share a few spellings ("вперед") for
        // different commands.
        if (i >= 0) {
          EXPECT_NE(code.SysProcs.Item(i).Id, def.code);
        }
        continue;
      }
      ++expected;
      ASSERT_GE(i, 0);
      const TProcedure& p = code.SysProcs.Item(i);
      EXPECT_EQ(p.Id, def.code);
      EXPECT_EQ(p.Result.Kind, def.result);
    }
    EXPECT_EQ(code.SysProcs.Count(), expected);
  }
}

TEST(PseudoCode, StartsEmptyAndGrows) {
  TPseudoCode code(0);
  EXPECT_EQ(code.CodeSize, 0);
  EXPECT_FALSE(code.HasInput);
  EXPECT_FALSE(code.UsesExecutor);
  for (int i = 0; i < 5000; ++i) code.Emit(i);
  EXPECT_EQ(code.CodeSize, 5000);
  code.Restart();
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(code.Fetch(), i);
  EXPECT_EQ(code.Fetch(), opEnd);
  EXPECT_EQ(code.Pos, 5000);
}

TEST(PseudoCode, TextIsOneCellPerByteThenZero) {
  TPseudoCode code(0);
  code.Emit(opWriteText);
  code.EmitText("ab");
  code.EmitText(W("я"));
  EXPECT_EQ(code.CodeSize, 6);
  EXPECT_EQ(code.Cells[1], 97);
  EXPECT_EQ(code.Cells[2], 98);
  EXPECT_EQ(code.Cells[3], 0);
  EXPECT_EQ(code.Cells[4], 255);  // a byte, not a negative char
  code.Restart();
  EXPECT_EQ(code.Fetch(), opWriteText);
  EXPECT_EQ(code.FetchText(), "ab");
  EXPECT_EQ(code.Pos, 4);
  EXPECT_EQ(code.FetchText(), W("я"));
  EXPECT_EQ(code.FetchText(), "");  // at the end: nothing, no overrun
}

TEST(PseudoCode, ZeroByteEndsAText) {
  TPseudoCode code(0);
  code.EmitText(std::string("a\0b", 3));
  EXPECT_EQ(code.CodeSize, 2);
}

TEST(PseudoCode, PatchFillsForwardJumps) {
  TPseudoCode code(0);
  code.Emit({opJump, 0});
  code.Emit(opNop);
  code.Patch(1, code.Pos);
  EXPECT_EQ(code.Cells[1], 3);
  EXPECT_THROW(code.Patch(10, 0), EUnexpectedFault);
}

TEST(PseudoCode, ObjectOperandsAreOwnedAndReleasedOnce) {
  TPseudoCode code(0);
  auto e = std::make_unique<TStackDatum>();
  e->Push(TDatum::Integer(1));
  const int32_t ei = code.AddExpression(std::move(e));
  auto call = std::make_unique<TDatum>();
  call->Kind = dkSysCall;
  call->IntValue = 43;
  const int32_t ci = code.AddCallRecord(std::move(call));
  // An instruction cut short by a translation error: the objects are
  // still freed with the program.
  code.Emit({opAssignGlobalItem2, 0, ei});
  code.Emit(opTranslationError);
  ASSERT_NE(code.Expression(ei), nullptr);
  EXPECT_EQ(code.CallRecord(ci)->IntValue, 43);
  EXPECT_EQ(code.Expression(kNoObject), nullptr);
  EXPECT_EQ(code.Expression(99), nullptr);
  code.ReleaseOperands();
  EXPECT_EQ(code.Expression(ei), nullptr);
  EXPECT_EQ(code.ExpressionCount(), 0);
  code.ReleaseOperands();
}

TEST(PseudoCode, CodesOutsideTheTableHaveNoInstruction) {
  EXPECT_STREQ(OpInfo(opAssignTemp)->name, "opAssignTemp");
  for (int c : {-5, -1, 256, 100000}) EXPECT_EQ(OpInfo(c), nullptr) << c;
}

TEST(Listing, ShowsEveryOperandShape) {
  TPseudoCode code(0);
  auto e = std::make_unique<TStackDatum>();
  e->Push(TDatum::Integer(0));
  TDatum item;
  item.Kind = dkGlobalItemRef;
  item.IntValue = 2;
  item.Index1 = std::make_unique<TStackDatum>();
  item.Index1->Push(TDatum::Char('a'));
  e->Push(std::move(item));
  e->Push(TDatum::Operator(ocSub));
  e->Push(TDatum::Real(1.0));
  e->Push(TDatum::Operator(ocMul));
  code.Emit({opNop, opLine, 1, opAssignTemp, 0, code.AddExpression(std::move(e))});
  auto call = std::make_unique<TDatum>();
  call->Kind = dkSysCall;
  call->IntValue = 43;
  call->Args = std::make_unique<TStackDatum>();
  TDatum arg;
  arg.Args = std::make_unique<TStackDatum>();
  arg.Args->Push(TDatum::Integer(10));
  call->Args->Push(std::move(arg));
  code.Emit({opSysCall, code.AddCallRecord(std::move(call))});
  code.Emit(opWriteText);
  code.EmitText("hi");
  code.Emit({opAssignLocalItem2, 3, kNoObject, kNoObject, kNoObject, opEnd, 77});
  EXPECT_EQ(Listing(code),
            "0 opNop\n"
            "1 opLine 1\n"
            "3 opAssignTemp 0 {0 g2['a'] - 1.0 *}\n"
            "6 opSysCall s43(10)\n"
            "8 opWriteText \"hi\"\n"
            "12 opAssignLocalItem2 3 - - -\n"
            "17 opEnd\n"
            "18 ?77\n");
}

}  // namespace
