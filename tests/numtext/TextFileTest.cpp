// Text-file lines: what a written file holds, how files of every line style read back, and the
// code and message of every failure.

#include "TextFile.h"

#include "AsOrdinaryUser.h"
#include "FileReplacement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

int OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

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
    const OrdinaryUserFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::string codes = AsOrdinaryUser([&folder] {
        const std::string path = folder / "secret.frm";
        std::ofstream(path) << "x";
        ::chmod(path.c_str(), 0);
        TextFile file;
        BindTextFile(file, path);
        OpenTextForReading(file);
        const int reading = RaisedCode();
        ::chmod(folder.path().c_str(), 0500);
        BindTextFile(file, folder / "new.frm");
        OpenTextForWriting(file);
        return std::to_string(reading) + " " + std::to_string(RaisedCode());
    });
    EXPECT_EQ(codes, "5 5");
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
    // Errors that a save can meet, and what the user reads for each.
    const std::pair<int, const char*> errors[] = {
        {EIO, "I/O error 1117"}, // errno 5, not "File access denied"
        {EDQUOT, "Disk full"},
        {EROFS, "File access denied"},
    };
    for (const auto& [error, message] : errors) {
        EXPECT_EQ(TextErrorMessage(TextResultOfErrno(error, "a.frm")), message) << error;
    }
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

// Saves one line over `path` as the formula file command does, checking each step; `beforeClose`
// acts between writing and closing. The code raised, or 0.
int SaveLine(const std::string& path, const std::function<void(TextFile&)>& beforeClose = {}) {
    TextFile file;
    BindTextFile(file, path);
    OpenTextForSaving(file);
    int code = PendingTextResult();
    if (code == 0) {
        WriteTextString(file, "new");
        WriteLineEnd(file);
        if (beforeClose) {
            beforeClose(file);
        }
        CloseTextFile(file);
        code = PendingTextResult();
    }
    try {
        CheckTextResult();
    } catch (const EInOutError&) {
    }
    return code;
}

void PutFile(const std::string& path, const std::string& bytes, mode_t mode) {
    std::ofstream(path, std::ios::binary) << bytes;
    ::chmod(path.c_str(), mode);
}

// What a save left: its code, what `path` holds (or "(folder)"), its mode, and every name in its
// folder, hidden ones included, so that a temporary left behind shows.
std::string Left(int code, const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << code << ' '
        << (S_ISDIR(info.st_mode) ? std::string("(folder)")
                                  : std::string(std::istreambuf_iterator<char>(in), {}))
        << ' ' << std::oct << (info.st_mode & 07777) << " [";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    for (std::size_t i = 0; i < names.size(); ++i) {
        out << (i == 0 ? "" : " ") << names[i];
    }
    out << ']';
    return out.str();
}

// Runs `save` while only `count` more descriptors can be opened.
int WithDescriptorsLeft(rlim_t count, const std::function<int()>& save) {
    const int lowest = ::open("/dev/null", O_RDONLY | O_CLOEXEC); // the next one an open gets
    ::close(lowest);
    rlimit saved{};
    ::getrlimit(RLIMIT_NOFILE, &saved);
    rlimit low = saved;
    low.rlim_cur = static_cast<rlim_t>(lowest) + count;
    ::setrlimit(RLIMIT_NOFILE, &low);
    const int code = save();
    ::setrlimit(RLIMIT_NOFILE, &saved);
    return code;
}

