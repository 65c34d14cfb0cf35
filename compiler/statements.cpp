// Statements: each into its fixed instruction pattern. Every statement
// starts with opLine, where the debugger stops. Loops keep the exact shapes
// that break and continue rely on (see pcode_ops.h): the cells just before
// a loop's end instruction are its continuation jump.

#include "compiler.h"
#include "errors.h"

namespace {

bool IsKeyword(const TToken& t, int keyword) { return t.Kind == tkKeyword && t.Code == keyword; }
bool IsOperator(const TToken& t, int code) { return t.Kind == tkOperator && t.Code == code; }

}  // namespace

// block -> { statement } "}"      (isBody)
//        | statement              (a control statement's single statement)
void TCompiler::CompileBlock(TProcedure* proc, bool isBody) {
  TNestingGuard guard(*this);
  for (;;) {
    NextTokenRequired();
    if (Token.Kind == tkRBrace) return;
    if (!isBody && (Token1.Kind == tkSemicolon || Token1.Kind == tkRBrace)) return;

    switch (Token.Kind) {
      case tkLBrace: Error(FormatStr(sExtraBracket, {"{"}));
      case tkLParen: Error(FormatStr(sExtraBracket, {"("}));
      case tkIdentifier: {
        const int dims = LookupName(proc, true);
        if (Token.Kind == tkGlobalVar || Token.Kind == tkLocalVar) {
          CompileAssignment(proc, dims);
        } else if (Token.Kind == tkUserProc || Token.Kind == tkSysProc) {
          CompileCallStatement(proc);
        } else if (vocab_.IsPlotterOnlyName(Token.Text)) {
          Error(FormatStr(sPlotterOnly, {Token.Text}));
        } else {
          NotUnderstood();
        }
        break;
      }
      case tkKeyword:
        switch (Token.Code) {
          case kwVoid:
          case kwLogical:
          case kwChar:
          case kwInteger:
          case kwReal:
            UngetToken();
            DeclareVariables(proc, proc->Vars, dmLocals);
            break;
          case kwRepeat:
          case kwWhile:
            ++LoopDepth;
            CompileLoop(proc);
            --LoopDepth;
            break;
          case kwFor:
            ++LoopDepth;
            CompileFor(proc);
            --LoopDepth;
            break;
          case kwPrint: CompileOutput(proc, leStay, ioList); break;
          case kwCout: CompileOutput(proc, leStay, ioStream); break;
          case kwPrintLn: CompileOutput(proc, leNewLine, ioList); break;
          case kwCoutLn: CompileOutput(proc, leNewLine, ioStream); break;
          case kwInput: CompileInput(proc, ioList); break;
          case kwCin: CompileInput(proc, ioStream); break;
          case kwReturn: CompileReturn(proc); break;
          case kwIf: CompileIf(proc); break;
          case kwBreak:
          case kwContinue: CompileBreakContinue(); break;
          default: NotUnderstood();  // "иначе" without "если"
        }
        break;
      default:
        // ";" and other stray tokens: an assignment leaves its ";" here.
        break;
    }
  }
}

// body -> "{" block | statement
void TCompiler::CompileStatementOrBlock(TProcedure* proc) {
  NextTokenRequired();
  if (Token.Kind == tkLBrace) {
    CompileBlock(proc, true);
    return;
  }
  UngetToken();
  CompileBlock(proc, false);
  // The token that ended the statement belongs to the caller ("иначе", or
  // the next statement).
  UngetToken();
}

