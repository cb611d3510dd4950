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
int evaluationDepth = 0;

namespace {
// The message of the evaluation under way; each evaluation finds at most one error.
std::string heldMessage;
bool messageHeld = false;
} // namespace

EvaluationScope::EvaluationScope() {
    if (evaluationDepth++ == 0) {
        // A message held by an evaluation that an exception ended is not this one's.
        messageHeld = false;
    }
}

void showMessage(const std::string& text) {
    if (evaluationDepth > 0) {
        if (!messageHeld) {
            heldMessage = text;
            messageHeld = true;
        }
        return;
    }
    // Copied so that a hook which replaces itself while it runs stays alive until it returns.
    const auto hook = messageHook();
    if (hook) {
        hook(text);
    }
}

void showHeldMessage() {
    if (!messageHeld || evaluationDepth > 0) {
        return;
    }
    messageHeld = false;
    showMessage(std::exchange(heldMessage, std::string()));
}

void raiseFor(long double result) {
    ClearFloatErrors();
    if (std::isnan(result)) {
        throw EInvalidOp();
    }
    throw EOverflow();
}

} // namespace engine_detail

void SetEngineMessageHook(std::function<void(const std::string&)> hook) {
    messageHook() = std::move(hook);
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
}
