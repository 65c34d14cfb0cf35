// The program level: the two passes, procedure headers, and variable
// declarations of arguments, globals and locals.

#include "compiler.h"
#include "errors.h"

namespace {

bool IsWord(const TToken& t) { return t.Kind == tkIdentifier; }
bool IsTypeKeywordToken(const TToken& t) { return t.Kind == tkKeyword && IsTypeKeyword(t.Code); }

}  // namespace

// program -> { global declaration | procedure }
void TCompiler::Compile(const std::vector<std::string>& lines, TPseudoCode& program) {
  SetSource(lines, &program);
  try {
    Prog->Globals.Clear();
    if (OnStart) OnStart();

    CollectHeaders();

    // The first pass declared the globals only to step over their text.
    Reset();
    Token2 = Token1 = Token = TToken();
    Prog->Globals.Clear();
    for (;;) {
      NextToken();
      if (Token.Kind == tkEnd) break;
      if (IsWord(Token)) {
        if (!IsProcedureHeader()) ErrorStr(sBadProcDeclaration);
        CompileProcedure();
      } else if (IsTypeKeywordToken(Token)) {
        if (IsProcedureHeader()) {
          CompileProcedure();
        } else {
          UngetToken();
          DeclareVariables(nullptr, Prog->Globals, dmGlobals);
        }
      } else {
        ExpectedStr(sWhatProcOrVarList);
      }
    }
    Prog->Emit(opEnd);
  } catch (ECompileException& e) {
    Line = Token.Line;
    Col = Token.Col;
    e.Line = Line;
    e.Col = Col;
    // Errors raised outside Error (array sizes of the values) end the code
    // the same way.
    if (!errorCellWritten_) {
      errorCellWritten_ = true;
      Prog->Emit(opTranslationError);
    }
    throw;
  } catch (...) {
    Line = Token.Line;
    Col = Token.Col;
    throw;
  }
}

// First pass: every procedure header, the globals, brace balance.
void TCompiler::CollectHeaders() {
  Prog->Procs.Clear();
  procIndex_.clear();
  Line = 0;
  Col = 1;
  int depth = 0;
  for (;;) {
    NextToken();
    if (Token.Kind == tkEnd) break;
    if (Token.Kind == tkLBrace) {
      ++depth;
    } else if (Token.Kind == tkRBrace) {
      if (--depth < 0) Error(FormatStr(sExtraBracket, {"}"}));
    } else if (depth == 0) {
      if (IsWord(Token)) {
        if (!IsProcedureHeader()) ErrorStr(sBadProcDeclaration);
        DeclareProcedure();
      } else if (IsTypeKeywordToken(Token)) {
        if (IsProcedureHeader()) {
          DeclareProcedure();
        } else {
          UngetToken();
          DeclareVariables(nullptr, Prog->Globals, dmGlobals);
        }
      }
    }
  }
  if (depth > 0) Error(FormatStr(sUnpairedBrackets, {"{", "}"}));
  if (Prog->Procs.Count() == 0) ErrorStr(sNoProcedures);
}

// header -> [ type | "символы" "[" "]" ] name ( "{" | "(" ... )
// Looks ahead without consuming anything.
bool TCompiler::IsProcedureHeader() {
  const TScanState saved = SaveState();
  if (IsTypeKeywordToken(Token)) {
    const bool isChar = Token.Code == kwChar;
    NextToken();
    if (!IsWord(Token)) {
      if (!isChar || Token.Kind != tkLBracket) ExpectedStr(sWhatVarOrProcName);
      NextToken();
      if (Token.Kind != tkRBracket) Expected(FormatStr(sWhatClosingBracket, {"]"}));
      NextToken();
      if (!IsWord(Token)) ExpectedStr(sWhatVarOrProcName);
    }
  }
  const std::string name = Token.Text;
  NextToken();
  bool header = false;
  if (Token.Kind == tkLBrace || Token.Kind == tkLParen) {
    header = true;
  } else if (!(Token.Kind == tkComma || Token.Kind == tkLBracket || Token.Kind == tkSemicolon ||
               (Token.Kind == tkOperator && Token.Code == ocAssign))) {
    Error(FormatStr(sBadFollowerOfName, {"(", "{", name}));
  }
  RestoreState(saved);
  return header;
}

