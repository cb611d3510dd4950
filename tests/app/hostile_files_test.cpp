// The formula file commands fed hostile files: empty, huge (10 MB on one line), binary, with
// Ctrl-Z, with other line ends, unreadable, a folder, a full disk, a device that never ends,
// and a file that vanishes between the dialog and the open. Each command loads what there is or
// shows the error box, keeps the memos when it fails, and the next calculation works.

#include "HostileFixture.h"

#include "AsOrdinaryUser.h"
#include "CalculatorState.h"
#include "FormulaFile.h"
#include "Program.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include <cstdio>
#include <functional>

#include <unistd.h>

namespace {

class HostileFilesTest : public HostileTest {
protected:
    void SetUp() override {
        HostileTest::SetUp();
        Memo1()->setPlainText(QStringLiteral("memo formula;"));
        Memo2()->setPlainText(QStringLiteral("memo comment"));
    }
    // "Прочесть из файла" with `path` chosen in the dialog; the boxes it showed.
    std::vector<std::string> Load(const std::string& path) {
        toolkit.fileAnswers = {path};
        const std::size_t mark = Mark();
        Menu("N3");
        return ShownSince(mark);
    }
    std::vector<std::string> Save(const std::string& path) {
        toolkit.fileAnswers = {path};
        const std::size_t mark = Mark();
        Menu("N4");
        return ShownSince(mark);
    }
    QString Utf8(const std::string& cp) const { return QString::fromStdString(fromCp1251(cp)); }
    // The boxes a command showed, then what the memos hold; run as an ordinary user in a child
    // process when the row needs one.
    std::string Attempt(bool asOrdinaryUser,
                        const std::function<std::vector<std::string>()>& command) {
        const auto attempt = [&] {
            std::string seen;
            for (const std::string& box : command()) {
                seen += box + " | ";
            }
            return seen + Memo1()->toPlainText().toStdString() + " | " +
                   Memo2()->toPlainText().toStdString();
        };
        return asOrdinaryUser ? AsOrdinaryUser(attempt) : attempt();
    }
};

TEST_F(HostileFilesTest, OddFilesLoadWhatTheyHold) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 7919 + 13) % 256);
    }
    // As long a line as the memo takes, the most that the calculation handles.
    const std::string longest(65535, '7');
    const struct {
        const char* name;
        std::string bytes;
        QString formula;
        QString comment;
    } rows[] = {
        {"empty", "", QStringLiteral("Пусто"), QStringLiteral("Пусто")},
        {"Ctrl-Z",
         "1/3;\r\nnote\x1A"
         "after the end\r\n",
         QStringLiteral("1/3;"), QStringLiteral("note")},
        {"Ctrl-Z first",
         "\x1A"
         "1/3;\r\n",
         QStringLiteral("Пусто"), QStringLiteral("Пусто")},
        {"LF only", "1/3;\nnote\nmore\n", QStringLiteral("1/3;"), QStringLiteral("note\nmore")},
        {"lone CR", "1/3;\rnote\r", QStringLiteral("1/3;note"), QStringLiteral("Пусто")},
        {"no line end", "1/3;", QStringLiteral("1/3;"), QStringLiteral("Пусто")},
        {"longest line", longest, QString::fromStdString(longest), QStringLiteral("Пусто")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = Path(std::string(row.name) + ".frm");
        WriteBytes(path, row.bytes);
        EXPECT_EQ(Load(path), std::vector<std::string>{});
        EXPECT_EQ(Memo1()->toPlainText(), row.formula);
        EXPECT_EQ(Memo2()->toPlainText(), row.comment);
        ExpectNextCalculationWorks();
    }

    // Too large for the memos: refused before the memos change (a line this long would take
    // the shown memo minutes to lay out).
    const std::string tooLong = std::string(65536, '7') + "\r\n";
    const std::string tenMegabytes(10 << 20, '7');
    const std::string manyLines = std::string("1;\r\n") + std::string(200000, '\n');
    for (const std::string* bytes : {&tooLong, &tenMegabytes, &manyLines}) {
        SCOPED_TRACE(bytes->size());
        Memo1()->setPlainText(QStringLiteral("memo formula;"));
        Memo2()->setPlainText(QStringLiteral("memo comment"));
        const std::string path = Path("large.frm");
        WriteBytes(path, *bytes);
        EXPECT_EQ(Load(path), std::vector<std::string>{"error: Файл слишком велик для формулы."});
        EXPECT_EQ(Memo1()->toPlainText(), QStringLiteral("memo formula;"));
        EXPECT_EQ(Memo2()->toPlainText(), QStringLiteral("memo comment"));
        ExpectNextCalculationWorks();
    }

    // Binary: everything up to the first Ctrl-Z, NULs and upper bytes included, arrives in the
    // memos and is saved back unchanged (but for the control characters, blanked).
    SCOPED_TRACE("binary");
    const std::string path = Path("binary.frm");
    WriteBytes(path, binary);
    EXPECT_EQ(Load(path), std::vector<std::string>{});
    const std::size_t end = binary.find('\x1A');
    // The first line, without its CRs (lone or before the LF).
    std::string formula = binary.substr(0, end);
    formula = formula.substr(0, formula.find('\n'));
    std::erase(formula, '\r');
    EXPECT_EQ(FromQtLines(Memo1()->document()->toRawText()), formula);
    const std::string copy = Path("copy.frm");
    EXPECT_EQ(Save(copy), std::vector<std::string>{});
    EXPECT_EQ(ReadBytes(copy).substr(0, formula.size()), BlankControlCharacters(formula));
    ExpectNextCalculationWorks();
}

