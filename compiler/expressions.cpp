// Expressions, name lookup and call arguments.
//
// An expression becomes one postfix list (TStackDatum) by a shunting-yard
// pass. Calls inside an expression are not part of it: they are emitted as
// instructions ahead of the statement, their results land in temporaries
// "#n" of the current procedure, and the expression refers to those.

#include <vector>

#include "compiler.h"
#include "errors.h"

namespace {

enum TTokenClass {
  tcOperand,       // constant, variable, procedure, built-in
  tcBinary,        // * / % ^ comparisons & |
  tcNot,           // !, not
  tcSign,          // + -
  tcOpen,          // (
  tcClose,         // )
  tcOpenBracket,   // [
  tcCloseBracket,  // ]
  tcString,        // "..."
  tcOther,         // ; , : { } keywords, the end, = >> <<
};

TTokenClass ClassOf(const TToken& t) {
  switch (t.Kind) {
    case tkConstant:
    case tkGlobalVar:
    case tkLocalVar:
    case tkUserProc:
    case tkSysProc: return tcOperand;
    case tkString: return tcString;
    case tkLParen: return tcOpen;
    case tkRParen: return tcClose;
    case tkLBracket: return tcOpenBracket;
    case tkRBracket: return tcCloseBracket;
    case tkOperator:
      if (t.Code == ocAdd || t.Code == ocSub) return tcSign;
      if (t.Code == ocNot) return tcNot;
      if (t.Code == ocAssign || t.Code == ocInput || t.Code == ocOutput) return tcOther;
      return tcBinary;
    default: return tcOther;
  }
}

// Whether cur may not follow prev.
bool Rejected(TTokenClass cur, TTokenClass prev) {
  const bool afterValue = prev == tcOperand || prev == tcClose || prev == tcCloseBracket;
  switch (cur) {
    case tcOperand:
    case tcOpen:
    case tcOpenBracket: return afterValue;
    case tcBinary:
    case tcClose: return !afterValue && prev != tcString;
    case tcNot: return afterValue || prev == tcNot;
    case tcSign: return prev == tcBinary || prev == tcNot || prev == tcSign;
    default: return false;
  }
}

// An open parenthesis on the operator stack.
constexpr uint8_t kOpenMarker = 0;

int Priority(uint8_t code) {
  switch (code) {
    case ocPow: return 8;
    case ocMul:
    case ocDiv:
    case ocMod: return 7;
    case ocNot: return 6;
    case ocAdd:
    case ocSub: return 5;
    case ocAnd: return 3;
    case ocOr: return 2;
    case kOpenMarker: return 1;
    default: return code >= ocEq && code <= ocGe ? 4 : 0;
  }
}

TDatum ConstantOf(const TToken& t) {
  switch (t.ValueType) {
    case dkLogical: return TDatum::Logical(t.Text == "1");
    case dkChar: return TDatum::Char(static_cast<uint8_t>(t.Text.empty() ? 0 : t.Text[0]));
    case dkReal: return TDatum::Real(RealOfText(t.Text));
    default: return TDatum::Integer(IntegerOfText(t.Text));
  }
}

}  // namespace

int TCompiler::AddTemp(TProcedure* proc, uint8_t kind) {
  const int index = proc->Temps.Count();
  proc->Temps.Add(TVar("#" + std::to_string(index), kind));
  return index;
}

int32_t TCompiler::AddExpr(std::unique_ptr<TStackDatum> e) { return Prog->AddExpression(std::move(e)); }

int TCompiler::LookupName(TProcedure* proc, bool inStatement) {
  if (Token.Kind != tkIdentifier) return 0;
  if (const std::string* english = vocab_.EnglishName(Token.Text)) Token.Text = *english;

  bool isVar = false;
  const TVar* var = nullptr;
  if (const int g = Prog->Globals.IndexOf(Token.Text); g >= 0) {
    var = &Prog->Globals[g];
    Token.Kind = tkGlobalVar;
    Token.Index = g;
    isVar = true;
  }
  if (proc) {
    if (const int l = proc->Vars.IndexOf(Token.Text); l >= 0) {
      var = &proc->Vars[l];
      Token.Kind = tkLocalVar;
      Token.Index = l;
      isVar = true;
    }
  }
  if (var) Token.ValueType = var->Kind;

  // A procedure of the same name wins over a variable only when called.
  auto nextIsParen = [this] {
    const TScanState saved = SaveState();
    const int32_t line = Line, col = Col;
    NextToken();
    const bool paren = Token.Kind == tkLParen;
    Token2 = saved.Token2;
    Token1 = saved.Token1;
    Token = saved.Token;
    Line = line;
    Col = col;
    return paren;
  };
  auto takeProc = [&](const TProcList& list, int p, TStrId noResult, uint8_t kind) {
    if (p < 0) return;
    const TProcedure& target = list[p];
    if (!inStatement && target.Result.Kind == dkVoid) Error(FormatStr(noResult, {target.Name}));
    if (isVar && !nextIsParen()) return;
    Token.Kind = kind;
    Token.Index = p;
    Token.ValueType = target.Result.Kind;
    var = nullptr;
  };
  takeProc(Prog->SysProcs, FindSysProc(Token.Text), sSysProcNoResult, tkSysProc);
  takeProc(Prog->Procs, FindProc(Token.Text), sProcNoResult, tkUserProc);

  if (!var || !IsArrayKind(var->Kind)) return 0;
  return var->Size2 > 0 ? 2 : 1;
}

