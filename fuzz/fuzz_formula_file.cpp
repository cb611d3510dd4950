// Any bytes as a formula file, read as the load command reads it: no exception for a readable
// file; the formula is the first line and the comment the lines after it (lines end at LF or
// CR LF, lone CRs are dropped, a Ctrl-Z ends the file, a missing line reads "Пусто"); saving
// what was loaded and loading it again gives the same two memos; and the comment passes
// through the memo's Unicode text and back unchanged.

#include "CalculatorState.h"
#include "FormulaFile.h"
#include "FuzzCheck.h"
#include "TextCodec.h"
#include "TextFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// In memory when the system offers it: a save waits for the disk at every rename otherwise.
std::string TempFolder() {
    std::string pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    pattern += "/fuzz_formula_file-XXXXXX";
    check(::mkdtemp(pattern.data()) != nullptr);
    return pattern;
}

// The folder of the run with its two files, removed when the fuzzer ends.
struct TempFiles {
    std::string folder = TempFolder();
    std::string input = folder + "/in.frm";
    std::string output = folder + "/out.frm";
    TempFiles() = default;
    TempFiles(const TempFiles&) = delete;
    TempFiles& operator=(const TempFiles&) = delete;
    ~TempFiles() {
        ::unlink(input.c_str());
        ::unlink(output.c_str());
        ::rmdir(folder.c_str());
    }
};

// The lines of the file as the text-file rules define them, written out independently.
std::vector<std::string> ExpectedLines(std::string bytes) {
    bytes = bytes.substr(0, bytes.find('\x1A'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lf = bytes.find('\n', start);
        const std::size_t end = lf == std::string::npos ? bytes.size() : lf;
        std::string line;
        for (std::size_t i = start; i < end; ++i) {
            if (bytes[i] != '\r') {
                line += bytes[i];
            }
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TempFiles files;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::FILE* raw = std::fopen(files.input.c_str(), "wb");
    check(raw != nullptr);
    check(std::fwrite(data, 1, size, raw) == size);
    check(std::fclose(raw) == 0);

    ResetCalculatorState();
    ReadFormulaFile(files.input); // raises only for a file that cannot be read
    check(PendingTextResult() == 0);

    const std::vector<std::string> lines = ExpectedLines(bytes);
    std::string comment = EmptyLineText();
    if (lines.size() > 1) {
        comment = lines[1];
        for (std::size_t i = 2; i < lines.size(); ++i) {
            comment += "\r\n" + lines[i];
        }
    }
    check(FormulaLine == (lines.empty() ? EmptyLineText() : lines[0]));
    check(CommentLine == comment);

    // Save and load again: the formula comes back with its control characters blanked.
    const std::string formula = BlankControlCharacters(FormulaLine);
    WriteFormulaFile(files.output, formula, CommentLine);
    ReadFormulaFile(files.output);
    check(FormulaLine == formula && CommentLine == comment);

    // The memo shows the comment with LF line breaks and gives it back with CR LF.
    check(FromQtLines(ToQtLines(comment)) == comment);
    return 0;
}
