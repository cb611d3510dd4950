#pragma once
// Line-oriented text files with a small transfer buffer, as the formula file uses them. No
// operation raises: a failure is stored in the calling thread's pending result, and
// CheckTextResult() turns a stored failure into EInOutError.

#include "Exceptions.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

enum class TextMode { Closed, Input, Output, InOut };
enum class LineBreakStyle { CrLf, Lf };

// The facility's own result codes besides the operating system's.
inline constexpr std::int32_t kTextNotBound = 102;     // open of a record without a name
inline constexpr std::int32_t kTextNotOpen = 103;      // close of a file that is not open
inline constexpr std::int32_t kTextNotForInput = 104;  // read of a file not open for reading
inline constexpr std::int32_t kTextNotForOutput = 105; // write of a file not open for writing

// One text file; owned by the command that uses it. The destructor releases an open handle
// (without writing out the buffer), so a command that raises never leaks a descriptor.
class TextFile {
public:
    static constexpr std::int32_t kBufferSize = 128;
    static constexpr std::size_t kMaxNameLength = 259;

    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    int handle = -1;
    TextMode mode = TextMode::Closed;
    LineBreakStyle lineBreakStyle = LineBreakStyle::CrLf;
    std::int32_t bufferSize = kBufferSize;
    std::int32_t bufferPos = 0;
    std::int32_t bufferEnd = 0;
    std::array<char, kBufferSize> buffer{};
    std::string name;
    bool bound = false;           // BindTextFile has given it a name
    bool badName = false;         // longer than 259 characters or holding a NUL: refused (3)
    bool characterDevice = false; // a line end writes the buffer out at once
    // Saving by replacement (OpenTextForSaving): closing renames the temporary over the replaced
    // file; releasing the record without closing it removes the temporary.
    std::string temporaryName;
    std::string replacedName;
    std::uint32_t finalPermissions = 0; // the temporary's mode once it is written (0600 before)
};

// Clears the record, sets mode closed, CR LF style, a 128-byte buffer, and binds the name.
void BindTextFile(TextFile& file, std::string_view name);
// Close the file first if open, then open it; on failure the mode stays closed and the
// pending result holds the code. Reading needs an existing file that is not a folder;
// writing replaces an existing file or creates a missing one.
void OpenTextForReading(TextFile& file);
void OpenTextForWriting(TextFile& file);
// Opens for saving without risk to the file saved. Refused as opening it for writing would be.
// A regular file of one link is written to a new file beside it that takes its owner, group and
// mode, and that CloseTextFile renames over it; a device, a file of several links, a file whose
// folder takes no new file, or whose owner and group a new file could not keep, is written in
// place. A symbolic link stays a link.
void OpenTextForSaving(TextFile& file);
// True at a Ctrl-Z (CR LF style) or when nothing more can be read; consumes nothing.
bool AtEndOfText(TextFile& file);
// The characters up to (not including) the next LF or CR LF or the end; lone CRs are dropped.
std::string ReadTextLine(TextFile& file);
// Discards up to and including the next LF or CR LF, or up to the end.
void SkipLineEnd(TextFile& file);
// Appends to the buffer, writing it out each time it is full.
void WriteTextString(TextFile& file, std::string_view text);
// Appends CR LF (LF in LF style); a character device gets the buffer at once.
void WriteLineEnd(TextFile& file);
// Writes out the buffer of an output file, closes the handle, sets mode closed. A save by
// replacement is synced and renamed over its file, then the folder is synced; when any of that
// fails, the temporary is removed and the old file stays as it was.
void CloseTextFile(TextFile& file);

// The calling thread's pending result (0 = no failure), read without clearing it.
std::int32_t PendingTextResult();
// Takes the pending result; when it was not 0 raises EInOutError with that code and its message.
void CheckTextResult();
// The input/output result code of an operating-system error met with the file `name`.
std::int32_t TextResultOfErrno(int error, const std::string& name);
// The message of an input/output result code: "File not found", ..., or "I/O error %d".
std::string TextErrorMessage(std::int32_t code);
