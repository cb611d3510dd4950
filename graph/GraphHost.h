#pragma once
// What the graph window needs of the calculator application. Start-up hands the graph window
// an implementation, so the graph library never includes the calculator's windows.

#include <functional>
#include <optional>
#include <string>

class GraphHost {
public:
    virtual ~GraphHost() = default;

    // The calculation command of the calculator window, run so that the engine holds a fresh
    // tree and error state for the current formula.
    virtual void Calculate() = 0;
    // The normalised formula of the last calculation (it ends with its first ";", or is empty).
    virtual const std::string& FormulaBody() const = 0;

    // The tolerance dialog, shown modally; true when it closed with OK.
    virtual bool ShowToleranceDialog() = 0;
    // The admissible error last accepted by the tolerance dialog (0 before the first).
    virtual long double Tolerance() const = 0;

    virtual void ShowMessage(const std::string& text) = 0; // plain message box
    virtual bool Confirm(const std::string& text) = 0;     // Yes/No; true for Yes
    virtual void ShowHelp(int context) = 0;                // the window's help file, a topic
    // The save-file dialog with a filter such as "Рисунок PNG|*.png" and the extension added
    // to a name typed without one; the chosen name in file-system bytes, or none when cancelled.
    // It does not ask before replacing a file: the caller does.
    virtual std::optional<std::string> AskSaveFileName(const std::string& filter,
                                                       const std::string& defaultExtension) = 0;

    // Runs a handler through the application's default error handling: an exception that it
    // raises ends the handler and is shown in the error box; control returns normally.
    virtual void Guard(const std::function<void()>& handler) = 0;
};