TEST_F(HostileFilesTest, TheFileNamedAtStartUpLoadsAsTheMenuLoadsIt) {
    const std::string good = Path("good.frm");
    WriteBytes(good, "1/3;\r\nthird\r\n");
    const std::string second = Path("second.frm");
    WriteBytes(second, "2;\r\n");
    // The name as the file system holds it (UTF-8 bytes), not converted on the way.
    const std::string russian = Path("формула.frm");
    WriteBytes(russian, "x^2;\r\n\xEA\xE2\xE0\xE4\xF0\xE0\xF2\r\n"); // "квадрат" in 1251
    const std::string folder = Path("folder.frm");
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(folder)));
    const std::string large = Path("large.frm");
    WriteBytes(large, std::string(65536, '7') + "\r\n");

    const struct {
        const char* name;
        std::vector<std::string> arguments; // after the program's name
        std::vector<std::string> shown;
        QString formula;
        QString comment;
    } rows[] = {
        {"no argument", {}, {}, QString(), QString()},
        {"a formula file", {good}, {}, QStringLiteral("1/3;"), QStringLiteral("third")},
        {"only the first of two",
         {good, second},
         {},
         QStringLiteral("1/3;"),
         QStringLiteral("third")},
        {"a Russian name", {russian}, {}, QStringLiteral("x^2;"), QStringLiteral("квадрат")},
        {"a missing file", {Path("missing.frm")}, {"error: File not found."}, QString(), QString()},
        {"a folder", {folder}, {"error: File access denied."}, QString(), QString()},
        {"too large for the memos",
         {large},
         {"error: Файл слишком велик для формулы."},
         QString(),
         QString()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // A window as start-up creates it: empty memos.
        Memo1()->clear();
        Memo2()->clear();
        std::vector<std::string> argvText = {"Zorvo_3"};
        argvText.insert(argvText.end(), row.arguments.begin(), row.arguments.end());
        std::vector<char*> argv;
        for (std::string& text : argvText) {
            argv.push_back(text.data());
        }
        argv.push_back(nullptr);

        const std::size_t mark = Mark();
        LoadFormulaFileArgument(*calculator, static_cast<int>(argvText.size()), argv.data());
        EXPECT_EQ(ShownSince(mark), row.shown);
        EXPECT_EQ(Memo1()->toPlainText(), row.formula);
        EXPECT_EQ(Memo2()->toPlainText(), row.comment);
        ExpectNextCalculationWorks();
    }
}

