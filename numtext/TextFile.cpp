// Text-file lines over the operating system's file calls. Every failure becomes a code in the
// calling thread's pending result; nothing here raises except CheckTextResult.

#include "TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

thread_local std::int32_t pendingResult = 0;

constexpr char kCtrlZ = 26;
constexpr std::int32_t kFileNotFound = 2;
constexpr std::int32_t kInvalidFilename = 3;
constexpr std::int32_t kTooManyOpenFiles = 4;
constexpr std::int32_t kAccessDenied = 5;
constexpr std::int32_t kDiskFull = 101;
constexpr std::int32_t kUnknownHandleType = 105;

void SetResult(std::int32_t code) {
    pendingResult = code;
}

// A missing file inside a missing folder is a bad name, not a missing file.
bool ParentFolderExists(const std::string& name) {
    const auto slash = name.find_last_of('/');
    if (slash == std::string::npos) {
        return true; // the current folder
    }
    const std::string parent = slash == 0 ? std::string("/") : name.substr(0, slash);
    struct stat info {};
    return ::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The operating system's error as the code the input/output messages know.
std::int32_t ResultOfErrno(int error, const std::string& name) {
    switch (error) {
    case ENOENT:
        return ParentFolderExists(name) ? kFileNotFound : kInvalidFilename;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return kInvalidFilename;
    case EMFILE:
    case ENFILE:
        return kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return kAccessDenied;
    case ENOSPC:
    case EDQUOT:
        return kDiskFull;
    default:
        return error;
    }
}

void ReleaseHandle(TextFile& file) {
    if (file.handle >= 0) {
        ::close(file.handle);
    }
    file.handle = -1;
    file.mode = TextMode::Closed;
}

// Writes the buffer out whole; the buffer is emptied even when that fails, so a full disk
// cannot make later writes spin.
void WriteBuffer(TextFile& file) {
    std::int32_t done = 0;
    while (done < file.bufferPos) {
        const ssize_t written = ::write(file.handle, file.buffer.data() + done,
                                        static_cast<std::size_t>(file.bufferPos - done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            SetResult(written < 0 ? ResultOfErrno(errno, file.name) : kDiskFull);
            break;
        }
        done += static_cast<std::int32_t>(written);
    }
    file.bufferPos = 0;
}

// Makes up to `count` unread bytes available (the unread tail moves to the front first).
// When nothing more can be read, or reading fails, the CR LF style puts a Ctrl-Z after the
// data, so that the end stays the end for every later test without reading again.
std::int32_t Available(TextFile& file, std::int32_t count) {
    while (file.bufferEnd - file.bufferPos < count) {
        const std::int32_t unread = file.bufferEnd - file.bufferPos;
        if (file.lineBreakStyle == LineBreakStyle::CrLf &&
            std::memchr(file.buffer.data() + file.bufferPos, kCtrlZ,
                        static_cast<std::size_t>(unread)) != nullptr) {
            break; // the end is already in view
        }
        std::memmove(file.buffer.data(), file.buffer.data() + file.bufferPos,
                     static_cast<std::size_t>(unread));
        file.bufferPos = 0;
        file.bufferEnd = unread;
        ssize_t got;
        do {
            got = ::read(file.handle, file.buffer.data() + unread,
                         static_cast<std::size_t>(file.bufferSize - unread));
        } while (got < 0 && errno == EINTR);
        if (got < 0) {
            SetResult(ResultOfErrno(errno, file.name));
        }
        if (got <= 0) {
            if (file.lineBreakStyle == LineBreakStyle::CrLf) {
                file.buffer[static_cast<std::size_t>(file.bufferEnd++)] = kCtrlZ;
            }
            break;
        }
        file.bufferEnd += static_cast<std::int32_t>(got);
    }
    return file.bufferEnd - file.bufferPos;
}

constexpr int kEnd = -1;

// The byte `ahead` places after the next one, or kEnd; a Ctrl-Z in CR LF style is the end.
int Peek(TextFile& file, std::int32_t ahead = 0) {
    if (Available(file, ahead + 1) <= ahead) {
        return kEnd;
    }
    const char c = file.buffer[static_cast<std::size_t>(file.bufferPos + ahead)];
    if (c == kCtrlZ && file.lineBreakStyle == LineBreakStyle::CrLf) {
        return kEnd;
    }
    return static_cast<unsigned char>(c);
}

bool OpenForInput(TextFile& file) {
    if (file.mode != TextMode::Input) {
        SetResult(kTextNotForInput);
        return false;
    }
    return true;
}

bool OpenForOutput(TextFile& file) {
    if (file.mode != TextMode::Output) {
        SetResult(kTextNotForOutput);
        return false;
    }
    return true;
}

// Common to both opens: closes a file still open, refuses what cannot be a name.
bool PrepareOpen(TextFile& file) {
    if (file.mode != TextMode::Closed) {
        CloseTextFile(file);
    }
    if (!file.bound) {
        SetResult(kTextNotBound);
        return false;
    }
    if (file.badName || file.name.empty()) {
        SetResult(kInvalidFilename);
        return false;
    }
    file.bufferPos = 0;
    file.bufferEnd = 0;
    return true;
}

void Open(TextFile& file, int flags, TextMode mode) {
    if (!PrepareOpen(file)) {
        return;
    }
    int handle;
    do {
        handle = ::open(file.name.c_str(), flags | O_CLOEXEC, 0666);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        SetResult(ResultOfErrno(errno, file.name));
        return;
    }
    file.handle = handle;
    struct stat info {};
    if (::fstat(handle, &info) != 0) {
        ReleaseHandle(file);
        SetResult(kUnknownHandleType);
        return;
    }
    if (S_ISDIR(info.st_mode)) {
        // A folder opens for reading on this system, but it is no text file.
        ReleaseHandle(file);
        SetResult(kAccessDenied);
        return;
    }
    file.characterDevice = S_ISCHR(info.st_mode);
    file.mode = mode;
}

} // namespace

TextFile::~TextFile() {
    ReleaseHandle(*this);
}

void BindTextFile(TextFile& file, std::string_view name) {
    ReleaseHandle(file); // a record bound again must not keep its old descriptor
    file.lineBreakStyle = LineBreakStyle::CrLf;
    file.bufferSize = TextFile::kBufferSize;
    file.bufferPos = 0;
    file.bufferEnd = 0;
    file.buffer.fill(0);
    file.characterDevice = false;
    file.bound = true;
    // The name field holds 259 characters; a longer name is refused when opening rather than
    // cut, so that no other file is ever opened in its place.
    file.badName =
        name.size() > TextFile::kMaxNameLength || name.find('\0') != std::string_view::npos;
    file.name = std::string(name);
}

void OpenTextForReading(TextFile& file) {
    Open(file, O_RDONLY, TextMode::Input);
}

void OpenTextForWriting(TextFile& file) {
    Open(file, O_WRONLY | O_CREAT | O_TRUNC, TextMode::Output);
}

bool AtEndOfText(TextFile& file) {
    if (!OpenForInput(file)) {
        return true;
    }
    return Peek(file) == kEnd;
}

std::string ReadTextLine(TextFile& file) {
    std::string line;
    if (!OpenForInput(file)) {
        return line;
    }
    for (;;) {
        const int c = Peek(file);
        if (c == kEnd || c == '\n') {
            break; // the line end stays for SkipLineEnd
        }
        if (c == '\r') {
            if (Peek(file, 1) == '\n') {
                break;
            }
            ++file.bufferPos; // a lone CR is dropped
            continue;
        }
        line += static_cast<char>(c);
        ++file.bufferPos;
    }
    return line;
}

void SkipLineEnd(TextFile& file) {
    if (!OpenForInput(file)) {
        return;
    }
    for (;;) {
        const int c = Peek(file);
        if (c == kEnd) {
            return;
        }
        ++file.bufferPos;
        if (c == '\n') {
            return;
        }
        if (c == '\r' && Peek(file) == '\n') {
            ++file.bufferPos;
            return;
        }
    }
}

void WriteTextString(TextFile& file, std::string_view text) {
    if (!OpenForOutput(file)) {
        return;
    }
    while (!text.empty()) {
        const std::size_t room = static_cast<std::size_t>(file.bufferSize - file.bufferPos);
        const std::size_t part = std::min(room, text.size());
        std::memcpy(file.buffer.data() + file.bufferPos, text.data(), part);
        file.bufferPos += static_cast<std::int32_t>(part);
        text.remove_prefix(part);
        if (file.bufferPos == file.bufferSize) {
            WriteBuffer(file);
        }
    }
}

void WriteLineEnd(TextFile& file) {
    WriteTextString(file, file.lineBreakStyle == LineBreakStyle::CrLf ? "\r\n" : "\n");
    if (file.mode == TextMode::Output && file.characterDevice) {
        WriteBuffer(file);
    }
}

void CloseTextFile(TextFile& file) {
    if (file.mode == TextMode::Closed || file.handle < 0) {
        SetResult(kTextNotOpen);
        return;
    }
    if (file.mode == TextMode::Output) {
        WriteBuffer(file);
    }
    const int handle = file.handle;
    file.handle = -1;
    file.mode = TextMode::Closed;
    // The descriptor is gone after close() whatever it reports, so it is not retried.
    if (::close(handle) != 0 && errno != EINTR) {
        SetResult(ResultOfErrno(errno, file.name));
    }
}

std::int32_t PendingTextResult() {
    return pendingResult;
}

void CheckTextResult() {
    const std::int32_t code = pendingResult;
    pendingResult = 0;
    if (code != 0) {
        throw EInOutError(code, TextErrorMessage(code));
    }
}

std::string TextErrorMessage(std::int32_t code) {
    switch (code) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    case 100:
        return "Read beyond end of file";
    case 101:
        return "Disk full";
    case 106:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(code);
    }
}
