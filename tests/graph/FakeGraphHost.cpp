#include "FakeGraphHost.h"

#include "TextCodec.h"

#include "Exceptions.h"
#include "zorvo3.h"

std::string Utf8Of(const std::string& cp1251) {
    return ToQt(cp1251).toStdString();
}

FakeGraphHost::FakeGraphHost() {
    ResetEngineState();
    LetterSet.reset();
    for (char c = 'A'; c <= 'Z'; ++c) {
        LetterSet.set(static_cast<unsigned char>(c));
        LetterSet.set(static_cast<unsigned char>(c + 32));
    }
    SetEngineMessageHook([this](const std::string& text) { Record("engine: " + Utf8Of(text)); });
}

FakeGraphHost::~FakeGraphHost() {
    SetEngineMessageHook(nullptr);
    ResetEngineState();
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
    std::string body = FromQt(QString::fromUtf8(Formula.c_str()));
    const std::size_t semicolon = body.find(';');
    body = semicolon == std::string::npos ? std::string() : body.substr(0, semicolon + 1);
    m_formulaBody = body;

    FormulaText = "f(x) = " + body;
    FormulaLen = static_cast<std::uint8_t>(FormulaText.size());
    ScanPos = 0;
    CurChar = ' ';
    if (!InputCheckMessage.empty()) {
        Record("message: " + InputCheckMessage);
        return;
    }
    ErrAny = false;
    while (ScanPos < FormulaLen) {
        const std::uint8_t before = ScanPos;
        SkipBlanks();
        ErrRule = false;
        ErrEval = false;
        if (CurChar == 'f' || CurChar == 'F') {
            ParseStatement(TreeRoot);
            if (ErrAny) {
                break;
            }
        }
        if (ScanPos == before) {
            break; // nothing more to read: the calculator's loop would wait here forever
        }
    }
    if (ErrAny) {
        Record("message: Где-то в выражении ошибка...Исправьте и повторите попытку");
        return;
    }
    EvalFormula(X);
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

void FakeGraphHost::Guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const Exception& error) {
        Record("error: " + Utf8Of(error.Message()));
    }
}