TEST_F(HostileFilesTest, FilesThatCannotBeReadShowTheErrorAndKeepTheMemos) {
    const std::string folder = Path("folder.frm");
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(folder)));
    // Unreadable only to an ordinary user, whose folder this is; root reads everything.
    const OrdinaryUserFolder own;
    ASSERT_FALSE(own.path().empty());
    const std::string locked = own / "locked.frm";
    WriteBytes(locked, "1;\r\n");
    QFile::setPermissions(QString::fromStdString(locked), QFileDevice::Permissions());
    const std::string vanished = Path("vanished.frm");
    WriteBytes(vanished, "1;\r\n");
    const std::string device = Path("device.frm");
    ASSERT_EQ(symlink("/dev/full", device.c_str()), 0);
    const std::string zeros = Path("zeros.frm");
    ASSERT_EQ(symlink("/dev/zero", zeros.c_str()), 0);

    const struct {
        const char* name;
        std::string path;
        std::string error;
        bool asOrdinaryUser;
    } rows[] = {
        {"a folder", folder, "error: File access denied.", false},
        {"unreadable", locked, "error: File access denied.", true},
        {"vanished", vanished, "error: File not found.", false},
        {"missing folder", Path("gone/x.frm"), "error: Invalid filename.", false},
        // A device that never reaches its end would be read without end.
        {"endless device", device, "error: File access denied.", false},
        {"endless zeros", zeros, "error: File access denied.", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.path == vanished) {
            // Gone between the dialog and the open.
            std::remove(vanished.c_str());
        }
        EXPECT_EQ(Attempt(row.asOrdinaryUser, [&] { return Load(row.path); }),
                  row.error + " | memo formula; | memo comment");
        ExpectNextCalculationWorks();
        Memo1()->setPlainText(QStringLiteral("memo formula;"));
        Memo2()->setPlainText(QStringLiteral("memo comment"));
    }
}

TEST_F(HostileFilesTest, SavingWhereItCannotShowsTheErrorAndLosesNothing) {
    const std::string full = Path("full.frm");
    ASSERT_EQ(symlink("/dev/full", full.c_str()), 0);
    const std::string folder = Path("folder.frm");
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(folder)));
    const std::string keep = Path("keep.frm");
    WriteBytes(keep, "old;\r\nold comment\r\n");
    // The ordinary user's own folder, closed to new files (which do not bind root).
    const OrdinaryUserFolder lockedFolder;
    ASSERT_FALSE(lockedFolder.path().empty());
    WriteBytes(lockedFolder / "keep.frm", "old;\r\n");
    QFile::setPermissions(QString::fromStdString(lockedFolder.path()),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                              QFileDevice::ExeOther);

    const struct {
        const char* name;
        std::string path;
        std::string error;
        bool asOrdinaryUser;
    } rows[] = {
        {"a full disk", full, "error: Disk full.", false},
        {"a folder", folder, "error: File access denied.", false},
        {"a folder that vanished", Path("gone/x.frm"), "error: Invalid filename.", false},
        {"a new file in a folder without write access", lockedFolder / "new.frm",
         "error: File access denied.", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Attempt(row.asOrdinaryUser, [&] { return Save(row.path); }),
                  row.error + " | memo formula; | memo comment");
        ExpectNextCalculationWorks();
        Memo1()->setPlainText(QStringLiteral("memo formula;"));
        Memo2()->setPlainText(QStringLiteral("memo comment"));
    }
    // The link is still a link to the device, the folders and the files in them are untouched.
    EXPECT_EQ(QFile::symLinkTarget(QString::fromStdString(full)), QStringLiteral("/dev/full"));
    EXPECT_TRUE(QFileInfo(QString::fromStdString(folder)).isDir());
    EXPECT_EQ(ReadBytes(lockedFolder / "keep.frm"), "old;\r\n");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(lockedFolder / "new.frm")));
    // A good save still replaces a file after all that.
    EXPECT_EQ(Save(keep), std::vector<std::string>{});
    EXPECT_EQ(ReadBytes(keep), "memo formula;\r\nmemo comment\r\n");
}

} // namespace