// assignment -> variable [ "[" expr "]" [ "[" expr "]" ] ] "=" expression
// The ";" is left to the block.
void TCompiler::CompileAssignment(TProcedure* proc, int dims) {
  const bool global = Token.Kind == tkGlobalVar;
  const int v = Token.Index;
  const uint8_t kind = Token.ValueType;
  Prog->Emit({opLine, Token.Line});
  if (dims == 0) {
    auto e = CompileAssignedValue(proc);
    Prog->Emit({global ? opAssignGlobal : opAssignLocal, v, AddExpr(std::move(e))});
  } else if (dims == 1) {
    auto i = CompileIndex(proc);
    auto e = CompileAssignedValue(proc);
    if (i) {
      Prog->Emit({global ? opAssignGlobalItem : opAssignLocalItem, v, AddExpr(std::move(i)), AddExpr(std::move(e))});
    } else {
      // Checked once the value is read: the value's own errors come first.
      if (kind != dkCharArray) ErrorStr(sWholeArrayAssign);
      Prog->Emit({global ? opAssignGlobal : opAssignLocal, v, AddExpr(std::move(e))});
    }
  } else {
    // A table is assigned element by element; both indexes are required.
    auto i = CompileIndex(proc, true);
    auto j = CompileIndex(proc, true);
    auto e = CompileAssignedValue(proc);
    Prog->Emit({global ? opAssignGlobalItem2 : opAssignLocalItem2, v, AddExpr(std::move(i)), AddExpr(std::move(j)),
                AddExpr(std::move(e))});
  }
}

// call -> name [ "(" arguments ")" ] ";"
void TCompiler::CompileCallStatement(TProcedure* proc) {
  Prog->Emit({opLine, Token.Line});
  auto call = std::make_unique<TDatum>();
  const bool user = Token.Kind == tkUserProc;
  call->Kind = user ? dkCall : dkSysCall;
  call->IntValue = Token.Index;
  CompileArguments(proc, *call);
  Prog->Emit({user ? opCall : opSysCall, Prog->AddCallRecord(std::move(call))});
  NextTokenRequired();
  if (Token.Kind != tkSemicolon) ExpectedStr(sWhatSemicolon);
}

// если "(" condition ")" body [ иначе body ]
void TCompiler::CompileIf(TProcedure* proc) {
  Prog->Emit({opLine, Token.Line});
  NextTokenRequired();
  if (Token.Kind != tkLParen) Expected(FormatStr(sWhatOpeningBracket, {"("}));
  auto cond = CompileCondition(proc);
  if (Token.Kind != tkRParen) Expected(FormatStr(sWhatClosingBracket, {")"}));
  const int t = proc->Temps.Count() - 1;
  Prog->Emit({opAssignTemp, t, AddExpr(std::move(cond))});
  Prog->Emit({opJumpIfFalse, t, 0});
  const int32_t elseJump = Prog->Pos - 1;
  CompileStatementOrBlock(proc);
  Prog->Emit({opJump, 0});
  const int32_t endJump = Prog->Pos - 1;
  Prog->Patch(elseJump, Prog->Pos);
  NextToken();
  if (IsKeyword(Token, kwElse))
    CompileStatementOrBlock(proc);
  else
    UngetToken();
  Prog->Patch(endJump, Prog->Pos);
}

// пока "(" condition ")" body  |  повтори "(" count ")" body
void TCompiler::CompileLoop(TProcedure* proc) {
  const bool isRepeat = Token.Code == kwRepeat;
  Prog->Emit({opLoopBegin, opLine, Token.Line});
  NextTokenRequired();
  if (Token.Kind != tkLParen) Expected(FormatStr(sWhatOpeningBracket, {"("}));
  int32_t top = Prog->Pos;  // "пока" evaluates its condition, calls included, every round
  auto e = CompileExpression(proc, false);
  NextTokenRequired();
  if (Token.Kind != tkRParen) Expected(FormatStr(sWhatClosingBracket, {")"}));
  const int t = AddTemp(proc, isRepeat ? dkInteger : dkLogical);
  Prog->Emit({opAssignTemp, t, AddExpr(std::move(e))});
  if (isRepeat) top = Prog->Pos;  // the count is evaluated once
  Prog->Emit({isRepeat ? opJumpIfNotPositive : opJumpIfFalse, t, 0});
  const int32_t exitJump = Prog->Pos - 1;
  CompileStatementOrBlock(proc);
  const int32_t next = Prog->Pos;  // where "продолжить" goes on: the next round
  if (isRepeat) Prog->Emit({opDecTemp, t});
  Prog->Emit({opJump, top});
  Prog->Patch(exitJump, Prog->Pos);
  Prog->Emit({isRepeat ? opEndRepeat : opEndWhile, next});
}

