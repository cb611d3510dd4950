// Text-file lines over the operating system's file calls. Every failure becomes a code in the
// calling thread's pending result; nothing here raises except CheckTextResult.

#include "TextFile.h"

#include "FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
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
// An I/O device error. Its errno is 5, which as a code would read "File access denied".
constexpr std::int32_t kDeviceError = 1117;

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

// Releases the handle without writing out the buffer. A save that was not closed is abandoned:
// its temporary goes, and the file it would have replaced stays as it was.
void ReleaseHandle(TextFile& file) {
    if (file.handle >= 0) {
        ::close(file.handle);
    }
    if (!file.temporaryName.empty()) {
        ::unlink(file.temporaryName.c_str());
    }
    file.temporaryName.clear();
    file.replacedName.clear();
    file.handle = -1;
    file.mode = TextMode::Closed;
}

// Writes the buffer out whole; the buffer is emptied even when that fails, so a full disk
// cannot make later writes spin. False when writing failed.
bool WriteBuffer(TextFile& file) {
    std::int32_t done = 0;
    while (done < file.bufferPos) {
        const ssize_t written = ::write(file.handle, file.buffer.data() + done,
                                        static_cast<std::size_t>(file.bufferPos - done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            SetResult(written < 0 ? TextResultOfErrno(errno, file.name) : kDiskFull);
            file.bufferPos = 0;
            return false;
        }
        done += static_cast<std::int32_t>(written);
    }
    file.bufferPos = 0;
    return true;
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
            SetResult(TextResultOfErrno(errno, file.name));
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

// Common to every open: closes a file still open, refuses what cannot be a name.
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

int OpenName(const std::string& name, int flags) {
    int handle;
    do {
        handle = ::open(name.c_str(), flags | O_CLOEXEC, 0666);
    } while (handle < 0 && errno == EINTR);
    return handle;
}

// Makes an open handle the record's file in `mode`; a folder is refused.
void Adopt(TextFile& file, int handle, TextMode mode) {
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

void Open(TextFile& file, int flags, TextMode mode) {
    const int handle = OpenName(file.name, flags);
    if (handle < 0) {
        SetResult(TextResultOfErrno(errno, file.name));
        return;
    }
    Adopt(file, handle, mode);
}

// Writes over the file itself, open in `handle` (opened without waiting for a pipe's reader).
void WriteInPlace(TextFile& file, int handle, const struct stat& info) {
    const int flags = ::fcntl(handle, F_GETFL);
    if ((flags >= 0 && ::fcntl(handle, F_SETFL, flags & ~O_NONBLOCK) != 0) ||
        (S_ISREG(info.st_mode) && ::ftruncate(handle, 0) != 0)) {
        SetResult(TextResultOfErrno(errno, file.name));
        ::close(handle);
        return;
    }
    Adopt(file, handle, TextMode::Output);
}

// The folder takes no new file: the temporary cannot be made, but the file may be written.
bool FolderRefusesNewFiles(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

// Renames the written temporary over the file it replaces, each step only after the one before
// succeeded, so that the file is either the old one or the whole new one.
void FinishReplacement(TextFile& file) {
    const std::string temporary = file.temporaryName;
    const std::string replaced = file.replacedName;
    int error = 0;
    if (!WriteBuffer(file)) {
        ReleaseHandle(file); // the result holds the write's failure
        return;
    }
    if (::fchmod(file.handle, static_cast<mode_t>(file.finalPermissions)) != 0 ||
        ::fsync(file.handle) != 0) {
        error = errno;
    }
    const int handle = file.handle;
    file.handle = -1;
    file.mode = TextMode::Closed;
    file.temporaryName.clear();
    file.replacedName.clear();
    if (::close(handle) != 0 && errno != EINTR && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), replaced.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        SetResult(TextResultOfErrno(error, file.name));
        return;
    }
    if (SyncFolderOf(replaced) != 0) {
        SetResult(TextResultOfErrno(errno, file.name));
    }
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
    if (PrepareOpen(file)) {
        Open(file, O_RDONLY, TextMode::Input);
    }
}

void OpenTextForWriting(TextFile& file) {
    if (PrepareOpen(file)) {
        Open(file, O_WRONLY | O_CREAT | O_TRUNC, TextMode::Output);
    }
}

void OpenTextForSaving(TextFile& file) {
    if (!PrepareOpen(file)) {
        return;
    }
    const std::string target = FileBehindName(file.name);
    if (target.empty()) {
        // A link to nothing yet: opening it for writing creates the file it names.
        Open(file, O_WRONLY | O_CREAT | O_TRUNC, TextMode::Output);
        return;
    }
    // Whether the file may be written is the file system's answer to opening it for writing,
    // which changes nothing yet and does not wait for a reader of a pipe.
    const int existing = OpenName(target, O_WRONLY | O_NOCTTY | O_NONBLOCK);
    if (existing < 0 && errno != ENOENT) {
        SetResult(TextResultOfErrno(errno, file.name));
        return;
    }
    struct stat info {};
    if (existing >= 0 && ::fstat(existing, &info) != 0) {
        ::close(existing);
        SetResult(kUnknownHandleType);
        return;
    }
    if (existing >= 0 && (!S_ISREG(info.st_mode) || info.st_nlink > 1)) {
        // A device has no contents to protect; a file of several links stays one file only
        // when it is written where it is.
        WriteInPlace(file, existing, info);
        return;
    }
    std::string temporary;
    const int handle = CreateTemporaryBeside(target, temporary);
    if (handle < 0) {
        const int error = errno;
        if (!FolderRefusesNewFiles(error)) {
            // Anything else (no descriptor left, a full disk) would fail the file too, and
            // writing in place would then lose it.
            if (existing >= 0) {
                ::close(existing);
            }
            SetResult(TextResultOfErrno(error, file.name));
        } else if (existing >= 0) {
            WriteInPlace(file, existing, info);
        } else {
            Open(file, O_WRONLY | O_CREAT | O_TRUNC, TextMode::Output);
        }
        return;
    }
    if (existing >= 0 && ::fchown(handle, info.st_uid, info.st_gid) != 0) {
        // A replacement would change whose the file is; the file itself keeps that.
        ::close(handle);
        ::unlink(temporary.c_str());
        WriteInPlace(file, existing, info);
        return;
    }
    file.finalPermissions = existing >= 0 ? info.st_mode & 07777 : NewFilePermissions();
    if (existing >= 0) {
        ::close(existing);
    }
    file.temporaryName = temporary;
    file.replacedName = target;
    file.handle = handle;
    file.characterDevice = false;
    file.mode = TextMode::Output;
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
    if (!file.temporaryName.empty()) {
        FinishReplacement(file);
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
        SetResult(TextResultOfErrno(errno, file.name));
    }
}

std::int32_t TextResultOfErrno(int error, const std::string& name) {
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
    case EIO:
        return kDeviceError;
    default:
        return error;
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
