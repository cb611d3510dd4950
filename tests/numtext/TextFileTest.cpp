// Text-file lines: what a written file holds, how files of every line style read back, and the
// code and message of every failure.

#include "TextFile.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "numtext-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        PendingClear();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(m_folder, fs::perms::owner_all, ignored);
        fs::remove_all(m_folder, ignored);
        PendingClear();
    }
    static void PendingClear() {
        try {
            CheckTextResult();
        } catch (const EInOutError&) {
        }
    }
    std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }
    std::string Put(const std::string& name, const std::string& bytes) const {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The loop of a reader: test for the end, read a line, move past its end.
    static std::vector<std::string> ReadAllLines(const std::string& path) {
        TextFile file;
        BindTextFile(file, path);
        OpenTextForReading(file);
        CheckTextResult();
        std::vector<std::string> lines;
        while (!AtEndOfText(file)) {
            lines.push_back(ReadTextLine(file));
            SkipLineEnd(file);
        }
        CheckTextResult();
        CloseTextFile(file);
        CheckTextResult();
        return lines;
    }
    // The code CheckTextResult raises, or 0.
    static int RaisedCode() {
        try {
            CheckTextResult();
        } catch (const EInOutError& error) {
            return error.ErrorCode;
        }
        return 0;
    }
    fs::path m_folder;
};

TEST_F(TextFileTest, WritesLinesWithCrLf) {
    const std::string path = PathOf("a.frm");
    {
        TextFile file;
        BindTextFile(file, path);
        OpenTextForWriting(file);
        CheckTextResult();
        WriteTextString(file, "1/3;  ");
        WriteLineEnd(file);
        WriteTextString(file, "");
        WriteLineEnd(file);
        WriteTextString(file, std::string(300, 'z')); // more than two buffers
        WriteLineEnd(file);
        CloseTextFile(file);
        CheckTextResult();
    }
    EXPECT_EQ(Contents(path), "1/3;  \r\n\r\n" + std::string(300, 'z') + "\r\n");
    const std::vector<std::string> expected{"1/3;  ", "", std::string(300, 'z')};
    EXPECT_EQ(ReadAllLines(path), expected);
    // Writing again replaces the file.
    TextFile file;
    BindTextFile(file, path);
    OpenTextForWriting(file);
    WriteTextString(file, "x");
    CloseTextFile(file);
    CheckTextResult();
    EXPECT_EQ(Contents(path), "x");
}

TEST_F(TextFileTest, ReadsEveryLineStyle) {
    using Lines = std::vector<std::string>;
    const std::string x127(127, 'x');
    struct Row {
        const char* name;
        std::string bytes;
        Lines expected;
    };
    const std::vector<Row> rows = {
        {"empty file", "", {}},
        {"last line without terminator", "abc", {"abc"}},
        {"CR LF lines", "a\r\nb\r\n", {"a", "b"}},
        {"LF lines", "a\nb", {"a", "b"}},
        {"empty lines", "\r\n\n", {"", ""}},
        {"lone CR dropped", "a\rb\r\n", {"ab"}},
        {"CR before CR LF", "a\r\r\nb", {"a", "b"}},
        {"CR at the very end", "a\r", {"a"}},
        {"Ctrl-Z ends the file",
         "a\x1a"
         "b\r\nc\r\n",
         {"a"}},
        {"Ctrl-Z alone", "\x1a", {}},
        {"long line", std::string(1000, 'q') + "\r\nw", {std::string(1000, 'q'), "w"}},
        {"CR LF across buffers", x127 + "\r\ny", {x127, "y"}},
        {"lone CR across buffers", x127 + "\ry", {x127 + "y"}},
        {"code page 1251 bytes", "\xcf\xf3\xf1\xf2\xee\r\n", {"\xcf\xf3\xf1\xf2\xee"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ReadAllLines(Put("r.frm", row.bytes)), row.expected) << row.name;
    }
}

TEST_F(TextFileTest, TheEndStaysTheEnd) {
    TextFile file;
    BindTextFile(file, Put("one.frm", "only"));
    OpenTextForReading(file);
    EXPECT_FALSE(AtEndOfText(file));
    EXPECT_EQ(ReadTextLine(file), "only");
    SkipLineEnd(file);
    EXPECT_TRUE(AtEndOfText(file));
    EXPECT_EQ(ReadTextLine(file), "");
    SkipLineEnd(file);
    EXPECT_TRUE(AtEndOfText(file));
    CloseTextFile(file);
    EXPECT_EQ(RaisedCode(), 0);
}

TEST_F(TextFileTest, OpeningFailuresCarryTheirCodeAndMessage) {
    ASSERT_EQ(::mkdir(PathOf("folder").c_str(), 0755), 0);
    struct Row {
        const char* name;
        std::string path;
        bool forWriting;
        int code;
        const char* message;
    };
    const Row rows[] = {
        {"missing file", PathOf("missing.frm"), false, 2, "File not found"},
        {"missing folder", PathOf("nowhere/a.frm"), false, 3, "Invalid filename"},
        {"missing folder, writing", PathOf("nowhere/a.frm"), true, 3, "Invalid filename"},
        {"file as a folder", Put("plain", "x") + "/a.frm", false, 3, "Invalid filename"},
        {"empty name", "", false, 3, "Invalid filename"},
        {"name too long", PathOf(std::string(300, 'n')), true, 3, "Invalid filename"},
        {"folder for reading", PathOf("folder"), false, 5, "File access denied"},
        {"folder for writing", PathOf("folder"), true, 5, "File access denied"},
    };
    for (const Row& row : rows) {
        TextFile file;
        BindTextFile(file, row.path);
        if (row.forWriting) {
            OpenTextForWriting(file);
        } else {
            OpenTextForReading(file);
        }
        EXPECT_EQ(file.mode, TextMode::Closed) << row.name;
        EXPECT_EQ(file.handle, -1) << row.name;
        try {
            CheckTextResult();
            ADD_FAILURE() << row.name << ": no error";
        } catch (const EInOutError& error) {
            EXPECT_EQ(error.ErrorCode, row.code) << row.name;
            EXPECT_EQ(error.Message(), row.message) << row.name;
        }
        EXPECT_EQ(PendingTextResult(), 0) << row.name << ": the check takes the result";
    }
}

TEST_F(TextFileTest, UnreadableFileIsAccessDenied) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    const std::string path = Put("secret.frm", "x");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    TextFile file;
    BindTextFile(file, path);
    OpenTextForReading(file);
    EXPECT_EQ(RaisedCode(), 5);
    ASSERT_EQ(::chmod(m_folder.c_str(), 0500), 0);
    BindTextFile(file, PathOf("new.frm"));
    OpenTextForWriting(file);
    EXPECT_EQ(RaisedCode(), 5);
}