// expression -> operand { operator operand }, with "(" ")", leading signs,
// element references and calls as operands
std::unique_ptr<TStackDatum> TCompiler::CompileExpression(TProcedure* proc, bool allowWholeArray) {
  TNestingGuard guard(*this);
  auto out = std::make_unique<TStackDatum>();
  std::vector<uint8_t> ops;
  int depth = 0;
  bool operandExpected = true;

  for (bool more = true; more;) {
    NextToken();
    const int dims = LookupName(proc, false);
    if (Token.Kind == tkIdentifier) NotUnderstood();
    const TTokenClass cls = ClassOf(Token);
    if (cls == tcCloseBracket || cls == tcOther) {
      if (out->IsEmpty() && ops.empty()) {
        if (Token.Kind == tkRBracket) ExpectedStr(sWhatNumberOrExpression);
        NotUnderstood();
      }
      // An expression cut short after an operator or "(" ("x = a + ;")
      // is refused here rather than failing when the program runs.
      if (Rejected(tcBinary, ClassOf(Token1))) Error(FormatStr(sBadFormula, {Token.Text}));
      UngetToken();
      break;
    }
    if (Rejected(cls, ClassOf(Token1))) Error(FormatStr(sBadFormula, {Token.Text}));

    switch (cls) {
      case tcOpen:
        ops.push_back(kOpenMarker);
        ++depth;
        operandExpected = true;
        break;
      case tcClose:
        if (depth == 0) {  // the caller's parenthesis
          UngetToken();
          more = false;
          break;
        }
        --depth;
        for (;;) {
          if (ops.empty()) ErrorStr(sMissingOpenParen);
          const uint8_t top = ops.back();
          ops.pop_back();
          if (top == kOpenMarker) break;
          out->Push(TDatum::Operator(top));
        }
        operandExpected = false;
        break;
      case tcBinary:
      case tcNot:
      case tcSign: {
        const uint8_t code = Token.Code;
        // A leading sign is 0 + x or 0 - x.
        if (operandExpected && (code == ocAdd || code == ocSub)) out->Push(TDatum::Integer(0));
        // "not" is a prefix operator: it has no left operand, so it must not
        // pop the binary operator before it (a * not b would otherwise
        // leave "*" with one operand).
        while (code != ocNot && !ops.empty() && Priority(ops.back()) >= Priority(code)) {
          out->Push(TDatum::Operator(ops.back()));
          ops.pop_back();
        }
        ops.push_back(code);
        operandExpected = code >= ocEq && code <= ocOr;
        break;
      }
      case tcString: {
        TDatum s;
        s.Kind = dkCharArray;
        s.SetString(Token.Text);
        out->Push(std::move(s));
        operandExpected = false;
        break;
      }
      case tcOperand:
        if (Token.Kind == tkConstant) {
          out->Push(ConstantOf(Token));
        } else if (Token.Kind == tkUserProc || Token.Kind == tkSysProc) {
          CompileCallInExpression(proc, *out);
        } else {
          const bool global = Token.Kind == tkGlobalVar;
          const bool isString = Token.ValueType == dkCharArray && dims == 1;
          TDatum item;
          item.Kind = global ? dkGlobalRef : dkLocalRef;
          item.IntValue = Token.Index;
          if (dims > 0) {
            const uint8_t itemRef = global ? dkGlobalItemRef : dkLocalItemRef;
            NextToken();
            if (!global && InArguments &&
                (Token.Kind == tkLParen || Token.Kind == tkRParen || Token.Kind == tkComma)) {
              // A local array given whole as an argument, of any element type.
              if (!out->IsEmpty()) ExpectedStr(sWhatArrayIndex);
              UngetToken();
              item.Kind = itemRef;
            } else if (Token.Kind == tkLBracket) {
              item.Index1 = CompileExpression(proc, false);
              NextTokenRequired();
              if (Token.Kind != tkRBracket) Expected(FormatStr(sWhatClosingBracket, {"]"}));
              if (dims == 2) {
                NextTokenRequired();
                if (Token.Kind != tkLBracket) ExpectedStr(sWhatArrayIndex);
                item.Index2 = CompileExpression(proc, false);
                NextTokenRequired();
                if (Token.Kind != tkRBracket) Expected(FormatStr(sWhatClosingBracket, {"]"}));
              }
              item.Kind = itemRef;
            } else {
              UngetToken();
              if (!allowWholeArray && !isString) ExpectedStr(sWhatArrayIndex);
              item.Kind = itemRef;
            }
          }
          out->Push(std::move(item));
        }
        operandExpected = false;
        break;
      default:  // a stray "["
        break;
    }
  }

  if (depth > 0) Error(FormatStr(sMissingCloseParen, {")"}));
  while (!ops.empty()) {
    out->Push(TDatum::Operator(ops.back()));
    ops.pop_back();
  }
  return out;
}

