// Which activations of the graph window plot again: sequences of window events and the
// activations that must (1) or must not (0) plot; and the one command at a time they wait for.

#include "ActivationGate.h"
#include "CommandGate.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

// Plays a script on a gate. Letters: 'o' another window of the application activates,
// 'd' the graph window deactivates, 'a' it activates (its verdict is recorded as 1 or 0),
// '(' a quiet period starts, ')' it ends with the window inactive, ']' it ends with the
// window active again.
std::string Play(const std::string& script) {
    ActivationGate gate;
    std::string verdicts;
    for (const char step : script) {
        switch (step) {
        case 'o':
            gate.OtherWindowActivated();
            break;
        case 'd':
            gate.Deactivated();
            break;
        case 'a':
            verdicts += gate.Activated() ? '1' : '0';
            break;
        case '(':
            gate.QuietStarted();
            break;
        case ')':
            gate.QuietFinished(false);
            break;
        case ']':
            gate.QuietFinished(true);
            break;
        default:
            ADD_FAILURE() << "unknown step " << step;
        }
    }
    return verdicts;
}

TEST(ActivationGateTest, PlotsOnlyWhenTheFocusComesBackFromAnotherWindow) {
    struct Row {
        const char* name;
        const char* script;
        const char* verdicts;
    };
    const Row rows[] = {
        {"first showing", "a", "1"},
        {"first showing after the calculator", "oa", "1"},
        {"a box of a command closes",
         "a"
         "do"
         "a",
         "11"},
        {"two boxes of a command, one after the other",
         "a"
         "doa"
         "doa",
         "111"},
        {"another program and back",
         "a"
         "d"
         "a",
         "10"},
        {"plotting box closes while plotting",
         "a("
         "doa"
         "]",
         "10"},
        {"plotting box closes after plotting",
         "a("
         "do"
         ")"
         "a",
         "10"},
        {"the box after the echo plots again",
         "a("
         "do"
         ")"
         "a"
         "doa",
         "101"},
        {"echo never comes, a dialog opens later",
         "a("
         "do"
         ")"
         "o"
         "a",
         "11"},
        {"plotting without a box",
         "a()"
         "doa",
         "11"},
        {"nested quiet periods",
         "a(("
         "do"
         ")"
         "a"
         ")"
         "a",
         "100"},
        {"program switch after a plotting",
         "a("
         "doa"
         "]"
         "da",
         "100"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Play(row.script), row.verdicts) << row.name << ": " << row.script;
    }
}

// The application's one command at a time: a command inside another is refused, work owed
// meanwhile runs after it in order (and may run commands of its own), and a command that
// raises leaves the gate open.
TEST(CommandGateTest, OneCommandAtATimeAndTheOwedWorkAfterIt) {
    CommandGate gate;
    std::string log;
    EXPECT_TRUE(gate.Run([&] {
        log += 'c';
        EXPECT_FALSE(gate.Run([&] { log += '!'; }));
        gate.WhenIdle([&] {
            log += '1';
            EXPECT_TRUE(gate.Run([&] {
                log += 'd';
                gate.WhenIdle([&] { log += '3'; });
            }));
        });
        gate.WhenIdle([&] { log += '2'; });
        log += 'e';
    }));
    EXPECT_EQ(log, "ce1d23");
    EXPECT_FALSE(gate.Running());

    log.clear();
    gate.WhenIdle([&] { log += 'n'; }); // nothing runs: at once
    EXPECT_THROW(gate.Run([] { throw std::runtime_error("raised"); }), std::runtime_error);
    EXPECT_TRUE(gate.Run([&] { log += 'c'; }));
    EXPECT_EQ(log, "nc");
}

} // namespace
