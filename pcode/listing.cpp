#include "listing.h"

#include <charconv>
#include <cstring>

namespace {

const char* OperatorSymbol(int code) {
  switch (code) {
    case ocAdd: return "+";
    case ocSub: return "-";
    case ocMul: return "*";
    case ocDiv: return "/";
    case ocMod: return "%";
    case ocPow: return "^";
    case ocAssign: return "=";
    case ocEq: return "==";
    case ocNe: return "!=";
    case ocLt: return "<";
    case ocLe: return "<=";
    case ocGt: return ">";
    case ocGe: return ">=";
    case ocNot: return "!";
    case ocAnd: return "&";
    case ocOr: return "|";
    case ocInput: return ">>";
    case ocOutput: return "<<";
    default: return nullptr;
  }
}

std::string RealText(double v) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  std::string text(buf, res.ptr);
  // A real always shows that it is one, so 1.0 is not mistaken for 1.
  if (text.find_first_of(".eni") == std::string::npos) text += ".0";
  return text;
}

std::string ItemText(const TDatum& d) {
  switch (d.Kind) {
    case dkLogical: return d.BoolValue ? "true" : "false";
    case dkChar: return std::string("'") + static_cast<char>(d.CharValue) + "'";
    case dkInteger: return std::to_string(d.IntValue);
    case dkReal: return RealText(d.RealValue);
    case dkCharArray: return "\"" + (d.HasBuffer() ? d.AsString() : std::string()) + "\"";
    case dkOperator: {
      const char* s = OperatorSymbol(d.OpCode);
      return s ? s : "op" + std::to_string(d.OpCode);
    }
    case dkGlobalRef: return "g" + std::to_string(d.IntValue);
    case dkLocalRef: return "l" + std::to_string(d.IntValue);
    case dkTempRef: return "t" + std::to_string(d.IntValue);
    case dkGlobalItemRef:
    case dkLocalItemRef: {
      std::string text = (d.Kind == dkGlobalItemRef ? "g" : "l") + std::to_string(d.IntValue);
      if (!d.Index1) return text + "[]";
      text += "[" + ExpressionText(*d.Index1) + "]";
      if (d.Index2) text += "[" + ExpressionText(*d.Index2) + "]";
      return text;
    }
    case dkCall:
    case dkSysCall: return CallRecordText(d);
    default: return "?" + std::to_string(d.Kind);
  }
}

std::string ExpressionOperand(const TStackDatum* e) { return e ? "{" + ExpressionText(*e) + "}" : "-"; }

}  // namespace

std::string ExpressionText(const TStackDatum& expr) {
  std::string text;
  for (const TDatum& item : expr.Postfix()) {
    if (!text.empty()) text += ' ';
    text += ItemText(item);
  }
  return text;
}

std::string CallRecordText(const TDatum& call) {
  std::string text = (call.Kind == dkSysCall ? "s" : "p") + std::to_string(call.IntValue);
  if (!call.Args) return text;
  text += '(';
  // Arguments are pushed in order, so the first argument is at the bottom.
  bool first = true;
  for (const TDatum& arg : call.Args->Postfix()) {
    if (!first) text += ", ";
    first = false;
    text += arg.Args ? ExpressionText(*arg.Args) : std::string("-");
  }
  return text + ')';
}

std::string InstructionText(const TPseudoCode& code, int cell, int* next) {
  auto at = [&](int i) { return i >= 0 && i < code.CodeSize ? code.Cells[static_cast<size_t>(i)] : 0; };
  const int32_t op = at(cell);
  const TOpInfo* info = OpInfo(op);
  if (!info) {
    *next = -1;
    return "?" + std::to_string(op);
  }
  std::string text = info->name;
  int pos = cell + 1;
  for (const char* shape = info->operands; *shape; ++shape) {
    text += ' ';
    if (*shape == 'x') {
      text += '"';
      while (pos < code.CodeSize && at(pos) != 0) text += static_cast<char>(at(pos++));
      ++pos;
      text += '"';
      continue;
    }
    const int32_t v = at(pos++);
    if (*shape == 'e') {
      text += v == kNoObject ? "-" : ExpressionOperand(code.Expression(v));
    } else if (*shape == 'c') {
      const TDatum* c = code.CallRecord(v);
      text += c ? CallRecordText(*c) : "-";
    } else {
      text += std::to_string(v);
    }
  }
  *next = pos;
  return text;
}

std::string Listing(const TPseudoCode& code) {
  std::string out;
  int cell = 0;
  while (cell >= 0 && cell < code.CodeSize) {
    int next = -1;
    out += std::to_string(cell) + ' ' + InstructionText(code, cell, &next) + '\n';
    cell = next;
  }
  return out;
}
