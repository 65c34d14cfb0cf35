#include <gtest/gtest.h>

#include "lang_test_util.h"
#include "procedure.h"

namespace {

std::unique_ptr<TProcedure> MakeProc(const std::string& name) {
  auto p = std::make_unique<TProcedure>();
  p->Name = name;
  p->Vars.Add(TVar("n", dkInteger));
  p->Vars.Add(TVar("a", dkInteger));
  p->Vars[1].MakeArray(3);
  p->Result.Kind = dkInteger;
  return p;
}

}  // namespace

TEST(Procedures, BuiltInRegistration) {
  auto none = TProcedure::CreateBuiltIn("pi", {dkVoid}, dkReal, 1018);
  EXPECT_EQ(none->ArgCount, 0);
  EXPECT_EQ(none->Result.Kind, dkReal);
  auto three = TProcedure::CreateBuiltIn("RGB", {dkInteger, dkInteger, dkInteger}, dkInteger, 1019);
  EXPECT_EQ(three->ArgCount, 3);
  EXPECT_EQ(three->Vars[2].Kind, dkInteger);
  EXPECT_EQ(three->Id, 1019);
}

TEST(Procedures, ListIndexAndReplace) {
  TProcList list;
  list.Add(MakeProc("main"));
  list.Add(MakeProc("f"));
  EXPECT_EQ(list.IndexOf("f"), 1);
  EXPECT_EQ(list.IndexOf("F"), -1);
  EXPECT_EQ(ErrorOf([&] { list.Item(2); }), "Неверный индекс процедуры в списке: 2.");
  auto old = list.Replace(1, MakeProc("g"));
  EXPECT_EQ(old->Name, "f");
  EXPECT_EQ(list[1].Name, "g");
}

TEST(Activation, RecursiveCopiesStartFromTheOuterValues) {
  TProcList list;
  list.Add(MakeProc("f"));
  TProcedure& first = list.EnterActivation(0);
  EXPECT_EQ(&first, &list[0]);  // not active: the record itself
  first.Active = true;
  first.Vars[0].IntValue = 5;
  first.Vars[1].Ints()[2] = 9;

  TProcedure& inner = list.EnterActivation(0);
  EXPECT_NE(&inner, &first);
  EXPECT_EQ(&list[0], &inner);  // the slot holds the innermost activation
  EXPECT_EQ(inner.Depth, 1);
  EXPECT_EQ(inner.Outer, &first);
  EXPECT_EQ(inner.Vars[0].IntValue, 5);
  EXPECT_EQ(inner.Vars[1].Ints()[2], 9);
  inner.Vars[0].IntValue = 6;  // does not reach the outer activation
  inner.Vars[1].Ints()[2] = 1;
  EXPECT_EQ(first.Vars[0].IntValue, 5);
  EXPECT_EQ(first.Vars[1].Ints()[2], 9);

  inner.Result.IntValue = 42;
  list.LeaveActivation(0);
  EXPECT_EQ(&list[0], &first);
  EXPECT_EQ(first.Result.IntValue, 42);  // the result reaches the caller's record
  EXPECT_TRUE(first.Active);
  list.LeaveActivation(0);
  EXPECT_FALSE(list[0].Active);
}

TEST(Activation, RecordsKeptForAReplacedProcedureAreNotReused) {
  TProcList list;
  list.Add(MakeProc("f"));
  list.EnterActivation(0).Active = true;
  list.EnterActivation(0);
  list.LeaveActivation(0);  // a record of f is kept for the next recursion
  list.LeaveActivation(0);
  auto g = std::make_unique<TProcedure>();
  g->Name = "g";
  g->Entry = 7;
  g->Vars.Add(TVar("x", dkReal));
  list.Replace(0, std::move(g));
  list[0].Active = true;
  list[0].Vars[0].RealValue = 2.5;
  TProcedure& inner = list.EnterActivation(0);
  EXPECT_EQ(inner.Name, "g");
  EXPECT_EQ(inner.Entry, 7);
  ASSERT_EQ(inner.Vars.Count(), 1);
  EXPECT_EQ(inner.Vars[0].Kind, dkReal);
  EXPECT_EQ(inner.Vars[0].RealValue, 2.5);
}

TEST(Activation, RecursionLimitCountsDepthAboveOneThousand) {
  TProcList list;
  list.Add(MakeProc("f"));
  list.EnterActivation(0).Active = true;  // depth 0
  for (int depth = 1; depth <= kMaxRecursionDepth + 1; ++depth) {
    TProcedure& r = list.EnterActivation(0);
    ASSERT_EQ(r.Depth, depth);
  }
  // The innermost activation has depth 1001: one more call fails.
  EXPECT_EQ(ErrorOf([&] { list.EnterActivation(0); }),
            "Ошибка при выполнении программы: превышен предел в 1000 рекурсивных вызовов.");
  for (int depth = kMaxRecursionDepth + 1; depth >= 0; --depth) list.LeaveActivation(0);
  EXPECT_EQ(list[0].Depth, 0);
  EXPECT_FALSE(list[0].Active);
  // Released records are reused and start from the current values again.
  list[0].Active = true;
  list[0].Vars[0].IntValue = 77;
  EXPECT_EQ(list.EnterActivation(0).Vars[0].IntValue, 77);
}

TEST(Activation, ClearingADeepChainReleasesItsBudget) {
  TProcList list;
  for (int round = 0; round < 2; ++round) {
    list.Add(MakeProc("f"));
    list.EnterActivation(0).Active = true;
    // The second round reaches the full depth only if Clear gave back the
    // memory budget and the records of the first chain.
    for (int i = 0; i < kMaxRecursionDepth; ++i) ASSERT_NO_THROW(list.EnterActivation(0));
    EXPECT_EQ(list[0].Depth, kMaxRecursionDepth);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
  }
}

TEST(Activation, MemoryOfSavedActivationsIsLimited) {
  // Four local arrays of 10000 reals: 320 KB a level, so the memory limit
  // comes well before the recursion limit.
  TProcList list;
  auto p = std::make_unique<TProcedure>();
  for (int i = 0; i < 4; ++i) {
    p->Vars.Add(TVar("a", dkReal));
    p->Vars[i].MakeArray(kMaxArraySize);
  }
  list.Add(std::move(p));
  list.EnterActivation(0).Active = true;
  int levels = 0;
  try {
    for (;;) {
      list.EnterActivation(0);
      ++levels;
    }
  } catch (const EOutOfMemory& e) {
    EXPECT_EQ(e.Message(), "Out of memory");
  }
  EXPECT_GT(levels, 700);
  EXPECT_LT(levels, kMaxRecursionDepth);
  // Returning gives the memory back: the same depth is reached again.
  for (int i = 0; i < levels; ++i) list.LeaveActivation(0);
  EXPECT_EQ(list[0].Depth, 0);
  int again = 0;
  try {
    for (;;) {
      list.EnterActivation(0);
      ++again;
    }
  } catch (const EOutOfMemory&) {
  }
  EXPECT_EQ(again, levels);
}
