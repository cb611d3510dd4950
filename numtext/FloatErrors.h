#pragma once
// Turns the floating-point unit's sticky status flags into the runtime's exceptions. Code that
// performs an operation which may overflow, divide by zero or be invalid clears the flags
// before it and calls RaiseFloatErrors() after it. Underflow and inexact are never reported.

#include "Exceptions.h"

#include <cfenv>

inline void ClearFloatErrors() { std::feclearexcept(FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID); }

// Raises EInvalidOp, EZeroDivide or EOverflow (in that order of precedence) when the matching
// flag is set; the flags are cleared first so that the next command starts clean.
inline void RaiseFloatErrors() {
    const int raised = std::fetestexcept(FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID);
    if (raised == 0) {
        return;
    }
    ClearFloatErrors();
    if (raised & FE_INVALID) {
        throw EInvalidOp();
    }
    if (raised & FE_DIVBYZERO) {
        throw EZeroDivide();
    }
    throw EOverflow();
}