// True for a built-in's name and for the Russian name of any built-in,
// which lookup would turn into the built-in and so hide the declaration.
bool TCompiler::IsBuiltinName(const std::string& name) const {
  return FindSysProc(name) >= 0 || vocab_.EnglishName(name) != nullptr;
}

// First pass: creates the procedure record from its header. The cursor is
// at the header's first token (IsProcedureHeader put it back there).
void TCompiler::DeclareProcedure() {
  NextToken();
  auto proc = std::make_unique<TProcedure>();
  proc->Result.Kind = dkVoid;
  if (IsTypeKeywordToken(Token)) {
    proc->Result.Kind = Token.Code;
    NextToken();
    if (Token.Kind == tkLBracket) {
      NextToken();  // "]", checked by IsProcedureHeader
      NextToken();
      proc->Result.Kind = dkCharArray;
    }
  }
  proc->Name = Token.Text;
  if (IsBuiltinName(proc->Name)) Error(FormatStr(sProcNamedAsBuiltin, {proc->Name}));
  if (FindProc(proc->Name) >= 0) Error(FormatStr(sProcRedefined, {proc->Name}));

  NextToken();
  if (Token.Kind != tkLParen && Token.Kind != tkLBrace)
    Error(FormatStr(sParenOrBraceAfterName, {"(", "{", proc->Name}));
  if (Token.Kind == tkLParen) {
    if (Prog->Procs.Count() == 0) ErrorStr(sMainHasArgs);
    DeclareVariables(proc.get(), proc->Vars, dmArguments);
    proc->ArgCount = proc->Vars.Count();
    if (Token.Kind != tkRParen) Error(FormatStr(sArgListNotClosed, {")", Token.Text}));
    NextToken();
    if (Token.Kind != tkLBrace) Expected(FormatStr(sWhatOpeningBracket, {"{"}));
  }
  UngetToken();
  procIndex_.emplace(proc->Name, Prog->Procs.Count());
  Prog->Procs.Add(std::move(proc));
}

// Second pass: procedure -> header "{" block "}"
void TCompiler::CompileProcedure() {
  NextToken();
  if (IsTypeKeywordToken(Token)) {
    NextToken();
    if (Token.Kind == tkLBracket) {
      NextToken();
      NextToken();
    }
  }
  const int p = FindProc(Token.Text);
  if (p < 0) ErrorStr(sBadProcDeclaration);
  TProcedure& proc = Prog->Procs[p];
  // The arguments were declared in the first pass.
  do {
    NextTokenRequired();
  } while (Token.Kind != tkLBrace);

  proc.Entry = Prog->Pos;
  proc.FirstLine = Token.Line;
  Prog->Emit({opNop, opLine, proc.FirstLine});
  CompileBlock(&proc, true);
  proc.LastLine = Token.Line;
  Prog->Emit({opLine, proc.LastLine, opReturn});
}

void TCompiler::CheckDeclaredName(const TVarList& list, const std::string& name) {
  if (list.IndexOf(name) >= 0) Error(FormatStr(sDuplicateVar, {name}));
  if (IsBuiltinName(name)) Error(FormatStr(sVarNamedAsBuiltin, {name}));
  if (FindProc(name) >= 0) Error(FormatStr(sVarNamedAsProc, {name}));
}

