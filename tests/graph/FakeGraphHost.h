#pragma once
// A GraphHost without the calculator: its calculation command runs the real engine on a formula
// given as text, and its boxes and dialogs are scripted and recorded.

#include "GraphHost.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class FakeGraphHost : public GraphHost {
public:
    // Resets the engine's state, fills its letter set as the calculator window does and sends
    // its messages to the record.
    FakeGraphHost();
    ~FakeGraphHost() override;

    // The formula memo (UTF-8) and the x field of the calculator window.
    std::string Formula = "x;";
    long double X = 1;
    // When not empty, Calculate stops at its input check with this message (UTF-8), before it
    // parses: the engine keeps its tree and ErrAny as they were.
    std::string InputCheckMessage;

    // What Calculate does, as the calculation command: the statement «f(x) = <body>» is parsed
    // into the engine and evaluated once at X; a faulty formula shows the formula message.
    void Calculate() override;
    const std::string& FormulaBody() const override { return m_formulaBody; }

    // Scripted: the dialog's result and the tolerance it leaves.
    bool ShowToleranceDialog() override;
    long double Tolerance() const override { return ToleranceValue; }
    bool DialogAnswer = true;
    long double ToleranceValue = 1e-7L;

    void ShowMessage(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ShowHelp(int context) override;
    void Guard(const std::function<void()>& handler) override;

    // Answers to the questions in order; when they run out, DefaultAnswer.
    std::deque<bool> Answers;
    bool DefaultAnswer = false;
    // Run whenever a box or the dialog opens and closes (to play the part of the windows).
    std::function<void()> OnBoxOpened;
    std::function<void()> OnBoxClosed;

    // Everything shown, in order and in UTF-8: "message: …", "engine: …", "question: …",
    // "dialog", "help: 1", "error: …".
    std::vector<std::string> Log;
    int CalculateCount = 0;

private:
    void Record(const std::string& entry);

    std::string m_formulaBody;
};

// Code page 1251 text as UTF-8.
std::string Utf8Of(const std::string& cp1251);
