#include "ErrorGuard.h"

#include "Exceptions.h"
#include "FloatErrors.h"

#include <exception>

std::string ErrorBoxText(const std::string& message) {
    std::string text = message;
    // Compared as bytes of the code page: Cyrillic letters lie above "." too.
    if (!text.empty() &&
        static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
        text += '.';
    }
    return text;
}

void ShowCurrentException(Toolkit& toolkit) noexcept {
    // A command ended half-way may have left floating-point flags raised; the next command
    // must start clean.
    ClearFloatErrors();
    std::string message;
    try {
        throw;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "Unknown exception";
    }
    try {
        toolkit.ShowError(ErrorBoxText(message));
    } catch (...) {
        // The error box itself failed (out of memory): nothing more can be shown, and the
        // exception must still not reach the event loop.
    }
}

namespace {
Toolkit* g_defaultToolkit = nullptr;
int g_handlerDepth = 0;
} // namespace

void RunGuarded(Toolkit& toolkit, const std::function<void()>& handler) noexcept {
    // The error box belongs to the handler that failed, so the depth covers it too.
    ++g_handlerDepth;
    try {
        handler();
    } catch (...) {
        ShowCurrentException(toolkit);
    }
    --g_handlerDepth;
}

int RunningHandlerDepth() {
    return g_handlerDepth;
}

void SetDefaultToolkit(Toolkit* toolkit) {
    g_defaultToolkit = toolkit;
}

Toolkit* DefaultToolkit() {
    return g_defaultToolkit;
}
