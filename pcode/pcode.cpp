#include "pcode.h"

#include <array>
#include <cassert>
#include <cstring>
#include <limits>

#include "errors.h"
#include "string_table.h"
#include "vocabulary.h"

namespace {

constexpr TOpInfo kOps[] = {
#define TARMISY_OP_INFO(code, name, operands) {code, #name, operands},
    TARMISY_OPCODES(TARMISY_OP_INFO)
#undef TARMISY_OP_INFO
};

// Direct lookup by code: the decoder asks for every instruction.
struct TOpIndex {
  std::array<const TOpInfo*, 256> byCode{};
  TOpIndex() {
    for (const TOpInfo& op : kOps) byCode[static_cast<size_t>(op.code)] = &op;
  }
};

const TOpIndex& Index() {
  static const TOpIndex index;
  return index;
}

}  // namespace

const TOpInfo* OpInfo(int32_t code) {
  if (code < 0 || code > 255) return nullptr;
  return Index().byCode[static_cast<size_t>(code)];
}

int OpFixedLength(const TOpInfo& info) { return 1 + static_cast<int>(std::strlen(info.operands)); }

void RegisterBuiltins(TProcList& list, int executorKind) {
  for (const TBuiltinDef* def : BuiltinsFor(executorKind)) {
    auto p = TProcedure::CreateBuiltIn(Str(def->name), {dkVoid}, def->result, def->code);
    for (int i = 0; i < def->argCount; ++i) {
      p->Vars.Add(TVar("", def->args[static_cast<size_t>(i)]));
      ++p->ArgCount;
    }
    list.Add(std::move(p));
  }
}

TPseudoCode::TPseudoCode(int executorKind) : ExecutorKind(executorKind) {
  Capacity = kInitialCapacity;
  Cells.assign(static_cast<size_t>(Capacity), 0);
  RegisterBuiltins(SysProcs, executorKind);
}

TPseudoCode::~TPseudoCode() { ReleaseOperands(); }

void TPseudoCode::Grow() {
  if (Capacity > std::numeric_limits<int32_t>::max() - kGrowth) throw EIntOverflow();
  Capacity += kGrowth;
  Cells.resize(static_cast<size_t>(Capacity), 0);
}

void TPseudoCode::Emit(int32_t value) {
  if (Pos >= Capacity) Grow();
  Cells[static_cast<size_t>(Pos++)] = value;
  CodeSize = Pos;
}

void TPseudoCode::Emit(std::initializer_list<int32_t> values) {
  for (int32_t v : values) Emit(v);
}

void TPseudoCode::EmitText(std::string_view text) {
  for (char c : text) {
    if (c == '\0') break;
    Emit(static_cast<unsigned char>(c));
  }
  Emit(0);
}

std::string TPseudoCode::FetchText() {
  std::string text;
  while (Pos >= 0 && Pos < CodeSize) {
    const int32_t c = Cells[static_cast<size_t>(Pos++)];
    if (c == 0) break;
    text.push_back(static_cast<char>(static_cast<unsigned char>(c)));
  }
  return text;
}

void TPseudoCode::Patch(int32_t index, int32_t value) {
  // Patching is for forward jumps while the code is being written; anything
  // else is a defect of the caller, never of the pupil's program.
  assert(Pos == CodeSize);
  if (index < 0 || index >= CodeSize) throw EUnexpectedFault("Patch outside the written code");
  Cells[static_cast<size_t>(index)] = value;
}

int32_t TPseudoCode::AddExpression(std::unique_ptr<TStackDatum> expr) {
  exprs_.push_back(std::move(expr));
  return static_cast<int32_t>(exprs_.size() - 1);
}

int32_t TPseudoCode::AddCallRecord(std::unique_ptr<TDatum> call) {
  calls_.push_back(std::move(call));
  return static_cast<int32_t>(calls_.size() - 1);
}

void TPseudoCode::ReleaseOperands() {
  exprs_.clear();
  calls_.clear();
}
