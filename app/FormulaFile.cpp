#include "FormulaFile.h"

#include "Calculation.h"
#include "CalculatorState.h"
#include "Exceptions.h"
#include "TextCodec.h"
#include "TextFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The input/output code for an operating-system error of the final rename, in the codes the
// text-file facility reports.
std::int32_t renameErrorCode(int error) {
    switch (error) {
    case ENOENT:
        return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return 5;
    case ENOSPC:
    case EDQUOT:
        return 101;
    default:
        return error;
    }
}

[[noreturn]] void raiseIo(std::int32_t code) {
    throw EInOutError(code, TextErrorMessage(code));
}

void writeLines(const std::string& path, const std::string& formulaLine,
                const std::string& commentLine) {
    TextFile file;
    BindTextFile(file, path);
    CheckTextResult();
    OpenTextForWriting(file);
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
    // On a failed check the record's destructor releases the file.
}

// The file that a save replaces: the target itself, or what a symbolic link points to, so
// that the link stays a link.
std::string replacedPath(const std::string& fileName) {
    struct stat linkInfo {};
    if (lstat(fileName.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
        if (char* resolved = realpath(fileName.c_str(), nullptr)) {
            std::string path = resolved;
            std::free(resolved);
            return path;
        }
    }
    return fileName;
}

// A name in the same folder that no file has yet (hidden, short whatever the target's name,
// and on the same file system, so the rename replaces the target in one step).
std::string temporaryPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        const std::string candidate =
            folder + ".~frm" + std::to_string(getpid()) + "_" + std::to_string(attempt) + ".tmp";
        struct stat info {};
        if (lstat(candidate.c_str(), &info) != 0) {
            return candidate;
        }
    }
    raiseIo(renameErrorCode(EEXIST));
}

// Writes what the file system still holds in its cache, so that the renamed file is never
// found empty after a crash.
void flushToDisk(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

void WriteFormulaFile(const std::string& fileName, const std::string& formulaLine,
                      const std::string& commentLine) {
    if (fileName.size() > TextFile::kMaxNameLength) {
        // The text-file facility refuses such a name; the short temporary must not slip past.
        raiseIo(3);
    }
    struct stat targetInfo {};
    const bool exists = stat(fileName.c_str(), &targetInfo) == 0;
    if (exists && !S_ISREG(targetInfo.st_mode)) {
        // A device (or a folder, which the open refuses) has no contents to protect.
        writeLines(fileName, formulaLine, commentLine);
        return;
    }
    const std::string path = replacedPath(fileName);
    const std::string temporary = temporaryPath(path);
    try {
        writeLines(temporary, formulaLine, commentLine);
        if (exists) {
            chmod(temporary.c_str(), targetInfo.st_mode & 07777);
        }
        flushToDisk(temporary);
        if (std::rename(temporary.c_str(), path.c_str()) != 0) {
            raiseIo(renameErrorCode(errno));
        }
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
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
