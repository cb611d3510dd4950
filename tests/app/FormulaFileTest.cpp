// The formula file commands of the calculator window: the bytes written, what is read back,
// the ".frm" rule, "Пусто", and each failure with its message and what it leaves behind.

#include "FormulaFile.h"
#include "AppTestSupport.h"
#include "AsOrdinaryUser.h"
#include "CalculatorState.h"
#include "Cp1251.h"
#include "ErrorGuard.h"
#include "Unit1.h"

#include <QDir>
#include <QPlainTextEdit>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

int openDescriptors() {
    return static_cast<int>(QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size());
}

class FormulaFileTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = std::make_unique<TForm1>(toolkit);
    }
    void TearDown() override {
        form.reset();
        AppTest::TearDown();
    }
    QPlainTextEdit* memo(const char* name) const {
        return form->findChild<QPlainTextEdit*>(QString::fromLatin1(name));
    }
    void setMemos(const QString& formula, const QString& comment) {
        memo("Memo1")->setPlainText(formula);
        memo("Memo2")->setPlainText(comment);
    }
    void save(const std::string& path) {
        toolkit.fileAnswers.push_back(path);
        form->N4Click();
    }
    void load(const std::string& path) {
        toolkit.fileAnswers.push_back(path);
        form->N3Click();
    }
    // The file names in the scratch folder, hidden ones included.
    QStringList files() const {
        return QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    std::string guardedError(void (TForm1::*command)(), const std::string& path) {
        toolkit.fileAnswers.push_back(path);
        toolkit.calls.clear();
        RunGuarded(toolkit, [&] { (form.get()->*command)(); });
        const std::vector<std::string> errors = toolkit.Errors();
        return errors.empty() ? std::string("(no error)") : errors.back();
    }

    std::unique_ptr<TForm1> form;
};

TEST_F(FormulaFileTest, SavesTwoLinesInCodePage1251) {
    struct Row {
        QString formula;
        QString comment;
        std::string bytes;
    };
    const Row rows[] = {
        // Typed with a final Enter and no comment.
        {"1/3;\n", "", "1/3;  \r\n\r\n"},
        {"2*X\n+1;\t", "Парабола", "2*X  +1; \r\n" + cp1251("Парабола") + "\r\n"},
        {"x;", "строка 1\nстрока 2", "x;\r\n" + cp1251("строка 1\r\nстрока 2") + "\r\n"},
        // A character the code page cannot hold becomes "?".
        {"x; // 中", "€ — ok ✓", "x; // ?\r\n" + cp1251("€ — ok ") + "?\r\n"},
    };
    for (const Row& row : rows) {
        setMemos(row.formula, row.comment);
        save(Path("f.frm"));
        EXPECT_EQ(ReadBytes(Path("f.frm")), row.bytes) << row.formula.toStdString();
    }
    EXPECT_EQ(files(), QStringList{"f.frm"}); // nothing left beside it
    EXPECT_TRUE(toolkit.Errors().empty());
    ASSERT_EQ(toolkit.calls.front().kind, ScriptedToolkit::CallKind::SaveFile);
    EXPECT_EQ(fromCp1251(toolkit.calls.front().text), "формулы|*.frm");
    EXPECT_EQ(toolkit.calls.front().defaultExtension, "frm");
}

TEST_F(FormulaFileTest, SaveAppendsFrmUnlessTheNameHasIt) {
    struct Row {
        const char* typed;
        const char* written;
    };
    const Row rows[] = {{"a.txt", "a.txt.frm"},
                        {"A.FRM", "A.FRM.frm"},
                        {"b.frm", "b.frm"},
                        {"c.frm.bak", "c.frm.bak"},
                        {"plain", "plain.frm"}};
    setMemos("1;", "");
    for (const Row& row : rows) {
        save(Path(row.typed));
        EXPECT_EQ(FormulaFileName, Path(row.written)) << row.typed;
        EXPECT_EQ(ReadBytes(Path(row.written)), "1;\r\n\r\n") << row.typed;
    }
}

TEST_F(FormulaFileTest, SaveAndLoadRoundTripTheMemosWhole) {
    const QString formula = "2*SIN(x)^2+1;";
    const QString comments[] = {"", "одна строка", "первая\nвторая\n\nчетвёртая",
                                "с концом строки\n"};
    for (const QString& comment : comments) {
        setMemos(formula, comment);
        save(Path("r.frm"));
        setMemos("", "");
        load(Path("r.frm"));
        EXPECT_EQ(memo("Memo1")->toPlainText(), formula);
        EXPECT_EQ(memo("Memo2")->toPlainText(), comment) << comment.toStdString();
        EXPECT_EQ(FormulaLine, formula.toStdString());
    }
    EXPECT_TRUE(toolkit.Errors().empty());
}

TEST_F(FormulaFileTest, LoadReadsWhatOtherFilesHold) {
    struct Row {
        std::string bytes;
        const char* formula;
        const char* comment;
    };
    const Row rows[] = {
        {"", "Пусто", "Пусто"},
        {"x;", "x;", "Пусто"},
        {"x;\r\n", "x;", "Пусто"},
        {"x;\n\xcf\xf0\xe8\xec\xe5\xf0\n", "x;", "Пример"},
        {"x;\r\n\r\n", "x;", ""},
        {"x;\r\na\r\nb", "x;", "a\nb"},
        {"x;\r\na\x1a garbage", "x;", "a"}, // Ctrl-Z ends the text
        {"1\r2;\r\n", "12;", "Пусто"},      // a lone CR is dropped
    };
    for (const Row& row : rows) {
        WriteBytes(Path("in.frm"), row.bytes);
        load(Path("in.frm"));
        EXPECT_EQ(memo("Memo1")->toPlainText().toStdString(), row.formula) << row.bytes;
        EXPECT_EQ(memo("Memo2")->toPlainText().toStdString(), row.comment) << row.bytes;
    }
    ASSERT_EQ(toolkit.calls.front().kind, ScriptedToolkit::CallKind::OpenFile);
    EXPECT_EQ(fromCp1251(toolkit.calls.front().text), "Формулы|*.frm");
    EXPECT_EQ(toolkit.calls.front().defaultExtension, "*.frm");
    EXPECT_TRUE(toolkit.Errors().empty());
}

