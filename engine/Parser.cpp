// The grammar of a statement, read by recursive descent; each rule stores the tree it read
// into the slot its caller passes. Blanks and carriage returns are skipped between lexemes
// (Advance), never inside a number or a name.
//
//   statement  = ("f" | "F") "(" "x" ")" "=" expression ";" .
//   expression = ["+" | "-"] term { ("+" | "-") term } .
//   term       = factor { ("*" | "/") factor } .
//   factor     = primary { "^" primary } .
//   primary    = number | "x" | "(" expression ")" | name "(" expression ")" .
//   name       = letter { letter }              (at most six letters of LetterSet) .
//
// All three operator levels are left-associative, "^" included (2^3^2 = 64). A leading sign
// applies to the whole first term and builds a negation node (function 17); a sign may not
// follow an operator. Parentheses build no node.

#include "zorvo3.h"

#include <utility>

namespace {

std::unique_ptr<ExprNode> operatorNode(char op, ExprSlot left, ExprSlot right) {
    auto node = std::make_unique<ExprNode>();
    node->NodeKind = ExprNodeKind::Operator;
    node->OpChar = op;
    node->LeftNode = std::move(left);
    node->RightNode = std::move(right);
    return node;
}

std::unique_ptr<ExprNode> functionNode(std::uint8_t index) {
    auto node = std::make_unique<ExprNode>();
    node->NodeKind = ExprNodeKind::Function;
    node->FuncIndex = index;
    return node;
}

// One level of left-associative binary operators: operand { op operand }.
template <typename Operand, typename IsOperator>
void parseOperatorChain(ExprSlot& slot, Operand operand, IsOperator isOperator) {
    while (isOperator(CurChar)) {
        const char op = CurChar;
        Advance();
        ExprSlot right;
        operand(right);
        if (ErrRule) {
            ErrAny = true;
            return;
        }
        slot = operatorNode(op, std::move(slot), std::move(right));
    }
}

// Reads ")" after a parenthesised expression; the caller has checked ErrRule.
void closeParenthesis() {
    if (CurChar == ')') {
        Advance();
    } else {
        RuleFail();
    }
}

} // namespace

void ParseStatement(ExprSlot& slot) {
    // The new tree grows in a slot of its own: the caller's slot keeps the previous tree
    // when the statement fails before its first node, receives the new tree when it
    // succeeds, and is emptied when the failure comes later, so that the remains of a failed
    // parse are never taken for a formula. An exception leaving the parse (a literal that
    // overflows) counts as such a failure.
    ExprSlot fresh;
    const auto failed = [&] {
        if (fresh) {
            slot.reset();
        }
    };
    // The four characters are all taken before they are compared.
    char header[4];
    for (char& c : header) {
        Advance();
        c = CurChar;
    }
    if (std::string_view(header, 4) != "(x)=") {
        RuleFail();
        return;
    }
    Advance();
    try {
        ParseExpression(fresh);
    } catch (...) {
        failed();
        throw;
    }
    if (ErrRule) {
        ErrAny = true;
        failed();
        return;
    }
    if (CurChar == ';') {
        // ScanPos stays on the ";": the statement loop of the caller ends there.
        CurChar = ' ';
        slot = std::move(fresh);
    } else {
        RuleFail();
        failed();
    }
}

void ParseStatements() {
    // On the command's own text the loop parses the one statement and ends with ScanPos on its
    // final ";", or ends at the failure. A pass that neither parses nor finds a blank does not
    // move the scan (a text such as «qq»); every other pass moves ScanPos forward, at most 255
    // times before it reaches FormulaLen. More passes than that mean the scan is stuck.
    constexpr int MaxPasses = 256;
    for (int pass = 0; ScanPos < FormulaLen; ++pass) {
        if (pass > MaxPasses) {
            RuleFail();
            return;
        }
        SkipBlanks();
        ErrRule = false;
        ErrEval = false;
        if (CurChar == 'F' || CurChar == 'f') {
            ParseStatement(TreeRoot);
            if (ErrAny) {
                return;
            }
        }
    }
}

void ParseExpression(ExprSlot& slot) {
    char sign = '+';
    if (CurChar == '+' || CurChar == '-') {
        sign = CurChar;
        Advance();
    }
    ParseTerm(slot);
    if (ErrRule) {
        ErrAny = true;
        return;
    }
    if (sign == '-') {
        auto negation = functionNode(NegationIndex);
        negation->LeftNode = std::move(slot);
        slot = std::move(negation);
    }
    parseOperatorChain(slot, ParseTerm, [](char c) { return c == '+' || c == '-'; });
}

void ParseTerm(ExprSlot& slot) {
    ParseFactor(slot);
    if (ErrRule) {
        ErrAny = true;
        return;
    }
    parseOperatorChain(slot, ParseFactor, [](char c) { return c == '*' || c == '/'; });
}

void ParseFactor(ExprSlot& slot) {
    ParsePrimary(slot);
    if (ErrRule) {
        ErrAny = true;
        return;
    }
    parseOperatorChain(slot, ParsePrimary, [](char c) { return c == '^'; });
}

void ParsePrimary(ExprSlot& slot) {
    if (CurChar >= '0' && CurChar <= '9') {
        slot = std::make_unique<ExprNode>();
        slot->NodeKind = ExprNodeKind::Constant;
        ParseNumber(slot->ConstValue);
        if (ErrRule) {
            ErrAny = true;
        } else {
            SkipBlanks();
        }
        return;
    }
    if (CurChar == 'x') {
        slot = std::make_unique<ExprNode>();
        slot->NodeKind = ExprNodeKind::Variable;
        Advance();
        return;
    }
    if (CurChar == '(') {
        Advance();
        ParseExpression(slot);
        if (ErrRule) {
            ErrAny = true;
        } else {
            closeParenthesis();
        }
        return;
    }
    std::uint8_t index = 0;
    ParseFunctionName(index);
    if (ErrRule) {
        ErrAny = true;
        return;
    }
    if (CurChar != '(') {
        RuleFail();
        return;
    }
    Advance();
    slot = functionNode(index);
    ParseExpression(slot->LeftNode);
    if (ErrRule) {
        ErrAny = true;
    } else {
        closeParenthesis();
    }
}

void ParseFunctionName(std::uint8_t& index) {
    char name[6];
    std::size_t count = 0;
    while (LetterSet.test(static_cast<unsigned char>(CurChar)) && count < sizeof name) {
        // Only "a" to "z" change; other members of LetterSet are kept as they are.
        name[count] =
            (CurChar >= 'a' && CurChar <= 'z') ? static_cast<char>(CurChar - 32) : CurChar;
        NextChar();
        ++count;
    }
    if (count == 0) {
        RuleFail();
        return;
    }
    const std::string_view read(name, count);
    index = NegationIndex;
    for (std::size_t i = 0; i < FunctionNames.size(); ++i) {
        if (FunctionNames[i] == read) {
            index = static_cast<std::uint8_t>(i);
            break;
        }
    }
    if (index == NegationIndex) {
        RuleFail();
    } else {
        SkipBlanks();
    }
}