// цикл "(" assignment ";" condition ";" assignment ")" body
void TCompiler::CompileFor(TProcedure* proc) {
  Prog->Emit({opLoopBegin, opLine, Token.Line});
  NextTokenRequired();
  if (Token.Kind != tkLParen) Expected(FormatStr(sWhatOpeningBracket, {"("}));

  auto assignment = [&] {
    NextTokenRequired();
    const int dims = LookupName(proc, true);
    if (Token.Kind != tkGlobalVar && Token.Kind != tkLocalVar) ExpectedStr(sWhatVarName);
    CompileAssignment(proc, dims);
  };

  assignment();
  NextTokenRequired();
  if (Token.Kind != tkSemicolon) ExpectedStr(sWhatSemicolon);

  const int32_t condition = Prog->Pos;
  auto cond = CompileCondition(proc);
  if (Token.Kind != tkSemicolon) ExpectedStr(sWhatSemicolon);
  const int t = proc->Temps.Count() - 1;
  Prog->Emit({opAssignTemp, t, AddExpr(std::move(cond))});
  Prog->Emit({opJumpIfFalse, t, 0});
  const int32_t exitJump = Prog->Pos - 1;
  Prog->Emit({opJump, 0});
  const int32_t bodyJump = Prog->Pos - 1;

  const int32_t step = Prog->Pos;
  assignment();
  NextTokenRequired();
  if (Token.Kind != tkRParen) Expected(FormatStr(sWhatClosingBracket, {")"}));
  Prog->Emit({opJump, condition});

  Prog->Patch(bodyJump, Prog->Pos);
  CompileStatementOrBlock(proc);
  const int32_t next = Prog->Pos;
  Prog->Emit({opJump, step});
  Prog->Patch(exitJump, Prog->Pos);
  Prog->Emit({opEndFor, next});
}

// прервать ";"  |  продолжить ";"
void TCompiler::CompileBreakContinue() {
  const bool isBreak = Token.Code == kwBreak;
  if (LoopDepth == 0) Error(FormatStr(sOutsideLoop, {Token.Text}));
  Prog->Emit({opLine, Token.Line});
  NextTokenRequired();
  if (Token.Kind != tkSemicolon) ExpectedStr(sWhatSemicolon);
  Prog->Emit(isBreak ? opBreak : opContinue);
}

// возврат [ expression ] ";"
void TCompiler::CompileReturn(TProcedure* proc) {
  NextTokenRequired();
  Prog->Emit({opLine, Token.Line});
  if (Token.Kind == tkSemicolon) {
    if (proc->Result.Kind != dkVoid) Error(FormatStr(sResultRequired, {proc->Name}));
    Prog->Emit(opReturn);
    return;
  }
  UngetToken();
  auto e = CompileExpression(proc, false);
  Prog->Emit({opSetResult, AddExpr(std::move(e)), opReturn});
  NextTokenRequired();
  if (Token.Kind != tkSemicolon) ExpectedStr(sWhatSemicolon);
}

