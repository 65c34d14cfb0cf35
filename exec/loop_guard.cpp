#include "loop_guard.h"

#include <algorithm>
#include <cstring>

#include "interpreter.h"
#include "pcode.h"
#include "procedure.h"
#include "random.h"
#include "string_table.h"

namespace {

// About this many bytes of snapshot per backward jump, on average: a tight
// loop of a program with a few kilobytes of state is checked every few
// hundred rounds, which still finds a repeating state within a few
// thousand rounds.
constexpr uint64_t kBytesPerJump = 8;

template <typename T>
void Put(std::string& out, const T& v) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &v, sizeof(T));
  out.append(bytes, sizeof(T));
}

void PutDatum(std::string& out, const TDatum& d) {
  Put(out, d.Kind);
  Put(out, d.CharValue);
  Put(out, d.BoolValue);
  Put(out, d.IntValue);
  Put(out, d.RealValue);  // the bits: -0.0 and 0.0 differ, which can only delay a finding
  Put(out, d.Size1);
  Put(out, d.Size2);
  const int n = d.ElementCount();
  if (n <= 0) return;
  if (const int32_t* v = d.Ints()) out.append(reinterpret_cast<const char*>(v), sizeof(int32_t) * static_cast<size_t>(n));
  else if (const double* r = d.Reals()) out.append(reinterpret_cast<const char*>(r), sizeof(double) * static_cast<size_t>(n));
  else if (const uint8_t* c = d.Chars()) out.append(reinterpret_cast<const char*>(c), static_cast<size_t>(n));
  else if (const uint8_t* b = d.Bools()) out.append(reinterpret_cast<const char*>(b), static_cast<size_t>(n));
}

void PutVars(std::string& out, const TVarList& vars) {
  Put(out, vars.Count());
  for (int i = 0; i < vars.Count(); ++i) PutDatum(out, vars[i]);
}

// A procedure's record and every outer activation saved behind it. An
// inactive record counts too: a call starts from its values.
void PutProcedure(std::string& out, const TProcedure& p) {
  for (const TProcedure* r = &p; r; r = r->Outer) {
    Put(out, r->Active);
    Put(out, r->CallerProc);
    Put(out, r->ReturnPos);
    Put(out, r->Depth);
    PutVars(out, r->Vars);
    PutVars(out, r->Temps);
    PutDatum(out, r->Result);
  }
  Put(out, int32_t{-1});
}

// A word at a time: the snapshot is mostly whole numbers.
uint64_t Hash(const std::string& bytes) {
  uint64_t h = 1469598103934665603ull ^ bytes.size();
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    uint64_t w;
    std::memcpy(&w, bytes.data() + i, 8);
    h = (h ^ w) * 0x9E3779B97F4A7C15ull;
    h ^= h >> 29;
  }
  for (; i < bytes.size(); ++i) h = (h ^ static_cast<unsigned char>(bytes[i])) * 1099511628211ull;
  return h;
}

bool ReadsConsole(const TPseudoCode& code) {
  const int32_t size = std::min<int32_t>(code.CodeSize, static_cast<int32_t>(code.Cells.size()));
  for (int32_t p = 0; p < size;) {
    const int32_t op = code.Cells[static_cast<size_t>(p)];
    const TOpInfo* info = OpInfo(op);
    if (!info) return true;  // cannot tell what follows: judge nothing
    if (op >= opReadGlobal && op <= opReadLocalItem2) return true;
    if (op == opWriteText) {
      for (++p; p < size && code.Cells[static_cast<size_t>(p)] != 0; ++p) {
      }
      ++p;
    } else {
      p += OpFixedLength(*info);
    }
  }
  return false;
}

// The line the run goes back to: that of the last line marker before pos
// in the code (a loop's jump lands on its condition, after the marker of
// the loop's line); the line last passed when there is none.
int LineAt(const TPseudoCode& code, int32_t pos, int fallback) {
  const int32_t size = std::min<int32_t>(code.CodeSize, static_cast<int32_t>(code.Cells.size()));
  int line = fallback;
  for (int32_t p = 0; p >= 0 && p <= pos && p < size;) {
    const int32_t op = code.Cells[static_cast<size_t>(p)];
    const TOpInfo* info = OpInfo(op);
    if (!info) break;
    if (op == opLine && p + 1 < size) line = code.Cells[static_cast<size_t>(p + 1)];
    if (op == opWriteText) {
      for (++p; p < size && code.Cells[static_cast<size_t>(p)] != 0; ++p) {
      }
      ++p;
    } else {
      p += OpFixedLength(*info);
    }
  }
  return line;
}

}  // namespace

TLoopGuard::TLoopGuard(const TPseudoCode& code) : active_(!ReadsConsole(code)) {}

void TLoopGuard::Snapshot(TExecutor& executor, std::string& out) {
  const TPauseView view = executor.View();
  const TPseudoCode& code = *view.Code;
  out.clear();
  Put(out, code.Pos);
  Put(out, view.CurProc);
  Put(out, RandomSeed());
  PutVars(out, code.Globals);
  for (int i = 0; i < code.Procs.Count(); ++i) PutProcedure(out, code.Procs[i]);
  // Built-ins keep their arguments and result between calls.
  for (int i = 0; i < code.SysProcs.Count(); ++i) {
    PutVars(out, code.SysProcs[i].Vars);
    PutDatum(out, code.SysProcs[i].Result);
  }
  Put(out, executor.Machine().Kind());
  executor.Machine().AppendState(out);
}

void TLoopGuard::Check(TExecutor& executor) {
  if (!active_ || ++skipped_ < stride_) return;
  skipped_ = 0;
  ++checks_;
  Snapshot(executor, current_);
  stride_ = 1 + current_.size() / kBytesPerJump;
  const uint64_t hash = Hash(current_);
  if (haveAnchor_ && hash == anchorHash_ && current_ == anchor_) {
    const TPauseView view = executor.View();
    line_ = LineAt(*view.Code, view.Code->Pos, view.CurLine);
    executor.CurLine = line_;
    throw ELoopDetected(FormatStr(sLoopDetected, {line_ + 1}), line_);
  }
  if (!haveAnchor_ || ++lambda_ == power_) {
    anchor_.swap(current_);
    anchorHash_ = hash;
    haveAnchor_ = true;
    power_ *= 2;
    lambda_ = 0;
  }
}
