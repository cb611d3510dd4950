// Any bytes as a text file: every line is read, and the lines written back with CR LF read
// back the same.

#include "TextFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// In memory when the system offers it: replacing a file on a disk file system waits for the
// disk at every close, which would slow the fuzzer a hundredfold.
std::string TempName() {
    std::string pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    pattern += "/fuzz_text_file-XXXXXX";
    const int handle = ::mkstemp(pattern.data());
    if (handle < 0) {
        std::abort();
    }
    ::close(handle);
    return pattern;
}

// The two files of the run, removed when the fuzzer ends.
struct TempFiles {
    std::string input = TempName();
    std::string output = TempName();
    TempFiles() = default;
    TempFiles(const TempFiles&) = delete;
    TempFiles& operator=(const TempFiles&) = delete;
    ~TempFiles() {
        ::unlink(input.c_str());
        ::unlink(output.c_str());
    }
};

std::vector<std::string> ReadAll(const std::string& name) {
    TextFile file;
    BindTextFile(file, name);
    OpenTextForReading(file);
    std::vector<std::string> lines;
    while (!AtEndOfText(file)) {
        lines.push_back(ReadTextLine(file));
        SkipLineEnd(file);
    }
    CloseTextFile(file);
    if (PendingTextResult() != 0) {
        std::abort();
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TempFiles files;
    const std::string& input = files.input;
    const std::string& output = files.output;
    std::FILE* raw = std::fopen(input.c_str(), "wb");
    if (raw == nullptr) {
        std::abort();
    }
    std::fwrite(data, 1, size, raw);
    std::fclose(raw);

    const std::vector<std::string> lines = ReadAll(input);
    TextFile file;
    BindTextFile(file, output);
    OpenTextForWriting(file);
    for (const std::string& line : lines) {
        WriteTextString(file, line);
        WriteLineEnd(file);
    }
    CloseTextFile(file);
    if (PendingTextResult() != 0 || ReadAll(output) != lines) {
        std::abort();
    }
    return 0;
}
