#include "pcode.h"

#include <gtest/gtest.h>

#include "encoding.h"
#include "errors.h"
#include "listing.h"

namespace {

std::string W(const char* utf8) { return Utf8ToCp1251(utf8); }

TEST(PseudoCode, RegistersTheBuiltinsOfEachExecutorInOrder) {
  TPseudoCode turtle(0), drawer(1), grondo(2);
  ASSERT_EQ(turtle.SysProcs.Count(), 63);
  ASSERT_EQ(drawer.SysProcs.Count(), 59);
  ASSERT_EQ(grondo.SysProcs.Count(), 53);
  EXPECT_EQ(turtle.SysProcs.Item(0).Name, "trunc");
  EXPECT_EQ(turtle.SysProcs.Item(0).Id, 1001);
  EXPECT_EQ(turtle.SysProcs.Item(31).Name, "clrscr");
  EXPECT_EQ(turtle.SysProcs.Item(43).Name, W("вперед"));
  EXPECT_EQ(turtle.SysProcs.Item(43).Id, 3001);
  EXPECT_EQ(turtle.SysProcs.Item(43).ArgCount, 1);
  EXPECT_EQ(turtle.SysProcs.Item(43).Vars.Item(0).Kind, dkInteger);
  EXPECT_EQ(turtle.SysProcs.Item(43).Result.Kind, dkVoid);
  EXPECT_EQ(turtle.SysProcs.IndexOf("Arc"), 52);
  EXPECT_EQ(turtle.SysProcs.Item(52).ArgCount, 6);
  EXPECT_EQ(turtle.SysProcs.Item(52).Vars.Item(5).Kind, dkReal);
  EXPECT_EQ(drawer.SysProcs.Item(43).Id, 2005);
  EXPECT_EQ(drawer.SysProcs.IndexOf(W("вперед")), -1);
  EXPECT_EQ(grondo.SysProcs.Item(32).Name, W("вперед"));
  EXPECT_EQ(grondo.SysProcs.Item(32).Id, 4001);
  EXPECT_EQ(grondo.SysProcs.IndexOf(W("налево")), 34);
  EXPECT_EQ(grondo.SysProcs.Item(34).ArgCount, 0);
  EXPECT_EQ(grondo.SysProcs.Item(52).Id, 4022);
  EXPECT_EQ(grondo.SysProcs.Item(52).Result.Kind, dkLogical);
  EXPECT_EQ(grondo.SysProcs.IndexOf("MoveTo"), -1);
  EXPECT_EQ(grondo.SysProcs.IndexOf("randomu"), 23);
  EXPECT_EQ(grondo.SysProcs.Item(23).ArgCount, 0);
  EXPECT_EQ(grondo.SysProcs.IndexOf("insert"), 27);
  EXPECT_EQ(grondo.SysProcs.Item(27).Result.Kind, dkCharArray);
}

TEST(PseudoCode, StartsEmptyAndGrowsByBlocks) {
  TPseudoCode code(0);
  EXPECT_EQ(code.Capacity, 4096);
  EXPECT_EQ(code.CodeSize, 0);
  EXPECT_FALSE(code.HasInput);
  EXPECT_FALSE(code.UsesExecutor);
  for (int i = 0; i < 5000; ++i) code.Emit(i);
  EXPECT_EQ(code.Capacity, 4096 + 1024);
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

TEST(PseudoCode, InstructionTableIsConsistent) {
  EXPECT_STREQ(OpInfo(opAssignTemp)->name, "opAssignTemp");
  EXPECT_STREQ(OpInfo(254)->operands, "n");
  EXPECT_EQ(OpInfo(1), nullptr);
  EXPECT_EQ(OpInfo(102), nullptr);
  EXPECT_EQ(OpInfo(-5), nullptr);
  EXPECT_EQ(OpInfo(256), nullptr);
  EXPECT_EQ(OpFixedLength(*OpInfo(opAssignGlobalItem2)), 5);
  EXPECT_EQ(OpFixedLength(*OpInfo(opDecTemp)), 2);
  int defined = 0;
  for (int c = 0; c < 256; ++c) defined += OpInfo(c) != nullptr;
  EXPECT_EQ(defined, 36);
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
