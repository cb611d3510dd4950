// The engine's process-wide state and its message hook.

#include "zorvo3.h"

#include "EngineInternal.h"

#include <utility>

std::string FormulaText;
std::uint8_t FormulaLen = 0;
std::uint8_t ScanPos = 0;
char CurChar = 0;
bool ErrRule = false;
bool ErrEval = false;
bool ErrAny = false;
std::bitset<256> LetterSet;
std::unique_ptr<ExprNode> TreeRoot;

namespace {
std::function<void(const std::string&)>& messageHook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}
} // namespace

namespace engine_detail {

std::uint32_t randomSeed = 0;

namespace {
// The message of the evaluation under way; each evaluation finds at most one error.
std::string heldMessage;
bool messageHeld = false;
} // namespace

void holdMessage(const std::string& text) {
    heldMessage = text;
    messageHeld = true;
}

void dropHeldMessage() {
    heldMessage.clear();
    messageHeld = false;
}

void showHeldMessage() {
    if (!messageHeld) {
        return;
    }
    messageHeld = false;
    const std::string text = std::exchange(heldMessage, std::string());
    // Copied so that a hook which replaces itself while it runs stays alive until it returns.
    const auto hook = messageHook();
    if (hook) {
        hook(text);
    }
}

void raiseFor(long double result) {
    ClearFloatErrors();
    if (std::isnan(result)) {
        throw EInvalidOp();
    }
    throw EOverflow();
}

long double exactOrRaise(long double result, long double a, long double b) {
    if (!std::isnan(result) && (std::isinf(a) || std::isinf(b))) {
        return result;
    }
    raiseFor(result);
}

} // namespace engine_detail

void SetEngineMessageHook(std::function<void(const std::string&)> hook) {
    messageHook() = std::move(hook);
}

void FillLetterSet() {
    LetterSet.reset();
    for (int c = 'A'; c <= 'Z'; ++c) {
        LetterSet.set(static_cast<std::size_t>(c));
    }
    for (int c = 'a'; c <= 'z'; ++c) {
        LetterSet.set(static_cast<std::size_t>(c));
    }
}

void ResetEngineState() {
    FormulaText.clear();
    FormulaLen = 0;
    ScanPos = 0;
    CurChar = 0;
    ErrRule = false;
    ErrEval = false;
    ErrAny = false;
    LetterSet.reset();
    TreeRoot.reset();
    engine_detail::randomSeed = 0;
    engine_detail::dropHeldMessage();
}