// Saving asks the file system, as the ordinary user, what it allows, and keeps what the file is:
// its owner, group, mode and links. Every row starts in a fresh folder of the ordinary user and,
// but where it says otherwise, runs as that user.
TEST(SavingTextFiles, TheFileSystemDecidesAndTheFileStaysWhatItWas) {
    const OrdinaryUser user = TheOrdinaryUser();
    using Folder = OrdinaryUserFolder;
    struct Row {
        const char* name;
        std::function<std::string(const Folder&)> run;
        const char* expected;
        bool asSuiteUser = false;
        std::function<void(const Folder&)> prepare = {}; // by the suite's user, before the row
    };
    const Row rows[] = {
        {"a read-only file is refused and stays as it was",
         [](const Folder& f) {
             PutFile(f / "a.frm", "old", 0444);
             return Left(SaveLine(f / "a.frm"), f / "a.frm");
         },
         "5 old 444 [a.frm]"},
        {"a folder that takes no new file: the file is written in place",
         [](const Folder& f) {
             PutFile(f / "a.frm", "old", 0644);
             struct stat before {};
             ::stat((f / "a.frm").c_str(), &before);
             ::chmod(f.path().c_str(), 0555);
             const int code = SaveLine(f / "a.frm");
             ::chmod(f.path().c_str(), 0755);
             struct stat after {};
             ::stat((f / "a.frm").c_str(), &after);
             return Left(code, f / "a.frm") + (after.st_ino == before.st_ino ? " same" : " other");
         },
         "0 new\r\n 644 [a.frm] same"},
        {"a group of the user other than the primary one stays",
         [&user](const Folder& f) {
             PutFile(f / "a.frm", "old", 0640);
             ::chown((f / "a.frm").c_str(), static_cast<uid_t>(-1), user.otherGroup);
             const int code = SaveLine(f / "a.frm");
             struct stat info {};
             ::stat((f / "a.frm").c_str(), &info);
             return Left(code, f / "a.frm") + (info.st_gid == user.otherGroup ? " kept" : " lost");
         },
         "0 new\r\n 640 [a.frm] kept"},
        {"the suite's user (root in CI) saves the ordinary user's file: owner and group stay",
         [&user](const Folder& f) {
             PutFile(f / "a.frm", "old", 0604);
             ::chown((f / "a.frm").c_str(), user.uid, user.otherGroup);
             const int code = SaveLine(f / "a.frm");
             struct stat info {};
             ::stat((f / "a.frm").c_str(), &info);
             const bool kept = info.st_uid == user.uid && info.st_gid == user.otherGroup;
             return Left(code, f / "a.frm") + (kept ? " kept" : " lost");
         },
         "0 new\r\n 604 [a.frm] kept", true},
        // Another user's file (root's, in CI) that this user may write: a replacement would
        // become this user's, so it is written in place.
        {"another owner's file that the user may write: the owner stays",
         [](const Folder& f) {
             struct stat before {};
             ::stat((f / "a.frm").c_str(), &before);
             const int code = SaveLine(f / "a.frm");
             struct stat after {};
             ::stat((f / "a.frm").c_str(), &after);
             return Left(code, f / "a.frm") + (after.st_uid == before.st_uid ? " kept" : " lost");
         },
         "0 new\r\n 664 [a.frm] kept", false,
         [&user](const Folder& f) {
             PutFile(f / "a.frm", "old", 0664);
             ::chown((f / "a.frm").c_str(), static_cast<uid_t>(-1), user.otherGroup);
         }},
        // Opening a pipe for writing would wait for a reader for ever.
        {"a pipe without a reader is refused at once",
         [](const Folder& f) {
             ::mkfifo((f / "p.frm").c_str(), 0644);
             return std::to_string(SaveLine(f / "p.frm"));
         },
         "6"},
        {"two hard links stay one file",
         [](const Folder& f) {
             PutFile(f / "a.frm", "old", 0644);
             ::link((f / "a.frm").c_str(), (f / "b.frm").c_str());
             const int code = SaveLine(f / "a.frm");
             return Left(code, f / "a.frm") + " b.frm: " + Left(0, f / "b.frm");
         },
         "0 new\r\n 644 [a.frm b.frm] b.frm: 0 new\r\n 644 [a.frm b.frm]"},
        {"a new file gets what the file-creation mask leaves of 0666",
         [](const Folder& f) {
             ::umask(027);
             return Left(SaveLine(f / "n.frm"), f / "n.frm");
         },
         "0 new\r\n 640 [n.frm]"},
        {"a link to nothing yet: the file it names is made, the link stays",
         [](const Folder& f) {
             ::umask(022);
             ::symlink("n.frm", (f / "l.frm").c_str());
             const int code = SaveLine(f / "l.frm");
             return Left(code, f / "n.frm") + (fs::is_symlink(f / "l.frm") ? " link" : " file");
         },
         "0 new\r\n 644 [l.frm n.frm] link"},
        {"the rename fails, the file having become a folder: folder kept, no temporary",
         [](const Folder& f) {
             PutFile(f / "a.frm", "old", 0644);
             const int code = SaveLine(f / "a.frm", [&f](TextFile&) {
                 ::unlink((f / "a.frm").c_str());
                 ::mkdir((f / "a.frm").c_str(), 0755);
                 PutFile(f / "a.frm/old.frm", "old", 0644);
             });
             return Left(code, f / "a.frm") + " " + Left(0, f / "a.frm/old.frm");
         },
         "5 (folder) 755 [a.frm] 0 old 644 [old.frm]"},
        {"the rename fails, the temporary being gone: the old file stays",
         [](const Folder& f) {
             PutFile(f / "a.frm", "old", 0644);
             const int code = SaveLine(
                 f / "a.frm", [](TextFile& file) { ::unlink(file.temporaryName.c_str()); });
             return Left(code, f / "a.frm");
         },
         "2 old 644 [a.frm]"},
        {"no descriptor left: refused, nothing leaked",
         [](const Folder& f) {
             PutFile(f / "a.frm", "old", 0644);
             const int before = OpenDescriptors();
             const int code = WithDescriptorsLeft(0, [&f] { return SaveLine(f / "a.frm"); });
             return Left(code, f / "a.frm") + (OpenDescriptors() == before ? "" : " leaked");
         },
         "4 old 644 [a.frm]"},
        // The file opens, its temporary cannot: writing in place instead would cut the file
        // short whenever the writing itself then failed.
        {"one descriptor left: refused, the file untouched, nothing leaked",
         [](const Folder& f) {
             PutFile(f / "a.frm", "old", 0644);
             const int before = OpenDescriptors();
             const int code = WithDescriptorsLeft(1, [&f] { return SaveLine(f / "a.frm"); });
             return Left(code, f / "a.frm") + (OpenDescriptors() == before ? "" : " leaked");
         },
         "4 old 644 [a.frm]"},
    };
    for (const Row& row : rows) {
        const Folder folder;
        ASSERT_FALSE(folder.path().empty());
        if (row.prepare) {
            row.prepare(folder);
        }
        const auto run = [&] { return row.run(folder); };
        EXPECT_EQ(row.asSuiteUser ? run() : AsOrdinaryUser(run), row.expected) << row.name;
    }
}

