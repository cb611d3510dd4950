#include "Calculation.h"

#include "CalculatorState.h"
#include "NumberText.h"
#include "TextCodec.h"
#include "zorvo3.h"

std::string BadXMessage() {
    return Cp("Неверно записано число Х");
}
std::string BadDigitsMessage() {
    return Cp("Неверно записано число цифр дробной части");
}
std::string BadFormulaMessage() {
    return Cp("Где-то в выражении ошибка...Исправьте и повторите попытку");
}
std::string ResultCaption() {
    return Cp("Результат= ");
}

void NormaliseFormula(const std::string& memoText) {
    FormulaLine = memoText;
    FormulaBody = FormulaLine;
    for (char& c : FormulaBody) {
        if (static_cast<unsigned char>(c) < 32) {
            c = ' ';
        } else if (c == 'X') {
            // Only the Latin capital; the Cyrillic "Х" stays and fails as a syntax error.
            c = 'x';
        }
    }
    const std::size_t semicolon = FormulaBody.find(';');
    FormulaBody.resize(semicolon == std::string::npos ? 0 : semicolon + 1);
}

std::optional<std::string> Calculate(const CalculationInput& input, Toolkit& toolkit) {
    NormaliseFormula(input.memoText);
    FormulaText = "f(x) = " + FormulaBody;
    const bool tooLong =
        FormulaLine.size() > kMaxMemoLength || FormulaText.size() > kMaxStatementLength;
    // A statement too long for the 8-bit counters is never scanned (see below); its length is
    // recorded as far as the counter holds it.
    FormulaLen = static_cast<std::uint8_t>(tooLong ? kMaxStatementLength : FormulaText.size());
    ScanPos = 0;
    CurChar = ' ';

    std::int32_t errorPos = 0;
    XValue = ParseReal(input.xText, errorPos);
    if (errorPos != 0) {
        toolkit.ShowMessage(BadXMessage());
        return std::nullopt;
    }
    const std::int32_t digits = ParseInteger(input.digitsText, errorPos);
    DigitCount = static_cast<std::uint16_t>(static_cast<std::uint32_t>(digits));
    if (errorPos != 0) {
        toolkit.ShowMessage(BadDigitsMessage());
        return std::nullopt;
    }

    ErrAny = false;
    if (tooLong) {
        // Refused as a faulty formula: ErrAny tells the graph window too.
        ErrAny = true;
    } else {
        ParseStatements();
    }
    if (ErrAny) {
        toolkit.ShowMessage(BadFormulaMessage());
        return ResultCaption();
    }

    const long double y = EvalFormula(XValue);
    const std::string value = input.exponential
                                  ? FormatScientific(y, static_cast<std::int32_t>(DigitCount) + 9)
                                  : FormatFixed(y, 15, DigitCount);
    return ResultCaption() + value;
}