// A function used as a value: its call is emitted now, its result taken
// into a fresh temporary, and the expression reads the temporary.
void TCompiler::CompileCallInExpression(TProcedure* proc, TStackDatum& out) {
  auto call = std::make_unique<TDatum>();
  call->Kind = Token.Kind == tkUserProc ? dkCall : dkSysCall;
  call->IntValue = Token.Index;
  CompileArguments(proc, *call);
  const bool user = call->Kind == dkCall;
  const int p = call->IntValue;  // "random" may have become "randomu"
  const uint8_t resultKind = (user ? Prog->Procs[p] : Prog->SysProcs[p]).Result.Kind;
  Prog->Emit({user ? opCall : opSysCall, Prog->AddCallRecord(std::move(call))});
  const int t = AddTemp(proc, resultKind);
  Prog->Emit({user ? opTakeResult : opTakeSysResult, t, p});
  TDatum ref;
  ref.Kind = dkTempRef;
  ref.IntValue = t;
  out.Push(std::move(ref));
}

// arguments -> [ "(" [ expression { "," expression } ] ")" ]
void TCompiler::CompileArguments(TProcedure* proc, TDatum& call) {
  // A flag, not a count: a nested call's list clears it for the rest of
  // the outer list as well.
  struct TClearOnExit {
    bool& flag;
    ~TClearOnExit() { flag = false; }
  } clear{InArguments};
  InArguments = true;

  const bool user = call.Kind == dkCall;
  const TProcedure* target = user ? &Prog->Procs[call.IntValue] : &Prog->SysProcs[call.IntValue];
  if (!user && target->Id >= 2001 && target->Id <= 4022 && !(target->Id == 2114 && Prog->ExecutorKind == 2))
    Prog->UsesExecutor = true;

  NextTokenRequired();
  if (Token.Kind != tkLParen) {
    // "random" without arguments is a real random number.
    if (!user && target->ArgCount > 0 && target->Id == 1016) {
      for (int i = 0; i < Prog->SysProcs.Count(); ++i) {
        if (Prog->SysProcs[i].Id == 1017) {
          call.IntValue = i;
          target = &Prog->SysProcs[i];
          break;
        }
      }
    }
    if (target->ArgCount > 0) Error(FormatStr(sNotEnoughArgs, {target->Name}));
    UngetToken();
    return;
  }

  call.Args = std::make_unique<TStackDatum>();
  if (target->ArgCount == 0) {
    NextTokenRequired();
    if (Token.Kind != tkRParen) Expected(FormatStr(sWhatClosingBracket, {")"}));
    return;
  }
  for (int n = 0;;) {
    NextTokenRequired();
    if (Token.Kind == tkRParen) Error(FormatStr(sNotEnoughArgs, {target->Name}));
    UngetToken();
    TDatum arg;
    arg.Args = CompileExpression(proc, false);
    call.Args->Push(std::move(arg));
    NextTokenRequired();
    if (++n == target->ArgCount) {
      if (Token.Kind != tkRParen) Expected(FormatStr(sWhatClosingBracket, {")"}));
      return;
    }
    if (Token.Kind != tkComma) ExpectedStr(sWhatComma);
  }
}

// index -> "[" expression "]"
std::unique_ptr<TStackDatum> TCompiler::CompileIndex(TProcedure* proc, bool required) {
  NextTokenRequired();
  if (!required) {
    // The text decides, not the kind: "==" and a literal such as "," or ';'
    // also leave the index out.
    const char first = Token.Text.empty() ? '\0' : Token.Text[0];
    const bool noIndex = first == ',' || first == ';' || first == '=' ||
                         (Token.Kind == tkOperator && Token.Code == ocInput);
    if (noIndex) {
      UngetToken();
      return nullptr;
    }
  }
  if (Token.Kind != tkLBracket) ExpectedStr(sWhatArrayIndex);
  auto e = CompileExpression(proc, false);
  NextTokenRequired();
  if (Token.Kind != tkRBracket) Expected(FormatStr(sWhatClosingBracket, {"]"}));
  return e;
}

// assigned value -> "=" expression
std::unique_ptr<TStackDatum> TCompiler::CompileAssignedValue(TProcedure* proc) {
  NextTokenRequired();
  if (Token.Kind != tkOperator || Token.Code != ocAssign) ExpectedStr(sWhatEqualsSign);
  return CompileExpression(proc, false);
}

// condition -> expression, then one token for the caller to check
std::unique_ptr<TStackDatum> TCompiler::CompileCondition(TProcedure* proc) {
  auto e = CompileExpression(proc, false);
  NextTokenRequired();
  AddTemp(proc, dkLogical);
  return e;
}
