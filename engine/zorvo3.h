#pragma once
// The expression engine: scans the statement «f(x) = <expression>;», builds its expression
// tree by recursive descent, evaluates the tree for a value of x and finds a root of the
// formula by bisection.
//
// The engine keeps its state in process-wide variables that the calculator window and the
// graph window read and write directly. It records syntax and evaluation errors in flags and
// never clears a flag itself. Evaluation errors are also shown through the message hook, as
// soon as the evaluation that found them has returned: the hook may run a nested event loop,
// and nothing it does there (a new parse included) can touch a tree still being evaluated.
// Floating-point overflow, division by zero and invalid operations the engine does not check itself
// raise EOverflow, EZeroDivide or EInvalidOp (numtext/Exceptions.h). User-interface thread only;
// not re-entrant.

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

static_assert(std::numeric_limits<long double>::digits == 64, "needs the x87 extended type");

// ---- Expression tree -------------------------------------------------------------------------

enum class ExprNodeKind : std::uint8_t { Operator = 0, Function = 1, Constant = 2, Variable = 3 };

// One node of the tree. A node owns its children; a child that was never set (the remains of
// a failed parse) is empty and evaluates as an evaluation error.
struct ExprNode {
    ExprNodeKind NodeKind = ExprNodeKind::Constant;
    char OpChar = 0;                     // operator node: '+', '-', '*', '/' or '^'
    std::uint8_t FuncIndex = 0;          // function node: index into FunctionNames, 17 = negation
    std::unique_ptr<ExprNode> LeftNode;  // operator: left operand; function: the argument
    std::unique_ptr<ExprNode> RightNode; // operator: right operand
    long double ConstValue = 0;          // constant node: the literal's value

    std::unique_ptr<ExprNode>& ArgNode() { return LeftNode; }
    const std::unique_ptr<ExprNode>& ArgNode() const { return LeftNode; }
};

// A slot is where a rule stores the tree it read (a reference to a tree reference).
using ExprSlot = std::unique_ptr<ExprNode>;

// The standard functions in index order; index 17 (negation) has no name.
inline constexpr std::uint8_t NegationIndex = 17;
inline constexpr std::array<std::string_view, 17> FunctionNames = {
    "SIN",    "COS",    "LN",     "EXP",  "ABS", "SQRT", "ARCTAN", "TAN", "RANDOM",
    "ARCCOS", "ARCSEC", "ARCSIN", "COSH", "SEC", "SINH", "RAD",    "IF"};

// ---- EngineState: one set of values for the whole process -----------------------------------

extern std::string FormulaText;            // the statement being scanned (code page 1251)
extern std::uint8_t FormulaLen;            // characters of FormulaText the scanner reads
extern std::uint8_t ScanPos;               // 1-based position of CurChar; 0 before the first
extern char CurChar;                       // the current character
extern bool ErrRule;                       // the grammar rule being read has failed
extern bool ErrEval;                       // an evaluation error has occurred
extern bool ErrAny;                        // some error since ErrAny was last cleared
extern std::bitset<256> LetterSet;         // characters that may form a function name
extern std::unique_ptr<ExprNode> TreeRoot; // the tree the last parse left (see ParseStatement)

// What the calculator window does on activation: LetterSet := the 52 letters "A" to "Z" and
// "a" to "z", nothing else.
void FillLetterSet();

// Puts every field back to its start-up value (zero, empty, false), frees the tree and sets
// the RANDOM generator's seed back to 0. The message hook is kept. For tests' fixtures.
void ResetEngineState();

// Installs what shows the engine's messages (the application's plain message box; a recorder
// in tests). Without a hook the messages are dropped.
void SetEngineMessageHook(std::function<void(const std::string&)> hook);

// ---- Scanner -----------------------------------------------------------------------------

// ScanPos := ScanPos + 1 (mod 256); CurChar := the character there, NUL at position 0, and
// unchanged beyond FormulaLen.
void NextChar();
// NextChar while CurChar is a blank or a carriage return.
void SkipBlanks();
// NextChar, then SkipBlanks: the step from one lexeme to the next.
void Advance();
// ErrRule := true; ErrAny := true.
void RuleFail();
// Reads a run of decimal digits from CurChar; RuleFail when there is none.
void ParseDigits(long double& value);
// Reads a literal digits[.digits][(e|E)[+|-]digits] from CurChar, which is a digit.
void ParseNumber(long double& value);
// base^exponent: repeated squaring for an integer exponent, e^(exponent × ln base) otherwise.
// A non-integer power of a base <= 0 shows its message, sets ErrEval and ErrAny, gives 0.
// Raises EInvalidOp for |exponent| >= 2^63 and EOverflow when the result overflows.
long double RaisePower(long double base, long double exponent);

// ---- Parser ------------------------------------------------------------------------------

// Reads «f(x)=expression;» from CurChar (which is 'f' or 'F') into slot. On success the slot
// holds the complete new tree. On failure ErrRule and ErrAny are set and the slot keeps its
// old tree when the failure came before the first node was built, and is emptied otherwise
// (also when an exception leaves the parse).
void ParseStatement(ExprSlot& slot);
// The calculation command's statement loop over FormulaText, from the scan its caller prepared
// (FormulaLen, ScanPos 0, CurChar blank): while ScanPos < FormulaLen, skip blanks, clear ErrRule
// and ErrEval, and parse a statement into TreeRoot where CurChar is "f" or "F"; the first
// failure (ErrAny) ends it. ErrAny is not cleared here. For a text that is not the command's
// own «f(x) = ...;» and on which no pass moves, it ends after 257 passes with RuleFail.
void ParseStatements();
// The grammar rules; each stores what it read into slot and sets ErrRule/ErrAny on failure,
// leaving the slot as far as it was filled.
void ParseExpression(ExprSlot& slot);
void ParseTerm(ExprSlot& slot);
void ParseFactor(ExprSlot& slot);
void ParsePrimary(ExprSlot& slot);
// Reads up to six letters of LetterSet and looks them up in FunctionNames; RuleFail and
// index 17 when there is no such function.
void ParseFunctionName(std::uint8_t& index);

// ---- Evaluation --------------------------------------------------------------------------

// The value of the tree under node at x. On an evaluation error sets ErrEval and ErrAny, shows
// its message (once; none when ErrEval was already set) and returns 0. An empty node is an
// evaluation error without a message.
long double EvalNode(const ExprNode* node, long double x);
// EvalNode(TreeRoot, x), 0 after an evaluation error (ErrAny set), clamped to ±1E30, NaN → 1E30.
long double EvalFormula(long double x);
// -1, 0 or 1; zero of either sign gives 0, NaN gives -1.
std::int32_t SignOf(long double v);
// Texts of the evaluation's messages (code page 1251), as the windows show them: a division
// by zero, and the start of a refused logarithm's, which the refused argument follows.
std::string DivisionByZeroMessage();
std::string LogarithmMessage();

using RealFunction = std::function<long double(long double)>;
// Halves [A, B] until it is no wider than Eps, moving A while the sign at the midpoint equals
// the sign of F(A). X1 and FX1 hold the last midpoint and F there; they are not written when
// no step is taken. Also stops when the midpoint equals A or B, so it always ends.
void Bisect(long double& X1, long double& FX1, const RealFunction& F, long double A, long double B,
            long double Eps);