// The temporary of a save is a new file: whatever another user has put under its name, a
// symbolic link above all, makes the creation fail and is neither followed nor changed.
TEST_F(TextFileTest, ATemporaryIsNeverMadeThroughWhatIsThere) {
    const std::string victim = Put("victim.frm", "mine");
    ASSERT_EQ(::symlink(victim.c_str(), PathOf("to-victim").c_str()), 0);
    ASSERT_EQ(::symlink(PathOf("not-yet").c_str(), PathOf("to-nothing").c_str()), 0);
    Put("taken", "x");
    for (const char* planted : {"to-victim", "to-nothing", "taken"}) {
        errno = 0;
        EXPECT_EQ(CreateExclusive(PathOf(planted)), -1) << planted;
        EXPECT_EQ(errno, EEXIST) << planted;
    }
    EXPECT_EQ(Contents(victim), "mine");
    EXPECT_FALSE(fs::exists(PathOf("not-yet")));

    // Free names: hidden, beside the target (so the rename stays on its file system), different
    // each time, and for the owner alone.
    std::string first;
    std::string second;
    const int a = CreateTemporaryBeside(PathOf("a.frm"), first);
    const int b = CreateTemporaryBeside(PathOf("a.frm"), second);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(fs::path(first).parent_path(), m_folder);
    EXPECT_EQ(fs::path(first).filename().string().front(), '.');
    struct stat info {};
    ::fstat(a, &info);
    EXPECT_EQ(info.st_mode & 0777, 0600U);
    ::close(a);
    ::close(b);
}

} // namespace
