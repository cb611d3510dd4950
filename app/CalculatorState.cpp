#include "CalculatorState.h"

std::string FormulaLine;
std::string FormulaBody;
long double XValue = 0;
std::uint16_t DigitCount = 0;
std::string CommentLine;
std::string FormulaFileName;

void ResetCalculatorState() {
    FormulaLine.clear();
    FormulaBody.clear();
    XValue = 0;
    DigitCount = 0;
    CommentLine.clear();
    FormulaFileName.clear();
}