TEST_F(FormulaFileTest, CancelledDialogsDoNothing) {
    setMemos("x;", "c");
    form->N4Click();
    form->N3Click();
    EXPECT_TRUE(files().isEmpty());
    EXPECT_EQ(memo("Memo1")->toPlainText(), "x;");
    EXPECT_TRUE(FormulaFileName.empty());
}

TEST_F(FormulaFileTest, LoadFailuresKeepTheMemos) {
    setMemos("keep;", "kept");
    const int descriptorsBefore = openDescriptors();
    // Root reads everything; an unreadable file means something only to an ordinary user.
    const OrdinaryUserFolder folder;
    ASSERT_FALSE(folder.path().empty());
    WriteBytes(folder / "locked.frm", "x;\r\n");
    chmod((folder / "locked.frm").c_str(), 0);
    struct Row {
        std::string path;
        const char* message;
        bool asOrdinaryUser = false;
    };
    const Row rows[] = {
        {Path("missing.frm"), "File not found."},
        {Path("no-folder/x.frm"), "Invalid filename."},
        {scratch.path().toStdString(), "File access denied."},
        {folder / "locked.frm", "File access denied.", true},
    };
    for (const Row& row : rows) {
        // The box shown, then what the memos and the file name hold.
        const auto load = [&] {
            return guardedError(&TForm1::N3Click, row.path) + " | " +
                   memo("Memo1")->toPlainText().toStdString() + " | " +
                   memo("Memo2")->toPlainText().toStdString() + " | " + FormulaFileName;
        };
        EXPECT_EQ(row.asOrdinaryUser ? AsOrdinaryUser(load) : load(),
                  std::string(row.message) + " | keep; | kept | " + row.path);
    }
    EXPECT_EQ(openDescriptors(), descriptorsBefore);
}

TEST_F(FormulaFileTest, SaveFailuresReportAndLeaveNoTrace) {
    setMemos("x;", "c");
    EXPECT_EQ(guardedError(&TForm1::N4Click, Path("no-folder/x.frm")), "Invalid filename.");
    // A device is written in place: a link with the ".frm" name to the always full device.
    ASSERT_EQ(symlink("/dev/full", Path("full.frm").c_str()), 0);
    EXPECT_EQ(guardedError(&TForm1::N4Click, Path("full.frm")), "Disk full.");
    QFile::remove(QString::fromStdString(Path("full.frm")));
    // A name longer than the facility's 259 characters, in folders that exist.
    std::string deep = "d";
    while (Path(deep).size() < 250) {
        deep += "/" + std::string(40, 'd');
    }
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path(deep))));
    EXPECT_EQ(guardedError(&TForm1::N4Click, Path(deep + "/x.frm")), "Invalid filename.");
    EXPECT_TRUE(QDir(QString::fromStdString(Path(deep)))
                    .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QDir(scratch.path()).mkdir("dir.frm");
    EXPECT_EQ(guardedError(&TForm1::N4Click, Path("dir.frm")), "File access denied.");
    EXPECT_EQ(files(), QStringList{});
    // The memos were taken before the failure.
    EXPECT_EQ(FormulaLine, "x;");
    EXPECT_EQ(CommentLine, "c");
}

TEST_F(FormulaFileTest, FailedSaveKeepsTheFileItReplaces) {
    const std::string old = "old;\r\nold comment\r\n";
    WriteBytes(Path("keep.frm"), old);
    // A formula longer than the transfer buffer, so that writing fails half-way: the process
    // may not write files beyond 64 bytes for the moment.
    setMemos(QString(300, 'x') + ";", "new comment");
    const int descriptorsBefore = openDescriptors();
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string error = guardedError(&TForm1::N4Click, Path("keep.frm"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);

    EXPECT_NE(error, "(no error)");
    EXPECT_EQ(ReadBytes(Path("keep.frm")), old);
    EXPECT_EQ(openDescriptors(), descriptorsBefore); // the failed file was released
    EXPECT_EQ(files(), QStringList{"keep.frm"});

    // Without the limit the same save replaces the file and keeps its permissions.
    chmod(Path("keep.frm").c_str(), 0640);
    save(Path("keep.frm"));
    EXPECT_EQ(ReadBytes(Path("keep.frm")), std::string(300, 'x') + ";\r\nnew comment\r\n");
    EXPECT_EQ(QFile::permissions(QString::fromStdString(Path("keep.frm"))) & 0x7777,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser | QFileDevice::ReadGroup);
    EXPECT_EQ(files(), QStringList{"keep.frm"});
}

TEST_F(FormulaFileTest, SaveThroughALinkReplacesWhatItPointsTo) {
    WriteBytes(Path("target.frm"), "old\r\n");
    ASSERT_EQ(symlink(Path("target.frm").c_str(), Path("link.frm").c_str()), 0);
    setMemos("y;", "");
    save(Path("link.frm"));
    EXPECT_EQ(ReadBytes(Path("target.frm")), "y;\r\n\r\n");
    EXPECT_EQ(QFileInfo(QString::fromStdString(Path("link.frm"))).isSymLink(), true);
}

} // namespace
