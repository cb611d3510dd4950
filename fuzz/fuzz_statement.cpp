// A statement of any bytes (at most 255, as the engine holds them): parsed as the calculation
// command parses it (each "f" starts a statement), and when the parse succeeds, evaluated at a few
// values of x and searched for a root. No crash, no undefined behaviour, no leak, no endless loop;
// the only exceptions are the floating-point errors, and every value is 0 or within ±1E30.

#include "Exceptions.h"
#include "FuzzCheck.h"
#include "zorvo3.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void checkValue(long double value) {
    check(!std::isnan(value) && std::fabs(value) <= 1E30L);
    if (ErrEval) {
        check(value == 0 && ErrAny);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResetEngineState();
    FillLetterSet();
    int messages = 0;
    SetEngineMessageHook([&messages](const std::string& text) {
        check(!text.empty());
        ++messages;
    });

    FormulaText.assign(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 255));
    FormulaLen = static_cast<std::uint8_t>(FormulaText.size());
    ScanPos = 0;
    CurChar = ' ';
    ErrAny = false;
    try {
        // The calculation command's statement loop: every "f" starts a statement. Its text
        // always ends at the statement's ";"; these bytes may go on after it with a character
        // no pass moves past, which the loop's bound on the passes turns into a failure.
        ParseStatements();
        if (ErrAny || TreeRoot == nullptr) {
            return 0;
        }
        for (const long double x : {0.0L, 1.0L, -2.5L, 1E10L, 3.7E-5L, -1E-300L}) {
            ErrRule = ErrEval = ErrAny = false;
            messages = 0;
            checkValue(EvalFormula(x));
            check(messages <= 1);
        }
        ErrRule = ErrEval = ErrAny = false;
        long double x1 = 0, fx1 = 0;
        Bisect(x1, fx1, EvalFormula, -3, 5, 1E-6L);
        checkValue(fx1);
        // A tolerance of 0 must end as well.
        Bisect(x1, fx1, EvalFormula, 0.5L, 1.5L, 0);
        checkValue(fx1);
    } catch (const EMathError&) {
        // EOverflow, EZeroDivide, EInvalidOp: the application's default error handling.
    }
    SetEngineMessageHook(nullptr);
    return 0;
}