TEST_F(TextFileTest, FullDeviceIsDiskFull) {
    if (::access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full here";
    }
    TextFile file;
    BindTextFile(file, "/dev/full");
    OpenTextForWriting(file);
    ASSERT_EQ(RaisedCode(), 0);
    WriteTextString(file, "1/3;");
    EXPECT_EQ(PendingTextResult(), 0); // still in the buffer
    WriteLineEnd(file);                // a character device gets each line at once
    EXPECT_EQ(RaisedCode(), 101);
    WriteTextString(file, "more");
    CloseTextFile(file);
    try {
        CheckTextResult();
        ADD_FAILURE() << "closing wrote nothing";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode, 101);
        EXPECT_EQ(error.Message(), "Disk full");
    }
}

TEST_F(TextFileTest, MisuseCodes) {
    TextFile unbound;
    OpenTextForReading(unbound);
    EXPECT_EQ(RaisedCode(), 102);
    CloseTextFile(unbound);
    EXPECT_EQ(RaisedCode(), 103);

    TextFile output;
    BindTextFile(output, PathOf("o.frm"));
    OpenTextForWriting(output);
    EXPECT_TRUE(AtEndOfText(output));
    EXPECT_EQ(RaisedCode(), 104);
    EXPECT_EQ(ReadTextLine(output), "");
    EXPECT_EQ(RaisedCode(), 104);

    TextFile input;
    BindTextFile(input, Put("i.frm", "x"));
    OpenTextForReading(input);
    WriteTextString(input, "y");
    EXPECT_EQ(RaisedCode(), 105);
    WriteLineEnd(input);
    EXPECT_EQ(RaisedCode(), 105);
    // Opening again closes first and starts from the beginning.
    EXPECT_EQ(ReadTextLine(input), "x");
    OpenTextForReading(input);
    EXPECT_EQ(ReadTextLine(input), "x");
    EXPECT_EQ(RaisedCode(), 0);
}

TEST(TextErrorMessages, KnownCodesAndTheRest) {
    const std::pair<int, const char*> rows[] = {
        {2, "File not found"},
        {3, "Invalid filename"},
        {4, "Too many open files"},
        {5, "File access denied"},
        {100, "Read beyond end of file"},
        {101, "Disk full"},
        {106, "Invalid numeric input"},
        {32, "I/O error 32"},
        {103, "I/O error 103"},
    };
    for (const auto& [code, message] : rows) {
        EXPECT_EQ(TextErrorMessage(code), message) << code;
    }
}

int OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

TEST_F(TextFileTest, ARaisingCommandLeaksNoDescriptor) {
    const std::string path = Put("f.frm", "line\r\n");
    const int before = OpenDescriptors();
    for (int i = 0; i < 3; ++i) {
        try {
            TextFile file;
            BindTextFile(file, path);
            OpenTextForReading(file);
            CheckTextResult();
            ReadTextLine(file);
            BindTextFile(file, PathOf("missing.frm")); // bound again while open
            OpenTextForReading(file);
            CheckTextResult(); // raises with nothing left open
        } catch (const EInOutError& error) {
            EXPECT_EQ(error.ErrorCode, 2);
        }
    }
    EXPECT_EQ(OpenDescriptors(), before);
}

} // namespace
