// The scanner: characters, blanks, numeric literals and the power routine.
//
// Reading past FormulaLen leaves CurChar on the last character read, so a loop on NextChar
// sees it again and again. ScanPos is 8-bit and comes round to 0, where CurChar becomes NUL,
// which no loop and no rule accepts: every scan ends within 256 steps.

#include "zorvo3.h"

#include "EngineInternal.h"

#include <cmath>

using namespace engine_detail;

void NextChar() {
    ++ScanPos; // unsigned 8-bit: 255 + 1 is 0
    if (ScanPos == 0) {
        CurChar = '\0';
    } else if (ScanPos <= FormulaLen && ScanPos <= FormulaText.size()) {
        // The second test only guards a FormulaLen that a caller set beyond the text.
        CurChar = FormulaText[ScanPos - 1];
    }
}

void SkipBlanks() {
    while (CurChar == ' ' || CurChar == '\r') {
        NextChar();
    }
}

void Advance() {
    NextChar();
    SkipBlanks();
}

void RuleFail() {
    ErrRule = true;
    ErrAny = true;
}

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

void ParseDigits(long double& value) {
    value = 0;
    bool anyDigit = false;
    while (isDigit(CurChar)) {
        // (value × 10 + code) − 48 in this order, each step rounded to extended.
        value = checked(value * 10 + static_cast<long double>(CurChar));
        value -= 48;
        anyDigit = true;
        NextChar();
    }
    if (!anyDigit) {
        RuleFail();
    }
}

void ParseNumber(long double& value) {
    ParseDigits(value);
    if (ErrRule) {
        ErrAny = true;
        return;
    }
    if (CurChar == '.') {
        NextChar();
        // The fraction digits are added one by one with a scale that is itself a product of
        // 0.1s; «0.5» is 5 × 0.1, not 5 / 10.
        long double scale = 0.1L;
        while (isDigit(CurChar)) {
            value += static_cast<long double>(CurChar - '0') * scale;
            scale *= 0.1L;
            NextChar();
        }
    }
    if (CurChar == 'e' || CurChar == 'E') {
        NextChar();
        char sign = '+';
        if (CurChar == '+' || CurChar == '-') {
            sign = CurChar;
            NextChar();
        }
        long double e = 0;
        ParseDigits(e);
        if (ErrRule) {
            ErrAny = true;
            return;
        }
        // A negative exponent multiplies by a power of 0.1: «1E-3» is 1 × 0.1³ by repeated
        // squaring, which may differ in the last bit from the value nearest to 0.001.
        value = checked(RaisePower(sign == '+' ? 10.0L : 0.1L, e) * value);
    }
}

long double RaisePower(long double base, long double exponent) {
    // The exponent needs no look: an infinite one is refused by the rounding.
    const long double power = std::isfinite(base)
                                  ? raisePower(base, exponent)
                                  : raisePower<Operands::MayBeInfinite>(base, exponent);
    showHeldMessage();
    return power;
}

namespace engine_detail {

template <Operands Mode> long double fractionalPower(long double base, long double exponent) {
    if (base > 0) {
        // The product cannot overflow: |ln base| < 11357 and |exponent| < 2^63. It is infinite
        // only for base = ∞, and e^±∞ is then exact.
        const long double product = exponent * lnOf(base);
        return checked<Mode>(std::exp(product), product);
    }
    // Zero is refused like a negative base.
    ErrEval = true;
    ErrAny = true;
    // « Нецелая степень отрицательного числа »
    holdMessage(" \xCD\xE5\xF6\xE5\xEB\xE0\xFF \xF1\xF2\xE5\xEF\xE5\xED\xFC "
                "\xEE\xF2\xF0\xE8\xF6\xE0\xF2\xE5\xEB\xFC\xED\xEE\xE3\xEE \xF7\xE8\xF1\xEB\xE0 ");
    return 0;
}

template long double fractionalPower<Operands::Finite>(long double, long double);
template long double fractionalPower<Operands::MayBeInfinite>(long double, long double);

} // namespace engine_detail