// declaration -> type name [ "[" size "]" [ "[" size "]" ] ] [ "=" value ]
//                { "," name ... } ";"
// arguments   -> type name [ "[" [size] "]" ... ] { "," type name ... } ")"
void TCompiler::DeclareVariables(TProcedure* proc, TVarList& list, TDeclMode mode) {
  enum { sType, sName, sAfterName, sSize, sClose } state = sType;
  uint8_t elementKind = dkNone;
  TVar var;
  bool started = false;

  for (;;) {
    NextTokenRequired();
    switch (state) {
      case sType:
        // "void" names only the result of a procedure; no value has it.
        if (!IsTypeKeywordToken(Token) || Token.Code == kwVoid) ExpectedStr(sWhatArgType);
        var = TVar("", Token.Code);
        started = true;
        state = sName;
        break;

      case sName:
        if (!IsWord(Token)) ExpectedStr(sWhatArgName);
        CheckDeclaredName(list, Token.Text);
        if (!started) {
          var = TVar("", elementKind);
          started = true;
        }
        var.Name = Token.Text;
        state = sAfterName;
        break;

      case sAfterName: {
        if (Token.Kind == tkLBracket) {
          if (var.Size2 > 0) ErrorStr(sMultiDimArrays);
          state = sSize;
          break;
        }
        const bool isAssign = Token.Kind == tkOperator && Token.Code == ocAssign;
        if (mode == dmArguments) {
          if (Token.Kind != tkRParen && Token.Kind != tkComma) Expected(FormatStr(sWhatCommaOrParen, {")"}));
        } else {
          if (Token.Kind != tkComma && Token.Kind != tkSemicolon && !isAssign)
            ExpectedStr(sWhatCommaSemicolonOrEquals);
          // A global array has no initial value to take; say so rather
          // than read a constant and drop it.
          if (isAssign && mode == dmGlobals && var.IsArray()) ExpectedStr(sWhatCommaOrSemicolon);
        }
        if (isAssign) {
          if (mode == dmGlobals) {
            NextTokenRequired();
            if (Token.Kind != tkConstant) ExpectedStr(sWhatValue);
            switch (var.Kind) {
              case dkLogical:
                if (Token.ValueType != dkLogical) ExpectedStr(sWhatLogicalValue);
                var.BoolValue = Token.Text == "1";
                break;
              case dkChar:
                if (Token.ValueType != dkChar) ExpectedStr(sWhatCharacter);
                var.CharValue = static_cast<uint8_t>(Token.Text[0]);
                break;
              case dkInteger:
                // A character is not a number: refuse it instead of reading
                // its text as digits.
                if (Token.ValueType == dkReal || Token.ValueType == dkChar) ExpectedStr(sWhatInteger);
                var.IntValue = IntegerOfText(Token.Text);
                break;
              case dkReal:
                if (Token.ValueType != dkReal) ExpectedStr(sWhatRealNumber);
                var.RealValue = RealOfText(Token.Text);
                break;
              default:
                break;
            }
          } else {
            Prog->Emit({opLine, Token.Line});
            UngetToken();
            auto e = CompileAssignedValue(proc);
            Prog->Emit({opAssignLocal, list.Count(), AddExpr(std::move(e))});
          }
          NextTokenRequired();
          if (Token.Kind != tkComma && Token.Kind != tkSemicolon) ExpectedStr(sWhatCommaOrSemicolon);
        }
        elementKind = var.IsArray() ? static_cast<uint8_t>(var.Kind - 4) : var.Kind;
        if (var.IsArray()) {
          const int elementBytes = var.Kind == dkRealArray ? 8 : var.Kind == dkIntegerArray ? 4 : 1;
          DeclaredBytes += int64_t{var.ElementCount()} * elementBytes;
          if (DeclaredBytes > kMaxDeclaredBytes)
            Error(FormatStr(sTooMuchData, {static_cast<long long>(kMaxDeclaredBytes >> 20)}));
        }
        list.Add(std::move(var));
        var = TVar();
        started = false;
        if (Token.Kind == tkRParen || Token.Kind == tkSemicolon) return;
        state = mode == dmArguments ? sType : sName;
        break;
      }

      case sSize: {
        int size = 1;  // "[]" of an argument: the array comes with the call
        if (mode == dmArguments && Token.Kind == tkRBracket) {
          state = sAfterName;
        } else {
          if (Token.Kind != tkConstant) ExpectedStr(sWhatNumericValue);
          if (Token.ValueType != dkInteger) ExpectedStr(sWhatInteger);
          size = IntegerOfText(Token.Text);
          if (size < 1 || size > kMaxArraySize) Expected(FormatStr(sWhatNumberRange, {1, kMaxArraySize}));
          state = sClose;
        }
        if (var.Size1 == 0)
          var.MakeArray(size);
        else
          var.MakeArray2(size);
        break;
      }

      case sClose:
        if (Token.Kind != tkRBracket) Expected("]");
        state = sAfterName;
        break;
    }
  }
}
