#include "FakeGraphHost.h"

#include "Calculation.h"
#include "CalculatorState.h"
#include "TextCodec.h"

#include "Exceptions.h"
#include "zorvo3.h"

std::string Utf8Of(const std::string& cp1251) {
    return ToQt(cp1251).toStdString();
}

FakeGraphHost::FakeGraphHost() {
    ResetEngineState();
    ResetCalculatorState();
    FillLetterSet();
    SetEngineMessageHook([this](const std::string& text) { Record("engine: " + Utf8Of(text)); });
}

FakeGraphHost::~FakeGraphHost() {
    SetEngineMessageHook(nullptr);
    ResetEngineState();
    ResetCalculatorState();
}

void FakeGraphHost::Record(const std::string& entry) {
    if (OnBoxOpened) {
        OnBoxOpened();
    }
    Log.push_back(entry);
    if (OnBoxClosed) {
        OnBoxClosed();
    }
}

void FakeGraphHost::Calculate() {
    ++CalculateCount;
    ::Calculate({FromQt(QString::fromUtf8(Formula.c_str())),
                 FromQt(QString::fromUtf8(XText.c_str())), "3", false},
                *this);
}

const std::string& FakeGraphHost::FormulaBody() const {
    return ::FormulaBody;
}

bool FakeGraphHost::ShowToleranceDialog() {
    Record("dialog");
    return DialogAnswer;
}

void FakeGraphHost::ShowMessage(const std::string& text) {
    Record("message: " + Utf8Of(text));
}

bool FakeGraphHost::Confirm(const std::string& text) {
    Record("question: " + Utf8Of(text));
    if (Answers.empty()) {
        return DefaultAnswer;
    }
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
}

void FakeGraphHost::ShowHelp(int context) {
    Log.push_back("help: " + std::to_string(context));
}

std::optional<std::string> FakeGraphHost::AskSaveFileName(const std::string& filter,
                                                          const std::string& defaultExtension) {
    Log.push_back("save dialog: " + Utf8Of(filter) + " " + defaultExtension);
    if (SaveNames.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> name = SaveNames.front();
    SaveNames.pop_front();
    return name;
}

void FakeGraphHost::Guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const Exception& error) {
        ShowError(error.Message());
    }
}

void FakeGraphHost::ShowError(const std::string& text) {
    Record("error: " + Utf8Of(text));
}

std::optional<std::string> FakeGraphHost::OpenFileName(const FileDialogOptions&) {
    return std::nullopt;
}

std::optional<std::string> FakeGraphHost::SaveFileName(const FileDialogOptions&) {
    return std::nullopt;
}

void FakeGraphHost::ShowHelp(const std::string&, int context) {
    ShowHelp(context);
}
