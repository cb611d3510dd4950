#include "TextFile.h"

TextFile::~TextFile() = default;
void BindTextFile(TextFile&, std::string_view) {}
void OpenTextForReading(TextFile&) {}
void OpenTextForWriting(TextFile&) {}
bool AtEndOfText(TextFile&) {
    return true;
}
std::string ReadTextLine(TextFile&) {
    return {};
}
void SkipLineEnd(TextFile&) {}
void WriteTextString(TextFile&, std::string_view) {}
void WriteLineEnd(TextFile&) {}
void CloseTextFile(TextFile&) {}
std::int32_t PendingTextResult() {
    return 0;
}
void CheckTextResult() {}
std::string TextErrorMessage(std::int32_t) {
    return {};
}
