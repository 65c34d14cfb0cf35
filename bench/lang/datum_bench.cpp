// Scalar arithmetic and assignment through TDatum: the operations the
// interpreter performs for every statement. Reports operations per second.
#include <benchmark/benchmark.h>

#include "datum.h"
#include "procedure.h"
#include "variables.h"

static void IntegerAdd(benchmark::State& state) {
  TDatum acc = TDatum::Integer(0);
  const TDatum one = TDatum::Integer(1);
  for (auto _ : state) {
    ApplyOperator(ocAdd, acc, one);
    if (acc.IntValue > 1000000000) acc.IntValue = 0;
    benchmark::DoNotOptimize(acc.IntValue);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(IntegerAdd);

static void MixedRealMultiply(benchmark::State& state) {
  TDatum acc = TDatum::Real(1.0);
  const TDatum factor = TDatum::Integer(1);
  for (auto _ : state) {
    ApplyOperator(ocMul, acc, factor);
    benchmark::DoNotOptimize(acc.RealValue);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(MixedRealMultiply);

static void IntegerCompare(benchmark::State& state) {
  const TDatum limit = TDatum::Integer(100);
  TDatum left;
  for (auto _ : state) {
    left = TDatum::Integer(5);
    ApplyOperator(ocLt, left, limit);
    benchmark::DoNotOptimize(left.BoolValue);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(IntegerCompare);

static void CheckedAssignmentToInteger(benchmark::State& state) {
  TVar target("x", dkInteger);
  const TDatum value = TDatum::Real(2.5);
  for (auto _ : state) {
    target.AssignChecked(value, false);
    benchmark::DoNotOptimize(target.IntValue);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CheckedAssignmentToInteger);

static void ElementStoreAndFetch(benchmark::State& state) {
  TDatum array;
  array.Kind = dkInteger;
  array.MakeArray(1000);
  TDatum index = TDatum::Integer(0);
  TDatum element;
  for (auto _ : state) {
    index.IntValue = (index.IntValue + 7) % 1000;
    array.StoreItem(index, index, nullptr);
    element.FetchItem(array, index.IntValue, -1);
    benchmark::DoNotOptimize(element.IntValue);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ElementStoreAndFetch);

static void RecursiveActivation(benchmark::State& state) {
  TProcList procs;
  auto f = std::make_unique<TProcedure>();
  f->Vars.Add(TVar("n", dkInteger));
  f->Temps.Add(TVar("#0", dkLogical));
  f->Temps.Add(TVar("#1", dkInteger));
  f->Result.Kind = dkInteger;
  procs.Add(std::move(f));
  procs.EnterActivation(0).Active = true;
  for (auto _ : state) {
    TProcedure& inner = procs.EnterActivation(0);
    inner.Result.IntValue = 1;
    procs.LeaveActivation(0);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RecursiveActivation);
