// The program's own start-up, run as main() runs it: the formula file named on the command
// line is in the calculator window when it is first shown. Runs without the shared test
// main, since the start-up creates the application object itself.

#include "Program.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(StartUp, TheFirstArgumentIsInTheWindowWhenItIsShown) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const std::string file = scratch.path().toStdString() + "/sine.frm";
    std::ofstream(file, std::ios::binary) << "SIN(x);\r\nsine\r\n";
    const std::string other = scratch.path().toStdString() + "/other.frm";
    std::ofstream(other, std::ios::binary) << "COS(x);\r\n";

    const struct {
        const char* name;
        std::vector<std::string> arguments;
    } rows[] = {
        {"the file, then one more", {"Zorvo_3", file, other}},
        // Qt's own options come out before the program looks for its argument.
        {"after a Qt option", {"Zorvo_3", "-platform", "offscreen", file}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> arguments = row.arguments;
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);

        QString formula;
        QString comment;
        bool hiddenUntilThen = false;
        const int result =
            RunProgram(static_cast<int>(arguments.size()), argv.data(), [&](QWidget& window) {
                hiddenUntilThen = !window.isVisible();
                formula = window.findChild<QPlainTextEdit*>("Memo1")->toPlainText();
                comment = window.findChild<QPlainTextEdit*>("Memo2")->toPlainText();
                // Closing the window ends the program.
                QTimer::singleShot(0, &window, [&window] { window.close(); });
            });
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(hiddenUntilThen) << "the hook runs before the window is shown";
        EXPECT_EQ(formula, QStringLiteral("SIN(x);"));
        EXPECT_EQ(comment, QStringLiteral("sine"));
    }
}

} // namespace