// вывод item { "," item } ";"        выводстр [ item { "," item } ] ";"
// cout { "<<" item } ";"             coutln { "<<" item } ";"
// item -> "text" | expression [ ":" [ "-" ] width [ ":" fraction ] ]
void TCompiler::CompileOutput(TProcedure* proc, TLineEnd end, TIoForm form) {
  const bool isLine = end == leNewLine, isStream = form == ioStream;
  enum { sFirst, sItem, sAfter } state = isStream ? sAfter : sFirst;
  Prog->HasInput = true;
  Prog->Emit({opLine, Token.Line});
  TStackDatum* current = nullptr;  // the item just written, when an expression

  for (;;) {
    NextTokenRequired();
    LookupName(proc, false);
    if (state != sAfter) {
      if (state == sFirst && isLine && Token.Kind == tkSemicolon) break;
      if (Token.Kind == tkKeyword) Error(FormatStr(sKeywordNotAllowed, {Token.Text}));
      if (Token.Kind == tkString) {
        Prog->Emit(opWriteText);
        Prog->EmitText(Token.Text);
        current = nullptr;
      } else {
        UngetToken();
        auto e = CompileExpression(proc, true);
        current = e.get();
        Prog->Emit({opWrite, AddExpr(std::move(e))});
      }
      state = sAfter;
      continue;
    }

    if (Token.Kind == tkSemicolon) break;
    if (Token.Kind != tkColon) {
      if (isStream && !IsOperator(Token, ocOutput)) Expected(FormatStr(sWhatOperator, {"<<"}));
      if (!isStream && Token.Kind != tkComma) ExpectedStr(sWhatCommaOrSemicolon);
      current = nullptr;
      state = sItem;
      continue;
    }

    // ":" [ "-" ] width [ ":" fraction ]
    NextTokenRequired();
    int sign = 1;
    if (IsOperator(Token, ocSub)) {
      sign = -1;
      NextTokenRequired();
    }
    if (Token.Kind != tkConstant || Token.ValueType != dkInteger) ExpectedStr(sWhatInteger);
    const int width = IntegerOfText(Token.Text);
    if (width < 1 || width > 100) Error(FormatStr(sFieldWidthRange, {1, 100}));
    if (!current) ErrorStr(sBadFormatting);
    current->Result.Width = sign * width;
    NextTokenRequired();
    if (Token.Kind == tkColon) {
      NextTokenRequired();
      if (Token.Kind != tkConstant || Token.ValueType != dkInteger) ExpectedStr(sWhatInteger);
      const int fraction = IntegerOfText(Token.Text);
      if (fraction > 20) Error(FormatStr(sFractionRange, {0, 20}));
      current->Result.Fraction = fraction;
    } else if (Token.Kind == tkSemicolon) {
      break;
    } else if (Token.Kind == tkComma) {
      current = nullptr;
      state = sItem;
    } else {
      ExpectedStr(sWhatComma);
    }
  }
  if (isLine) Prog->Emit(opWriteLn);
}

// ввод variable { "," variable } ";"     cin { ">>" variable } ";"
void TCompiler::CompileInput(TProcedure* proc, TIoForm form) {
  const bool isStream = form == ioStream;
  Prog->HasInput = true;
  Prog->Emit({opLine, Token.Line});
  bool wantVariable = !isStream;
  for (;;) {
    NextTokenRequired();
    if (!wantVariable) {
      if (Token.Kind == tkSemicolon) break;
      if (isStream && !IsOperator(Token, ocInput)) Expected(FormatStr(sWhatOperator, {">>"}));
      if (!isStream && Token.Kind != tkComma) ExpectedStr(sWhatCommaOrSemicolon);
      wantVariable = true;
      continue;
    }
    if (Token.Kind == tkSemicolon) ExpectedStr(sWhatInputVarName);
    const int dims = LookupName(proc, false);
    if (Token.Kind != tkGlobalVar && Token.Kind != tkLocalVar) ExpectedStr(sWhatVarName);
    const bool global = Token.Kind == tkGlobalVar;
    const int v = Token.Index;
    const uint8_t kind = Token.ValueType;
    if (dims == 0) {
      Prog->Emit({global ? opReadGlobal : opReadLocal, v});
    } else if (dims == 1) {
      auto i = CompileIndex(proc);
      if (i) {
        Prog->Emit({global ? opReadGlobalItem : opReadLocalItem, v, AddExpr(std::move(i))});
      } else {
        if (kind != dkCharArray) ErrorStr(sWholeInputOnlyString);
        Prog->Emit({global ? opReadGlobal : opReadLocal, v});
      }
    } else {
      auto i = CompileIndex(proc, true);
      auto j = CompileIndex(proc, true);
      Prog->Emit({global ? opReadGlobalItem2 : opReadLocalItem2, v, AddExpr(std::move(i)), AddExpr(std::move(j))});
    }
    wantVariable = false;
  }
  Prog->Emit(opWriteLn);
}
