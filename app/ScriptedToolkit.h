#pragma once
// A toolkit for headless tests: every call is recorded, the answers of the confirmation
// dialog and the file dialogs come from queues that the test fills beforehand.

#include "Toolkit.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class ScriptedToolkit : public Toolkit {
public:
    enum class CallKind { Message, Confirm, Error, OpenFile, SaveFile, Help };
    struct Call {
        CallKind kind;
        std::string text;             // message text, or the dialog's filter
        std::string defaultExtension; // file dialogs
        int context = 0;              // help
    };

    void ShowMessage(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ShowError(const std::string& text) override;
    std::optional<std::string> OpenFileName(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFileName(const FileDialogOptions& options) override;
    void ShowHelp(const std::string& helpFile, int context) override;

    // Texts of the calls of one kind, in order.
    std::vector<std::string> Texts(CallKind kind) const;
    std::vector<std::string> Messages() const { return Texts(CallKind::Message); }
    std::vector<std::string> Errors() const { return Texts(CallKind::Error); }

    std::vector<Call> calls;
    std::deque<bool> confirmAnswers;                    // empty queue: No
    std::deque<std::optional<std::string>> fileAnswers; // empty queue: cancelled
    // Runs while a message box, the question or the error box is open, with its record (the
    // answer of a question is taken after it): a test acts here from inside the box's nested
    // event loop, as the user or the window system can (an activation, a click elsewhere).
    std::function<void(const Call&)> whileOpen;

private:
    void open(const Call& call); // records a box and runs whileOpen
};
