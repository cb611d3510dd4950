#pragma once
// A GraphHost without the calculator window: its calculation command is the calculator's own,
// run on a formula and an x given as text, and its boxes and dialogs are scripted and recorded.
// It is also the toolkit of that command, so the command's messages join the same record.

#include "GraphHost.h"
#include "Toolkit.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class FakeGraphHost : public GraphHost, public Toolkit {
public:
    // Resets the engine's and the calculator's state, fills the letter set as the calculator
    // window does and sends the engine's messages to the record.
    FakeGraphHost();
    ~FakeGraphHost() override;

    // The formula memo (UTF-8) and the x field of the calculator window. An x that is not a
    // number stops the command at its input check, before it parses: the engine keeps its
    // tree and ErrAny as they were.
    std::string Formula = "x;";
    std::string XText = "1";

    // The calculation command with the memo Formula, x XText and 3 fraction digits.
    void Calculate() override;
    const std::string& FormulaBody() const override;

    // Scripted: the dialog's result and the tolerance it leaves.
    bool ShowToleranceDialog() override;
    long double Tolerance() const override { return ToleranceValue; }
    bool DialogAnswer = true;
    long double ToleranceValue = 1e-7L;

    void ShowMessage(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ShowHelp(int context) override;
    // Scripted: the names chosen in the save dialog, in order; none left means cancelled.
    std::optional<std::string> AskSaveFileName(const std::string& filter,
                                               const std::string& defaultExtension) override;
    std::deque<std::optional<std::string>> SaveNames;
    void Guard(const std::function<void()>& handler) override;

    // The rest of the toolkit, which the calculation command does not use.
    void ShowError(const std::string& text) override;
    std::optional<std::string> OpenFileName(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFileName(const FileDialogOptions& options) override;
    void ShowHelp(const std::string& helpFile, int context) override;

    // Answers to the questions in order; when they run out, DefaultAnswer.
    std::deque<bool> Answers;
    bool DefaultAnswer = false;
    // Run whenever a box or the dialog opens and closes (to play the part of the windows).
    std::function<void()> OnBoxOpened;
    std::function<void()> OnBoxClosed;

    // Everything shown, in order and in UTF-8: "message: …", "engine: …", "question: …",
    // "dialog", "help: 1", "error: …", "save dialog: <filter> <extension>".
    std::vector<std::string> Log;
    int CalculateCount = 0;

private:
    void Record(const std::string& entry);
};

// Code page 1251 text as UTF-8.
std::string Utf8Of(const std::string& cp1251);
