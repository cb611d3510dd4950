#include "ScriptedToolkit.h"

void ScriptedToolkit::ShowMessage(const std::string& text) {
    open({CallKind::Message, text, {}, 0});
}

bool ScriptedToolkit::Confirm(const std::string& text) {
    open({CallKind::Confirm, text, {}, 0});
    bool answer = false;
    if (!confirmAnswers.empty()) {
        answer = confirmAnswers.front();
        confirmAnswers.pop_front();
    }
    return answer;
}

void ScriptedToolkit::ShowError(const std::string& text) {
    open({CallKind::Error, text, {}, 0});
}

void ScriptedToolkit::open(const Call& call) {
    calls.push_back(call);
    if (whileOpen) {
        // A copy: the record may grow while the box is open.
        const Call shown = call;
        whileOpen(shown);
    }
}

namespace {
std::optional<std::string> nextFile(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
}
} // namespace

std::optional<std::string> ScriptedToolkit::OpenFileName(const FileDialogOptions& options) {
    calls.push_back({CallKind::OpenFile, options.Filter, options.DefaultExtension, 0});
    return nextFile(fileAnswers);
}

std::optional<std::string> ScriptedToolkit::SaveFileName(const FileDialogOptions& options) {
    calls.push_back({CallKind::SaveFile, options.Filter, options.DefaultExtension, 0});
    return nextFile(fileAnswers);
}

void ScriptedToolkit::ShowHelp(const std::string& helpFile, int context) {
    calls.push_back({CallKind::Help, helpFile, {}, context});
}

std::vector<std::string> ScriptedToolkit::Texts(CallKind kind) const {
    std::vector<std::string> texts;
    for (const Call& call : calls) {
        if (call.kind == kind) {
            texts.push_back(call.text);
        }
    }
    return texts;
}
