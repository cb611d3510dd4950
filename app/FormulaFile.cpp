#include "FormulaFile.h"

#include "Calculation.h"
#include "CalculatorState.h"
#include "Exceptions.h"
#include "TextCodec.h"
#include "TextFile.h"

#include <sys/stat.h>

std::string BlankControlCharacters(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 32) {
            c = ' ';
        }
    }
    return text;
}

std::string WithFormulaExtension(const std::string& fileName) {
    return fileName.find(".frm") == std::string::npos ? fileName + ".frm" : fileName;
}

std::string EmptyLineText() {
    return Cp("Пусто");
}

std::string FileTooLargeMessage() {
    return Cp("Файл слишком велик для формулы");
}

namespace {

[[noreturn]] void raiseIo(std::int32_t code) {
    throw EInOutError(code, TextErrorMessage(code));
}

} // namespace

void WriteFormulaFile(const std::string& fileName, const std::string& formulaLine,
                      const std::string& commentLine) {
    TextFile file;
    BindTextFile(file, fileName);
    CheckTextResult();
    OpenTextForSaving(file);
    CheckTextResult();
    WriteTextString(file, formulaLine);
    CheckTextResult();
    WriteLineEnd(file);
    CheckTextResult();
    WriteTextString(file, commentLine);
    CheckTextResult();
    WriteLineEnd(file);
    CheckTextResult();
    CloseTextFile(file);
    CheckTextResult();
    // On a failed check the record's destructor releases the file and removes the temporary.
}

void ReadFormulaFile(const std::string& fileName) {
    // A formula file is a regular file. A device or a pipe may never reach its end (a link to
    // /dev/zero would be read until memory runs out) or block the open itself; it is refused
    // as a folder is. What does not exist is left to the open, which reports why.
    struct stat info {};
    const bool exists = stat(fileName.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        raiseIo(5);
    }
    // Each memo takes at most as many characters as the calculation does; a longer line would
    // also take the memo minutes to lay out on screen (the time grows with the square of the
    // line's length). A file larger than two such lines is refused before anything is read,
    // and so is a longer line (below); the memos keep their text.
    if (exists && S_ISREG(info.st_mode) &&
        info.st_size > static_cast<off_t>(2 * (kMaxMemoLength + 2))) {
        throw Exception(FileTooLargeMessage());
    }
    TextFile file;
    BindTextFile(file, fileName);
    CheckTextResult();
    OpenTextForReading(file);
    CheckTextResult();

    // One line and its line end; whether there was one at all.
    auto readLine = [&file](std::string& line) {
        const bool atEnd = AtEndOfText(file);
        CheckTextResult();
        if (atEnd) {
            return false;
        }
        line = ReadTextLine(file);
        CheckTextResult();
        if (line.size() > kMaxMemoLength) {
            throw Exception(FileTooLargeMessage());
        }
        SkipLineEnd(file);
        CheckTextResult();
        return true;
    };

    std::string line;
    FormulaLine = readLine(line) ? line : EmptyLineText();
    if (readLine(line)) {
        // The comment is the rest of the file: a comment of several lines comes back whole.
        // Each pass consumes a line end or reaches the end, so the loop ends with the file.
        CommentLine = line;
        while (readLine(line)) {
            CommentLine += "\r\n";
            CommentLine += line;
        }
    } else {
        CommentLine = EmptyLineText();
    }
    CloseTextFile(file);
    CheckTextResult();
}
