// The default error handling: every kind of exception ends the handler and reaches the error
// box with the "." rule; nothing escapes.

#include "ErrorGuard.h"
#include "AppTestSupport.h"
#include "Cp1251.h"
#include "Exceptions.h"
#include "FloatErrors.h"

#include <cfenv>
#include <functional>

namespace {

class ErrorGuardTest : public AppTest {};

TEST_F(ErrorGuardTest, AppendsAFullStopAfterCharactersAboveIt) {
    struct Row {
        std::string message;
        std::string shown;
    };
    const Row rows[] = {
        {"Disk full", "Disk full."},
        {"I/O error 32", "I/O error 32."},
        {"'abc' is not a valid floating point value", "'abc' is not a valid floating point value."},
        {"Done.", "Done."},
        {"ends with a blank ", "ends with a blank "},
        {"ends with a dash -", "ends with a dash -"},
        {"ends with a slash/", "ends with a slash/."}, // "/" lies just above "."
        {"", ""},
        {cp1251("Ошибка"), cp1251("Ошибка.")},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ErrorBoxText(row.message), row.shown) << row.message;
    }
}

TEST_F(ErrorGuardTest, EveryExceptionReachesTheErrorBox) {
    struct Row {
        const char* what;
        std::function<void()> raise;
        std::string shown;
    };
    const Row rows[] = {
        {"overflow", [] { throw EOverflow(); }, "Floating point overflow."},
        {"zero divide", [] { throw EZeroDivide(); }, "Floating point division by zero."},
        {"invalid", [] { throw EInvalidOp(); }, "Invalid floating point operation."},
        {"convert", [] { throw EConvertError("'x' is not a valid floating point value"); },
         "'x' is not a valid floating point value."},
        {"in/out", [] { throw EInOutError(101, "Disk full"); }, "Disk full."},
        {"std", [] { throw std::length_error("basic_string::_M_create"); },
         "basic_string::_M_create."},
        {"foreign", [] { throw 42; }, "Unknown exception."},
    };
    for (const Row& row : rows) {
        toolkit.calls.clear();
        bool after = false;
        int depthInside = 0;
        RunGuarded(toolkit, [&] {
            depthInside = RunningHandlerDepth();
            row.raise();
            after = true;
        });
        EXPECT_FALSE(after) << row.what;
        // A handler ended by an exception no longer counts as running.
        EXPECT_EQ(depthInside, 1) << row.what;
        EXPECT_EQ(RunningHandlerDepth(), 0) << row.what;
        ASSERT_EQ(toolkit.Errors().size(), 1u) << row.what;
        EXPECT_EQ(toolkit.Errors()[0], row.shown) << row.what;
        EXPECT_TRUE(toolkit.Messages().empty()) << row.what;
    }
}

TEST_F(ErrorGuardTest, AHandlerWithoutErrorsShowsNothing) {
    int runs = 0;
    RunGuarded(toolkit, [&runs] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(toolkit.calls.empty());
}

TEST_F(ErrorGuardTest, TheNextCommandStartsWithCleanFloatingPointFlags) {
    RunGuarded(toolkit, [] {
        std::feraiseexcept(FE_OVERFLOW);
        throw EOverflow();
    });
    EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID), 0);
}

} // namespace
