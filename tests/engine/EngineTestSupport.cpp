#include "EngineTestSupport.h"

#include <sstream>

void EngineTest::SetUp() {
    ResetEngineState();
    FillLetterSet();
    SetEngineMessageHook([this](const std::string& text) { messages.push_back(text); });
}

void EngineTest::TearDown() {
    SetEngineMessageHook(nullptr);
    ResetEngineState();
}

void EngineTest::startScan(const std::string& text) {
    FormulaText = text;
    FormulaLen = static_cast<std::uint8_t>(text.size());
    ScanPos = 0;
    CurChar = ' ';
    NextChar();
}

void EngineTest::parse(const std::string& text) {
    FormulaText = text;
    FormulaLen = static_cast<std::uint8_t>(text.size());
    ScanPos = 0;
    CurChar = ' ';
    ErrAny = false;
    ParseStatements();
}

long double EngineTest::evaluate(const std::string& body, long double x) {
    parse("f(x) = " + body);
    EXPECT_FALSE(ErrAny) << body;
    return EvalFormula(x);
}

std::string printTree(const ExprNode* node) {
    if (node == nullptr) {
        return "_";
    }
    switch (node->NodeKind) {
    case ExprNodeKind::Variable:
        return "x";
    case ExprNodeKind::Constant: {
        std::ostringstream out;
        out.precision(20);
        out << node->ConstValue;
        return out.str();
    }
    case ExprNodeKind::Function: {
        const std::string name = node->FuncIndex == NegationIndex
                                     ? "neg"
                                     : std::string(FunctionNames.at(node->FuncIndex));
        return "(" + name + " " + printTree(node->LeftNode.get()) + ")";
    }
    case ExprNodeKind::Operator:
    default:
        return std::string("(") + node->OpChar + " " + printTree(node->LeftNode.get()) + " " +
               printTree(node->RightNode.get()) + ")";
    }
}
